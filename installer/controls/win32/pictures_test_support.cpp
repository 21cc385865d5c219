#include "installer/controls/win32/pictures_test_support.h"

#include "framework/win32/application.h"
#include "installer/controls/win32/clipicon.h"
#include "installer/controls/win32/kyvgif.h"
#include "testing/test_env.h"

namespace inst::test {

namespace {

// Runs on the Unix side, inside the files' folder; $1 is testdata/make_ani.py.
constexpr const char* kMakePictures = R"(set -e
fx() { size=$1; shift; convert -size $size xc: -channel R -fx 'i/w' -channel G -fx 'j/h' -channel B -fx '(i*j)%7/7' +channel "$@"; }
fx 64x48 -colors 256 c256.gif
convert -size 17x13 xc:white -fill red -draw 'rectangle 2,2 8,8' -fill blue -draw 'circle 12,6 14,8' -transparent white trans.gif
convert -delay 7 -size 20x16 xc:red \( -size 8x6 xc:lime -repage +5+4 \) \( -size 20x16 gradient:blue-yellow \) -loop 0 anim.gif
for c in red lime blue; do convert -size 32x32 xc:$c $c.png; done
icotool -c -b 4 -o i0.ico red.png
icotool -c --cursor -X 3 -Y 5 -b 8 -o c1.cur lime.png
icotool -c -b 1 -o i2.ico blue.png
/usr/bin/python3 "$1" spin.ani --rates 6,12,18,24,30 --seq 0,1,2,1,0 --title Spin --author Me i0.ico c1.cur i2.ico
/usr/bin/python3 "$1" split.ani --rates 6,12,18,24,30 --seq 0,1,2,1,0 --split i0.ico c1.cur i2.ico
)";

}  // namespace

void PicturesTest::SetUp() {
    fw::InitApplication();
    fw::Application->Initialize();
    RegisterGifImage();
    RegisterIconClipboardFormat();
}

void PicturesTest::TearDown() { fw::DoneApplication(); }

const gfxtest::CaseDir& PictureFiles() {
    static const gfxtest::CaseDir dir = [] {
        gfxtest::CaseDir d = gfxtest::NewCaseDir();
        mx::test::WriteFile(d.win + "\\make.sh", kMakePictures);
        const std::string script = mx::test::UnixPathOf(mx::test::SourceDir()) + "/installer/controls/testdata/make_ani.py";
        const int rc = gfxtest::RunUnix(d, "cd '" + d.unix + "' && bash make.sh '" + script + "' > make.log 2>&1");
        EXPECT_EQ(rc, 0) << "ImageMagick (imagemagick), icotool (icoutils) or Python failed: " << mx::test::ReadFile(d.win + "\\make.log");
        return d;
    }();
    return dir;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    const std::string s = mx::test::ReadFile(path);
    return {s.begin(), s.end()};
}

}  // namespace inst::test
