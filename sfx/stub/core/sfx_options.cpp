#include "sfx/stub/core/sfx_options.h"

#include "sfx/common/sfx_layout.h"

namespace sfx {

bool ReadSfxOptions(StubFile& file, SfxRunOptions& o, TempPathFn tempPath) {
    o = SfxRunOptions{};
    o.archiveStart = SfxStubSize;
    uint8_t head[kBlockHeadSize];
    if (!file.Seek(SfxStubSize) || !ReadExact(file, head, 3)) return true;
    if (head[0] != kBlockSignature[0] || head[1] != kBlockSignature[1] || head[2] != kBlockSignature[2]) return true;
    if (!ReadExact(file, head + 3, kBlockHeadSize - 3)) return false;

    o.archiveStart += static_cast<uint32_t>(head[kOffBlockLength] | head[kOffBlockLength + 1] << 8);
    const uint8_t display = head[kOffDisplayFlags];
    const uint8_t run = head[kOffRunFlags];
    const uint8_t lengths[4] = {head[kOffCaptionLength], head[kOffRootDirLength], head[kOffProgramLength],
                                head[kOffParamsLength]};

    o.showRunBox = display & kShowRunBox;
    o.hideOverwrite = display & kHideOverwrite;
    switch (display & kOverwriteMask) {
        case kOverwriteAlways: o.overwriteChoice = kIdOverwrite; break;
        case kOverwriteSkip: o.overwriteChoice = kIdDontOverwrite; break;
        default: o.overwriteChoice = kIdConfirmOverwrite; break;
    }
    o.useAssociated = run & kUseAssociated;
    o.useTempFolder = run & kUseTempFolder;
    o.sortList = run & kSortList;
    o.hasCaption = lengths[0] > 0;
    o.hasRoot = lengths[1] > 0 && !o.useTempFolder;
    o.hasProgram = lengths[2] > 0 && !o.useAssociated;
    o.hasParams = lengths[3] > 0 && (o.useAssociated || o.hasProgram);

    char* texts[4] = {o.caption, o.rootDir, o.program, o.params};
    bool complete = true;
    for (int i = 0; i < 4 && complete; ++i) {
        if (lengths[i] == 0) continue;
        complete = ReadExact(file, texts[i], lengths[i]);
        texts[i][complete ? lengths[i] : 0] = '\0';
    }
    if (o.useTempFolder && tempPath) {
        const uint32_t n = tempPath(o.rootDir, kTextBufferSize - 1);
        o.hasRoot = n > 0 && n < kTextBufferSize;
        if (!o.hasRoot) o.rootDir[0] = '\0';
    }
    return complete;
}

}  // namespace sfx
