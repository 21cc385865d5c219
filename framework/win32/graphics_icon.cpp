// TIcon: an HICON with the ICO or CUR file image it came from.
#include <algorithm>
#include <cstring>

#include "framework/win32/graphics.h"

namespace fw {

namespace {

uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t Le32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }
void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

//  ICONDIR (6 bytes):      +0 uint16 reserved (0)  +2 uint16 type (1 icon, 2 cursor)  +4 uint16 count
//  ICONDIRENTRY (16 bytes): +0 uint8 width (0 = 256)  +1 uint8 height  +2 uint8 colours  +3 reserved
//                           +4 uint16 planes (cursor: hot spot x)  +6 uint16 bits (cursor: hot spot y)
//                           +8 uint32 size of the image  +12 uint32 offset of the image
struct IconEntry {
    int width = 0;
    int height = 0;
    int bits = 0;
    uint16_t hotX = 0;
    uint16_t hotY = 0;
    uint32_t size = 0;
    uint32_t offset = 0;
};

constexpr const char* kInvalidIcon = "Icon image is not valid";

// The colour depth of an image: its BITMAPINFOHEADER's count, or the directory's when the image is PNG.
int ImageBits(std::span<const uint8_t> file, const IconEntry& e) {
    if (e.size >= 16) {
        const uint32_t headerSize = Le32(&file[e.offset]);
        if (headerSize == 40 || headerSize == 108 || headerSize == 124) return Le16(&file[e.offset + 14]);
    }
    return e.bits;
}

}  // namespace

TIcon::~TIcon() { Clear(); }

void TIcon::Clear() {
    if (handle_) DestroyIcon(handle_);
    handle_ = nullptr;
    image_.clear();
    width_ = height_ = 0;
    cursor_ = false;
}

bool TIcon::Empty() const { return handle_ == nullptr; }

int TIcon::Width() { return width_; }

int TIcon::Height() { return height_; }

void TIcon::SetWidth(int width) {
    if (width != width_) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

void TIcon::SetHeight(int height) {
    if (height != height_) throw EInvalidGraphicOperation("Cannot change the size of an icon");
}

HICON TIcon::Handle() { return handle_; }

void TIcon::SetHandle(HICON icon) {
    if (icon == handle_) return;
    Clear();
    handle_ = icon;
    if (icon) {
        ICONINFO info{};
        if (GetIconInfo(icon, &info)) {
            BITMAP bm{};
            GetObjectA(info.hbmMask, sizeof(bm), &bm);
            width_ = bm.bmWidth;
            height_ = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
            cursor_ = !info.fIcon;
            if (info.hbmColor) DeleteObject(info.hbmColor);
            if (info.hbmMask) DeleteObject(info.hbmMask);
        }
    }
    Changed();
}

HICON TIcon::ReleaseHandle() {
    HICON given = handle_;
    handle_ = nullptr;
    Clear();
    Changed();
    return given;
}

void TIcon::Assign(TPersistent* source) {
    if (!source) {
        Clear();
        Changed();
        return;
    }
    if (auto* i = dynamic_cast<TIcon*>(source)) {
        if (i == this) return;
        if (!i->image_.empty()) {
            LoadFromBytes(i->image_);
        } else {
            HICON copy = i->handle_ ? CopyIcon(i->handle_) : nullptr;
            SetHandle(copy);
        }
        return;
    }
    TGraphic::Assign(source);
}

void TIcon::LoadFromBytes(std::span<const uint8_t> file) {
    if (file.size() < 6 || Le16(&file[0]) != 0) throw EInvalidGraphic(kInvalidIcon);
    const int type = Le16(&file[2]);
    const size_t count = Le16(&file[4]);
    if ((type != 1 && type != 2) || count == 0 || 6 + count * 16 > file.size()) throw EInvalidGraphic(kInvalidIcon);
    std::vector<IconEntry> entries;
    for (size_t i = 0; i < count; ++i) {
        const uint8_t* d = &file[6 + i * 16];
        IconEntry e;
        e.width = d[0] ? d[0] : 256;
        e.height = d[1] ? d[1] : 256;
        e.hotX = Le16(d + 4);
        e.hotY = Le16(d + 6);
        e.bits = type == 1 ? Le16(d + 6) : 0;
        e.size = Le32(d + 8);
        e.offset = Le32(d + 12);
        if (e.size < 8 || e.offset > file.size() || e.size > file.size() - e.offset) throw EInvalidGraphic(kInvalidIcon);
        e.bits = ImageBits(file, e) ? ImageBits(file, e) : e.bits;
        entries.push_back(e);
    }
    // The entry nearest the system's icon size, and of those the deepest.
    const int want = type == 1 ? GetSystemMetrics(SM_CXICON) : GetSystemMetrics(SM_CXCURSOR);
    const IconEntry* best = &entries[0];
    for (const IconEntry& e : entries) {
        int d = std::abs(e.width - want), bd = std::abs(best->width - want);
        if (d < bd || (d == bd && e.bits > best->bits)) best = &e;
    }
    std::vector<uint8_t> resource;
    if (type == 2) {
        Put16(resource, best->hotX);
        Put16(resource, best->hotY);
    }
    resource.insert(resource.end(), file.begin() + best->offset, file.begin() + best->offset + best->size);
    HICON icon = CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()), type == 1, 0x00030000,
                                          best->width, best->height, LR_DEFAULTCOLOR);
    if (!icon) throw EInvalidGraphic(kInvalidIcon);
    std::vector<uint8_t> keep(file.begin(), file.end());
    SetHandle(icon);
    image_ = std::move(keep);
    cursor_ = type == 2;
}

