// Helpers of the graphics tests (no test cases here).
#include <cstdlib>
#include <cstdio>
#include <filesystem>
#include <sstream>

#include <gtest/gtest.h>

#include "framework/win32/graphics_test_util.h"
#include "framework/win32/platform_win32.h"
#include "testing/test_env.h"
#include "testing/unix_script.h"

namespace gfxtest {

namespace {

// Files go through the platform seams; form text needs the graphics classes.
class GraphicsEnvironment : public ::testing::Environment {
public:
    void SetUp() override {
        fw::InstallWin32Platform();
        fw::RegisterGraphicsClasses();
    }
};

const ::testing::Environment* const environment = ::testing::AddGlobalTestEnvironment(new GraphicsEnvironment);

}  // namespace

std::vector<uint32_t> Rgb(fw::TBitmap& bitmap) {
    fw::BmpImage image = bitmap.ToImage();
    std::vector<uint32_t> out(image.pixels);
    for (uint32_t& p : out) p &= 0xFFFFFF;
    return out;
}

uint32_t RgbAt(fw::TBitmap& bitmap, int x, int y) {
    fw::BmpImage image = bitmap.ToImage();
    return image.Pixel(x, y) & 0xFFFFFF;
}

CaseDir NewCaseDir() {
    CaseDir d;
    d.win = mx::test::FreshDir();
    d.unix = d.win;
    if (d.unix.size() > 2 && (d.unix[0] == 'Z' || d.unix[0] == 'z') && d.unix[1] == ':') d.unix.erase(0, 2);
    for (char& c : d.unix)
        if (c == '\\') c = '/';
    return d;
}

int RunUnix(const CaseDir& d, const std::string& script) { return mx::test::RunUnixScript(d.unix, d.win, script); }

bool PillowPixels(const CaseDir& d, const std::string& file, int& width, int& height, std::vector<uint32_t>& rgb,
                  std::string& error) {
    const std::string script =
        "import sys\n"
        "from PIL import Image\n"
        "im = Image.open(sys.argv[1]).convert('RGB')\n"
        "w, h = im.size\n"
        "print(w, h)\n"
        "for y in range(h):\n"
        "    print(' '.join('%02X%02X%02X' % im.getpixel((x, y)) for x in range(w)))\n";
    mx::test::WriteFile(d.win + "\\pil.py", script);
    const std::string out = file + ".pil.txt";
    int rc = RunUnix(d, "cd '" + d.unix + "' && /usr/bin/python3 pil.py '" + file + "' > '" + out + "' 2> '" + out +
                            ".err'");
    if (rc != 0) {
        error = "/usr/bin/python3 with PIL (package python3-pil) failed: rc " + std::to_string(rc);
        if (std::filesystem::exists(d.win + "\\" + out + ".err")) error += " " + mx::test::ReadFile(d.win + "\\" + out + ".err");
        return false;
    }
    std::istringstream in(mx::test::ReadFile(d.win + "\\" + out));
    if (!(in >> width >> height)) {
        error = "no size from Pillow";
        return false;
    }
    rgb.clear();
    std::string hex;
    while (in >> hex) rgb.push_back(static_cast<uint32_t>(std::stoul(hex, nullptr, 16)));
    if (rgb.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
        error = "Pillow gave " + std::to_string(rgb.size()) + " pixels";
        return false;
    }
    return true;
}

}  // namespace gfxtest
