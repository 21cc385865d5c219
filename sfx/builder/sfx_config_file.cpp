#include "sfx/builder/sfx_config_file.h"

#include <fstream>

#include "framework/core/exceptions.h"
#include "sfx/common/sfx_layout.h"
#include "sfx/builder/option_writer.h"

namespace sfx {

namespace {

class Reader {
public:
    explicit Reader(std::ifstream& in) : in_(in) {}
    std::string Bytes(size_t n) {
        std::string s(n, '\0');
        if (n && !in_.read(s.data(), static_cast<std::streamsize>(n))) throw fw::EReadError("Read beyond end of file");
        return s;
    }
    uint8_t Byte() { return static_cast<uint8_t>(Bytes(1)[0]); }
    std::string Text() { return Bytes(Byte()); }

private:
    std::ifstream& in_;
};

}  // namespace

std::string OpenErrorText(const std::string& path) { return path + "\r\rError opening file."; }

std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && static_cast<unsigned char>(s[b]) <= ' ') ++b;
    while (e > b && static_cast<unsigned char>(s[e - 1]) <= ' ') --e;
    return s.substr(b, e - b);
}

std::string ChangeExt(const std::string& name, const std::string& ext) {
    if (name.empty()) return name;
    const size_t sep = name.find_last_of("\\/:");  // Windows takes "/" for "\" as well
    const size_t start = sep == std::string::npos ? 0 : sep + 1;
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot >= start) return name.substr(0, dot + 1) + ext;
    return name + "." + ext;
}

void SaveSfxConfig(const std::string& path, SfxSettings& s) {
    const OptionBytes out = WriteOptions(s, false);
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    if (!f) throw fw::EFCreateError(OpenErrorText(path));
    if (!f.write(out.bytes.data(), static_cast<std::streamsize>(out.bytes.size())) || !f.flush())
        throw fw::EWriteError("Error writing " + path);
    s.ForgetRemembered();
}

uint16_t LoadSfxConfig(const std::string& path, SfxSettings& s) {
    std::ifstream f(path, std::ios::binary);
    if (!f) throw fw::EFOpenError(OpenErrorText(path));
    Reader r(f);
    r.Bytes(4);  // format head, not checked
    s.zipPath = TrimBlanks(r.Text());
    s.outputPath = ChangeExt(TrimBlanks(r.Text()), "exe");

    const std::string head = r.Bytes(5);  // signature and BlockLength, not checked
    const uint16_t blockLength =
        static_cast<uint16_t>(static_cast<uint8_t>(head[3]) | static_cast<uint8_t>(head[4]) << 8);
    const std::string fl = r.Bytes(6);
    const uint8_t display = static_cast<uint8_t>(fl[0]);
    const uint8_t run = static_cast<uint8_t>(fl[1]);

    s.hideRunBox = !(display & kShowRunBox);
    s.allHilited = display & kAllHilited;
    s.hideOverwrite = display & kHideOverwrite;
    s.overwriteIndex = (display & kOverwriteAlways) ? 1 : (display & kOverwriteSkip) ? 2 : 0;
    s.SetUseAssociated(run & kUseAssociated);
    s.SetExtractToTemp(run & kUseTempFolder);
    s.sortList = run & kSortList;

    // The texts come after the boxes, so the file's texts win over what the click handling emptied.
    s.caption = r.Bytes(static_cast<uint8_t>(fl[2]));
    s.rootDir = r.Bytes(static_cast<uint8_t>(fl[3]));
    s.program = r.Bytes(static_cast<uint8_t>(fl[4]));
    s.params = r.Bytes(static_cast<uint8_t>(fl[5]));
    return blockLength;
}

ZipCheck CheckZipFile(const std::string& path) {
    if (path.empty()) return ZipCheck::Empty;
    std::ifstream f(path, std::ios::binary);
    if (!f) return ZipCheck::NotFound;
    char head[4] = {};
    if (!f.read(head, 4) || head[0] != 'P' || head[1] != 'K' || head[2] != 3 || head[3] != 4) return ZipCheck::NotZip;
    return ZipCheck::Ok;
}

std::string ZipCheckMessage(ZipCheck check, const std::string& path) {
    switch (check) {
        case ZipCheck::NotFound: {
            const size_t sep = path.find_last_of("\\/:");
            return (sep == std::string::npos ? path : path.substr(sep + 1)) + " ...not found";
        }
        case ZipCheck::NotZip: return "Not a 'Zip' archive";
        default: return "";
    }
}

}  // namespace sfx
