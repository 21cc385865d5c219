#include "sfx/builder/option_writer.h"

#include "sfx/common/sfx_layout.h"

namespace sfx {

namespace {

void PutU16(std::string& out, uint16_t v) {
    out.push_back(static_cast<char>(v & 0xFF));
    out.push_back(static_cast<char>(v >> 8));
}

void PutU32(std::string& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

// The form's fields hold at most 255 characters; a length byte keeps the length modulo 256.
uint8_t LengthByte(const std::string& s) { return static_cast<uint8_t>(s.size() & 0xFF); }

void PutText(std::string& out, const std::string& s) { out.append(s, 0, LengthByte(s)); }

}  // namespace

OptionBytes WriteOptions(SfxSettings& s, bool blockOnly) {
    ReconcileRunSettings(s);

    uint8_t display = 0;
    if (!s.hideRunBox) display |= kShowRunBox;
    if (s.allHilited) display |= kAllHilited;
    if (s.hideOverwrite) display |= kHideOverwrite;
    if (s.overwriteIndex == 1) display |= kOverwriteAlways;
    if (s.overwriteIndex == 2) display |= kOverwriteSkip;

    uint8_t run = 0;
    if (s.useAssociated) run |= kUseAssociated;
    if (s.extractToTemp) run |= kUseTempFolder;
    if (s.sortList) run |= kSortList;

    const uint8_t lengths[4] = {LengthByte(s.caption), LengthByte(s.rootDir), LengthByte(s.program),
                                LengthByte(s.params)};
    OptionBytes out;
    out.blockLength = static_cast<uint16_t>(kBlockHeadSize + lengths[0] + lengths[1] + lengths[2] + lengths[3]);

    if (!blockOnly) {
        PutU32(out.bytes, kConfigFormatHead);
        out.bytes.push_back(static_cast<char>(LengthByte(s.zipPath)));
        PutText(out.bytes, s.zipPath);
        out.bytes.push_back(static_cast<char>(LengthByte(s.outputPath)));
        PutText(out.bytes, s.outputPath);
    }
    out.bytes.append(kBlockSignature, sizeof kBlockSignature);
    PutU16(out.bytes, out.blockLength);
    out.bytes.push_back(static_cast<char>(display));
    out.bytes.push_back(static_cast<char>(run));
    for (uint8_t len : lengths) out.bytes.push_back(static_cast<char>(len));
    PutText(out.bytes, s.caption);
    PutText(out.bytes, s.rootDir);
    PutText(out.bytes, s.program);
    PutText(out.bytes, s.params);
    return out;
}

}  // namespace sfx