void TIcon::LoadFromStream(TStream& stream) {
    int64_t available = stream.Size() - stream.Position();
    if (available <= 0) throw EInvalidGraphic(kInvalidIcon);
    if (available > (int64_t{64} << 20)) throw EInvalidGraphic(kInvalidIcon);
    std::vector<uint8_t> data(static_cast<size_t>(available));
    stream.ReadBuffer(data.data(), available);
    LoadFromBytes(data);
}

// From the handle: one 32-bit image with its AND mask.
std::vector<uint8_t> TIcon::SaveToBytes() {
    if (!image_.empty()) return image_;
    if (!handle_) return {};
    ICONINFO info{};
    if (!GetIconInfo(handle_, &info)) throw EInvalidGraphic(kInvalidIcon);
    const int w = width_, h = height_;
    const uint32_t hotX = info.xHotspot, hotY = info.yHotspot;
    HDC screen = GetDC(nullptr);
    // Colour pixels (bottom-up, 32 bits); a monochrome icon keeps its XOR half in the mask's lower half.
    std::vector<uint32_t> colour(static_cast<size_t>(w) * static_cast<size_t>(h));
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biCompression = BI_RGB;
    bi.bmiHeader.biBitCount = 32;
    if (info.hbmColor) {
        bi.bmiHeader.biHeight = h;
        GetDIBits(screen, info.hbmColor, 0, static_cast<UINT>(h), colour.data(), &bi, DIB_RGB_COLORS);
    } else {
        std::vector<uint32_t> both(colour.size() * 2);
        bi.bmiHeader.biHeight = 2 * h;
        GetDIBits(screen, info.hbmMask, 0, static_cast<UINT>(2 * h), both.data(), &bi, DIB_RGB_COLORS);
        std::copy_n(both.begin(), colour.size(), colour.begin());  // bottom-up: the lower half comes first
        for (uint32_t& p : colour) p &= 0xFFFFFF;
    }
    // The AND mask, 1 bit, bottom-up.
    const int maskStride = ((w + 31) / 32) * 4;
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[2];
    } mi{};
    mi.header = bi.bmiHeader;
    mi.header.biBitCount = 1;
    mi.header.biHeight = info.hbmColor ? h : 2 * h;
    std::vector<uint8_t> mask(static_cast<size_t>(maskStride) * static_cast<size_t>(mi.header.biHeight));
    GetDIBits(screen, info.hbmMask, 0, static_cast<UINT>(mi.header.biHeight), mask.data(),
              reinterpret_cast<BITMAPINFO*>(&mi), DIB_RGB_COLORS);
    if (!info.hbmColor) mask.erase(mask.begin(), mask.begin() + static_cast<ptrdiff_t>(maskStride) * h);  // the AND half is the top one, last bottom-up
    ReleaseDC(nullptr, screen);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);

    std::vector<uint8_t> image;
    Put32(image, 40);
    Put32(image, static_cast<uint32_t>(w));
    Put32(image, static_cast<uint32_t>(2 * h));
    Put16(image, 1);
    Put16(image, 32);
    Put32(image, BI_RGB);
    Put32(image, static_cast<uint32_t>(colour.size() * 4 + mask.size()));
    for (int i = 0; i < 4; ++i) Put32(image, 0);
    for (uint32_t p : colour) Put32(image, p);
    image.insert(image.end(), mask.begin(), mask.end());

    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, cursor_ ? 2 : 1);
    Put16(file, 1);
    file.push_back(static_cast<uint8_t>(w >= 256 ? 0 : w));
    file.push_back(static_cast<uint8_t>(h >= 256 ? 0 : h));
    file.push_back(0);
    file.push_back(0);
    // A cursor's entry holds its hot spot where an icon's holds planes and depth.
    Put16(file, cursor_ ? hotX : 1);
    Put16(file, cursor_ ? hotY : 32);
    Put32(file, static_cast<uint32_t>(image.size()));
    Put32(file, 22);
    file.insert(file.end(), image.begin(), image.end());
    return file;
}

void TIcon::SaveToStream(TStream& stream) {
    std::vector<uint8_t> data = SaveToBytes();
    if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

namespace {

HICON LoadIconResource(HINSTANCE instance, LPCSTR name, const std::string& shown) {
    HICON icon = static_cast<HICON>(LoadImageA(instance, name, IMAGE_ICON, 0, 0, LR_DEFAULTCOLOR));
    if (!icon) throw EInvalidGraphic("Resource " + shown + " not found");
    return icon;
}

}  // namespace

void TIcon::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    SetHandle(LoadIconResource(instance, name.c_str(), name));
}

void TIcon::LoadFromResourceID(HINSTANCE instance, int id) {
    SetHandle(LoadIconResource(instance, MAKEINTRESOURCEA(id), std::to_string(id)));
}

void TIcon::Draw(TCanvas& canvas, const TRect& r) {
    if (!handle_) return;
    DrawIconEx(canvas.Handle(), r.Left, r.Top, handle_, r.Width(), r.Height(), 0, nullptr, DI_NORMAL);
}

}  // namespace fw
