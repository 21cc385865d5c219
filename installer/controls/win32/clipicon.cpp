#include "installer/controls/win32/clipicon.h"

#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"

namespace inst {

UINT IconClipboardFormat() {
    static const UINT format = RegisterClipboardFormatA("Morvix Setup Icon");
    return format;
}

void TClipboardIcon::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE) {
    if (format != IconClipboardFormat() || !data) throw fw::EInvalidGraphic("Unsupported clipboard format");
    const auto* p = static_cast<const uint8_t*>(GlobalLock(data));
    if (!p) throw fw::EInvalidGraphic("Icon image is not valid");
    const std::vector<uint8_t> image(p, p + GlobalSize(data));
    GlobalUnlock(data);
    LoadFromBytes(image);
}

void TClipboardIcon::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) {
    format = IconClipboardFormat();
    palette = nullptr;
    data = nullptr;
    const std::vector<uint8_t> image = SaveToBytes();
    if (image.empty()) return;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, image.size());
    if (!block) throw fw::EOutOfMemory("Out of memory");
    std::memcpy(GlobalLock(block), image.data(), image.size());
    GlobalUnlock(block);
    data = block;
}

void RegisterIconClipboardFormat() {
    fw::Class<TClipboardIcon, fw::TIcon>("TClipboardIcon");
    fw::TPicture::RegisterClipboardFormat(IconClipboardFormat(), {"TClipboardIcon", &fw::NewGraphic<TClipboardIcon>});
}

}  // namespace inst
