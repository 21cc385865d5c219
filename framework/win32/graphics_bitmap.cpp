// TBitmap: a DIB section or a device bitmap, its memory-DC canvas, and BMP streams through the
// portable codec.
#include <algorithm>
#include <cstring>

#include "framework/win32/graphics.h"

namespace fw {

namespace {

int BitsOf(TPixelFormat f) {
    switch (f) {
        case TPixelFormat::pf1bit: return 1;
        case TPixelFormat::pf4bit: return 4;
        case TPixelFormat::pf8bit: return 8;
        case TPixelFormat::pf15bit:
        case TPixelFormat::pf16bit: return 16;
        case TPixelFormat::pf24bit: return 24;
        case TPixelFormat::pf32bit: return 32;
        default: return 0;
    }
}

int Stride(int width, int bpp) { return ((width * bpp + 31) / 32) * 4; }

RGBQUAD Quad(uint32_t rgb) {
    RGBQUAD q{};
    q.rgbRed = static_cast<BYTE>(rgb >> 16);
    q.rgbGreen = static_cast<BYTE>(rgb >> 8);
    q.rgbBlue = static_cast<BYTE>(rgb);
    return q;
}

uint32_t FromQuad(const RGBQUAD& q) {
    return (uint32_t{q.rgbRed} << 16) | (uint32_t{q.rgbGreen} << 8) | q.rgbBlue;
}

// The colours a palette format gets when the picture brings none: black and white; the 16 VGA colours;
// those 16, a 6x6x6 cube and grey steps for 256.
std::vector<RGBQUAD> StandardColors(int bpp) {
    static constexpr uint32_t kVga[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                          0x008080, 0x808080, 0xC0C0C0, 0xFF0000, 0x00FF00, 0xFFFF00,
                                          0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
    std::vector<RGBQUAD> colors;
    if (bpp == 1) {
        colors = {Quad(0x000000), Quad(0xFFFFFF)};
    } else if (bpp == 4) {
        for (uint32_t c : kVga) colors.push_back(Quad(c));
    } else if (bpp == 8) {
        for (uint32_t c : kVga) colors.push_back(Quad(c));
        for (int r = 0; r < 6; ++r)
            for (int g = 0; g < 6; ++g)
                for (int b = 0; b < 6; ++b)
                    colors.push_back(Quad((uint32_t(r * 51) << 16) | (uint32_t(g * 51) << 8) | uint32_t(b * 51)));
        for (int i = 0; colors.size() < 256; ++i) {
            uint32_t v = static_cast<uint32_t>(8 + i * 10) & 0xFF;
            colors.push_back(Quad((v << 16) | (v << 8) | v));
        }
    }
    return colors;
}

struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

HBITMAP CreateDib(int width, int height, TPixelFormat format, const std::vector<RGBQUAD>& colors, void** bits) {
    DibInfo info{};
    info.header.biSize = sizeof(BITMAPINFOHEADER);
    info.header.biWidth = width;
    info.header.biHeight = height;  // bottom-up, as BMP files
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(BitsOf(format));
    info.header.biCompression = BI_RGB;
    if (format == TPixelFormat::pf16bit) {
        info.header.biCompression = BI_BITFIELDS;
        auto* masks = reinterpret_cast<DWORD*>(info.colors);
        masks[0] = 0xF800;
        masks[1] = 0x07E0;
        masks[2] = 0x001F;
    } else if (info.header.biBitCount <= 8) {
        size_t n = std::min<size_t>(colors.size(), size_t{1} << info.header.biBitCount);
        info.header.biClrUsed = static_cast<DWORD>(n);
        std::copy_n(colors.begin(), n, info.colors);
    }
    void* p = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &p, nullptr, 0);
    if (!bitmap) throw EOutOfResources("Out of system resources");
    if (bits) *bits = p;
    return bitmap;
}

HBITMAP CreateDdb(int width, int height, bool monochrome) {
    HBITMAP bitmap;
    if (monochrome) {
        bitmap = CreateBitmap(width, height, 1, 1, nullptr);
    } else {
        HDC screen = GetDC(nullptr);
        bitmap = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
    }
    if (!bitmap) throw EOutOfResources("Out of system resources");
    return bitmap;
}

bool GetDib(HBITMAP bitmap, DIBSECTION& ds) {
    return bitmap && GetObjectA(bitmap, sizeof(ds), &ds) == sizeof(ds) && ds.dsBm.bmBits != nullptr;
}

std::vector<RGBQUAD> ColorTableOf(HBITMAP dib) {
    std::vector<RGBQUAD> colors(256);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, dib);
    UINT n = GetDIBColorTable(dc, 0, 256, colors.data());
    SelectObject(dc, old);
    DeleteDC(dc);
    colors.resize(n);
    return colors;
}

// Copies `from` into `to` at the origin, through two memory DCs.
void Blit(HBITMAP to, HBITMAP from, int width, int height) {
    HDC dst = CreateCompatibleDC(nullptr);
    HDC src = CreateCompatibleDC(nullptr);
    HGDIOBJ oldDst = SelectObject(dst, to);
    HGDIOBJ oldSrc = SelectObject(src, from);
    BitBlt(dst, 0, 0, width, height, src, 0, 0, SRCCOPY);
    SelectObject(src, oldSrc);
    SelectObject(dst, oldDst);
    DeleteDC(src);
    DeleteDC(dst);
}

void FillWhite(HBITMAP bitmap, int width, int height) {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    RECT r{0, 0, width, height};
    ::FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SelectObject(dc, old);
    DeleteDC(dc);
}

HPALETTE PaletteFrom(const std::vector<RGBQUAD>& colors) {
    if (colors.empty()) return nullptr;
    std::vector<uint8_t> buffer(sizeof(LOGPALETTE) + colors.size() * sizeof(PALETTEENTRY));
    auto* lp = reinterpret_cast<LOGPALETTE*>(buffer.data());
    lp->palVersion = 0x300;
    lp->palNumEntries = static_cast<WORD>(colors.size());
    for (size_t i = 0; i < colors.size(); ++i)
        lp->palPalEntry[i] = {colors[i].rgbRed, colors[i].rgbGreen, colors[i].rgbBlue, 0};
    return CreatePalette(lp);
}

TPixelFormat DeviceDibFormat() {
    HDC screen = GetDC(nullptr);
    int bpp = GetDeviceCaps(screen, BITSPIXEL) * GetDeviceCaps(screen, PLANES);
    ReleaseDC(nullptr, screen);
    switch (bpp) {
        case 1: return TPixelFormat::pf1bit;
        case 4: return TPixelFormat::pf4bit;
        case 8: return TPixelFormat::pf8bit;
        case 16: return TPixelFormat::pf16bit;
        case 24: return TPixelFormat::pf24bit;
        default: return TPixelFormat::pf32bit;
    }
}

}  // namespace

// The canvas of a bitmap: a memory DC made on demand with the bitmap (and its palette) selected.
class TBitmapCanvas : public TCanvas {
public:
    explicit TBitmapCanvas(TBitmap* bitmap) : bitmap_(bitmap) {}
    ~TBitmapCanvas() override { FreeContext(); }

    void FreeContext() {
        if (!memDC_) return;
        // The next DC continues where this one's pen was.
        POINT p{};
        if (GetCurrentPositionEx(memDC_, &p)) penPos_ = p;
        SetHandle(nullptr);
        if (oldBitmap_) SelectObject(memDC_, oldBitmap_);
        if (oldPalette_) SelectPalette(memDC_, oldPalette_, TRUE);
        DeleteDC(memDC_);
        memDC_ = nullptr;
        oldBitmap_ = nullptr;
        oldPalette_ = nullptr;
    }

protected:
    void CreateHandle() override {
        HDC dc = CreateCompatibleDC(nullptr);
        if (!dc) throw EOutOfResources("Out of system resources");
        if (bitmap_->handle_) oldBitmap_ = SelectObject(dc, bitmap_->handle_);
        if (HPALETTE pal = bitmap_->palette_) {
            oldPalette_ = SelectPalette(dc, pal, TRUE);
            RealizePalette(dc);
        }
        MoveToEx(dc, penPos_.x, penPos_.y, nullptr);
        memDC_ = dc;
        SetHandle(dc);
    }
    void Changed() override {
        TCanvas::Changed();
        bitmap_->Changed();
    }

private:
    TBitmap* bitmap_;
    HDC memDC_ = nullptr;
    POINT penPos_{};
    HGDIOBJ oldBitmap_ = nullptr;
    HPALETTE oldPalette_ = nullptr;
};

TBitmap::TBitmap() = default;

TBitmap::~TBitmap() {
    FreeContext();
    canvas_.reset();
    DestroyImage();
}

void TBitmap::FreeContext() {
    if (canvas_) static_cast<TBitmapCanvas*>(canvas_.get())->FreeContext();
}

void TBitmap::DestroyImage() {
    FreeContext();
    if (handle_) DeleteObject(handle_);
    if (palette_) DeleteObject(palette_);
    if (mask_) DeleteObject(mask_);
    handle_ = nullptr;
    palette_ = nullptr;
    mask_ = nullptr;
}

void TBitmap::Changed() {
    if (mask_) {
        DeleteObject(mask_);
        mask_ = nullptr;
    }
    TGraphic::Changed();
}

// Replaces the picture with `bitmap` (owned from now on) and reads its size and format from it.
void TBitmap::Adopt(HBITMAP bitmap, HPALETTE palette, bool keepPalette) {
    FreeContext();
    if (handle_ && handle_ != bitmap) DeleteObject(handle_);
    if (mask_) DeleteObject(mask_);
    mask_ = nullptr;
    handle_ = bitmap;
    rawBits_ = true;  // SetHandle says otherwise for a bitmap made elsewhere
    if (!keepPalette) {
        if (palette_ && palette_ != palette) DeleteObject(palette_);
        palette_ = palette;
    }
    ReadImageInfo();
}

void TBitmap::ReadImageInfo() {
    width_ = height_ = 0;
    if (!handle_) return;
    DIBSECTION ds{};
    if (GetDib(handle_, ds)) {
        width_ = ds.dsBm.bmWidth;
        height_ = std::abs(ds.dsBmih.biHeight);
        handleType_ = TBitmapHandleType::bmDIB;
        switch (ds.dsBmih.biBitCount) {
            case 1: pixelFormat_ = TPixelFormat::pf1bit; break;
            case 4: pixelFormat_ = TPixelFormat::pf4bit; break;
            case 8: pixelFormat_ = TPixelFormat::pf8bit; break;
            case 16:
                pixelFormat_ = ds.dsBmih.biCompression == BI_BITFIELDS && ds.dsBitfields[1] == 0x07E0
                                   ? TPixelFormat::pf16bit
                                   : TPixelFormat::pf15bit;
                break;
            case 24: pixelFormat_ = TPixelFormat::pf24bit; break;
            case 32: pixelFormat_ = TPixelFormat::pf32bit; break;
            default: pixelFormat_ = TPixelFormat::pfCustom; break;
        }
    } else {
        BITMAP bm{};
        if (GetObjectA(handle_, sizeof(bm), &bm) != sizeof(bm)) return;
        width_ = bm.bmWidth;
        height_ = bm.bmHeight;
        handleType_ = TBitmapHandleType::bmDDB;
        pixelFormat_ = bm.bmBitsPixel == 1 && bm.bmPlanes == 1 ? TPixelFormat::pf1bit : TPixelFormat::pfDevice;
    }
}

bool TBitmap::Empty() const { return width_ <= 0 || height_ <= 0 || !handle_; }

TCanvas* TBitmap::Canvas() {
    if (!canvas_) canvas_ = std::make_unique<TBitmapCanvas>(this);
    return canvas_.get();
}

HDC TBitmap::CanvasDC() { return Canvas()->Handle(); }

HBITMAP TBitmap::Handle() {
    // A bitmap lives in one DC at a time: the caller may select it elsewhere.
    FreeContext();
    return handle_;
}

void TBitmap::SetHandle(HBITMAP bitmap) {
    if (bitmap == handle_) return;
    Adopt(bitmap, nullptr, false);
    rawBits_ = false;
    Changed();
}

HBITMAP TBitmap::ReleaseHandle() {
    FreeContext();
    HBITMAP given = handle_;
    if (!given) return nullptr;
    // The caller owns the handle; the bitmap keeps its picture in a copy of its own.
    TPixelFormat format = pixelFormat_;
    HBITMAP copy;
    if (handleType_ == TBitmapHandleType::bmDIB) {
        copy = CreateDib(width_, height_, format, BitsOf(format) <= 8 ? ColorTableOf(given) : std::vector<RGBQUAD>{}, nullptr);
    } else {
        copy = CreateDdb(width_, height_, format == TPixelFormat::pf1bit);
    }
    Blit(copy, given, width_, height_);
    handle_ = copy;
    rawBits_ = true;
    return given;
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(width, 0);
    height = std::max(height, 0);
    if (width == width_ && height == height_ && (handle_ || width == 0 || height == 0)) return;
    FreeContext();
    HBITMAP next = nullptr;
    if (width > 0 && height > 0) {
        TPixelFormat format = pixelFormat_;
        if (handleType_ == TBitmapHandleType::bmDIB && format == TPixelFormat::pfDevice) format = DeviceDibFormat();
        if (format == TPixelFormat::pfCustom) format = TPixelFormat::pf24bit;
        if (handleType_ == TBitmapHandleType::bmDIB) {
            std::vector<RGBQUAD> colors;
            if (BitsOf(format) <= 8) colors = handle_ ? ColorTableOf(handle_) : std::vector<RGBQUAD>{};
            if (BitsOf(format) <= 8 && colors.empty()) colors = StandardColors(BitsOf(format));
            next = CreateDib(width, height, format, colors, nullptr);
        } else {
            next = CreateDdb(width, height, format == TPixelFormat::pf1bit);
        }
        FillWhite(next, width, height);
        if (handle_) Blit(next, handle_, std::min(width, width_), std::min(height, height_));
    }
    TPixelFormat keepFormat = pixelFormat_;
    TBitmapHandleType keepType = handleType_;
    Adopt(next, nullptr, true);
    if (!next) {
        // Without an image the size is kept: Width then Height makes the picture of both.
        width_ = width;
        height_ = height;
        pixelFormat_ = keepFormat;
        handleType_ = keepType;
    }
    Changed();
}

void TBitmap::SetHandleType(TBitmapHandleType type) {
    if (type == handleType_) return;
    if (Empty()) {
        handleType_ = type;
        if (type == TBitmapHandleType::bmDDB && pixelFormat_ != TPixelFormat::pf1bit) pixelFormat_ = TPixelFormat::pfDevice;
        return;
    }
    FreeContext();
    HBITMAP next;
    if (type == TBitmapHandleType::bmDIB) {
        TPixelFormat format = pixelFormat_ == TPixelFormat::pf1bit ? TPixelFormat::pf1bit : DeviceDibFormat();
        next = CreateDib(width_, height_, format, StandardColors(BitsOf(format)), nullptr);
    } else {
        next = CreateDdb(width_, height_, pixelFormat_ == TPixelFormat::pf1bit);
    }
    Blit(next, handle_, width_, height_);
    Adopt(next, nullptr, true);
    Changed();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == TPixelFormat::pfCustom) throw EInvalidGraphic("Invalid pixel format");
    if (format == pixelFormat_ && !(format == TPixelFormat::pf1bit && handleType_ == TBitmapHandleType::bmDDB)) return;
    if (Empty()) {
        pixelFormat_ = format;
        handleType_ = format == TPixelFormat::pfDevice ? TBitmapHandleType::bmDDB : TBitmapHandleType::bmDIB;
        return;
    }
    FreeContext();
    HBITMAP next;
    HPALETTE palette = nullptr;
    if (format == TPixelFormat::pfDevice) {
        next = CreateDdb(width_, height_, false);
    } else {
        std::vector<RGBQUAD> colors;
        int bpp = BitsOf(format);
        if (bpp <= 8) {
            // The bitmap's own palette when it fits, else the standard one of the depth.
            if (handleType_ == TBitmapHandleType::bmDIB && BitsOf(pixelFormat_) <= 8 && BitsOf(pixelFormat_) <= bpp)
                colors = ColorTableOf(handle_);
            if (colors.empty()) colors = StandardColors(bpp);
            palette = PaletteFrom(colors);
        }
        next = CreateDib(width_, height_, format, colors, nullptr);
    }
    Blit(next, handle_, width_, height_);
    Adopt(next, palette, false);
    Changed();
}

bool TBitmap::Monochrome() const {
    if (pixelFormat_ != TPixelFormat::pf1bit) return false;
    if (handleType_ == TBitmapHandleType::bmDDB) return true;
    if (!handle_) return true;
    std::vector<RGBQUAD> colors = ColorTableOf(handle_);
    return colors.size() == 2 && FromQuad(colors[0]) == 0 && FromQuad(colors[1]) == 0xFFFFFF;
}

void TBitmap::SetMonochrome(bool monochrome) {
    if (monochrome == Monochrome()) return;
    if (monochrome) {
        if (Empty()) {
            pixelFormat_ = TPixelFormat::pf1bit;
            handleType_ = TBitmapHandleType::bmDDB;
            return;
        }
        FreeContext();
        HBITMAP next = CreateDdb(width_, height_, true);
        Blit(next, handle_, width_, height_);
        Adopt(next, nullptr, false);
        Changed();
    } else {
        SetPixelFormat(TPixelFormat::pfDevice);
    }
}

HPALETTE TBitmap::Palette() {
    if (!palette_ && handle_ && handleType_ == TBitmapHandleType::bmDIB && BitsOf(pixelFormat_) <= 8) {
        FreeContext();
        palette_ = PaletteFrom(ColorTableOf(handle_));
    }
    return palette_;
}

void TBitmap::SetPalette(HPALETTE palette) {
    if (palette == palette_) return;
    FreeContext();
    if (palette_) DeleteObject(palette_);
    palette_ = palette;
    // A palette DIB takes the palette's colours as its colour table.
    if (palette && handle_ && handleType_ == TBitmapHandleType::bmDIB && BitsOf(pixelFormat_) <= 8) {
        PALETTEENTRY entries[256];
        UINT n = GetPaletteEntries(palette, 0, 256, entries);
        n = std::min<UINT>(n, 1u << BitsOf(pixelFormat_));
        RGBQUAD colors[256];
        for (UINT i = 0; i < n; ++i) colors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, handle_);
        SetDIBColorTable(dc, 0, n, colors);
        SelectObject(dc, old);
        DeleteDC(dc);
    }
    Changed();
}

TColor TBitmap::TransparentColor() {
    if (transparentMode_ == TTransparentMode::tmFixed && transparentColor_ != clDefault)
        return ColorToRGB(transparentColor_);
    if (Empty()) return clDefault;
    if (Monochrome()) return clWhite;
    return Canvas()->Pixels(0, height_ - 1);
}

void TBitmap::SetTransparentColor(TColor color) {
    if (color == transparentColor_ && transparentMode_ == TTransparentMode::tmFixed) return;
    transparentColor_ = color;
    transparentMode_ = color == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == transparentMode_) return;
    transparentMode_ = mode;
    if (mode == TTransparentMode::tmAuto) transparentColor_ = clDefault;
    Changed();
}

namespace {

// White where `source` has `color`, black elsewhere.
HBITMAP MakeMask(HDC source, int width, int height, TColor color) {
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    if (!mask) throw EOutOfResources("Out of system resources");
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, mask);
    COLORREF oldBk = SetBkColor(source, static_cast<COLORREF>(ColorToRGB(color)));
    BitBlt(dc, 0, 0, width, height, source, 0, 0, SRCCOPY);
    SetBkColor(source, oldBk);
    SelectObject(dc, old);
    DeleteDC(dc);
    return mask;
}

}  // namespace

HBITMAP TBitmap::MaskHandle() {
    if (!mask_ && !Empty()) mask_ = MakeMask(CanvasDC(), width_, height_, TransparentColor());
    return mask_;
}

void TBitmap::Mask(TColor color) {
    if (Empty()) return;
    HBITMAP mask = MakeMask(CanvasDC(), width_, height_, color);
    Adopt(mask, nullptr, false);
    Changed();
}

void TBitmap::Draw(TCanvas& canvas, const TRect& r) {
    if (Empty()) return;
    HDC dest = canvas.Handle();
    HDC src = CanvasDC();
    HPALETTE oldPalette = nullptr;
    if (palette_) {
        oldPalette = SelectPalette(dest, palette_, TRUE);
        RealizePalette(dest);
    }
    int oldMode = SetStretchBltMode(dest, COLORONCOLOR);
    if (Transparent()) {
        TransparentBlt(dest, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, width_, height_,
                       static_cast<UINT>(ColorToRGB(TransparentColor())));
    } else {
        StretchBlt(dest, r.Left, r.Top, r.Width(), r.Height(), src, 0, 0, width_, height_,
                   static_cast<DWORD>(canvas.CopyMode()));
    }
    SetStretchBltMode(dest, oldMode);
    if (oldPalette) SelectPalette(dest, oldPalette, TRUE);
}

void TBitmap::Assign(TPersistent* source) {
    if (!source) {
        DestroyImage();
        width_ = height_ = 0;
        Changed();
        return;
    }
    if (auto* b = dynamic_cast<TBitmap*>(source)) {
        if (b == this) return;
        b->FreeContext();
        FreeContext();
        HBITMAP copy = nullptr;
        HPALETTE palette = nullptr;
        if (!b->Empty()) {
            DIBSECTION ds{};
            if (b->handleType_ == TBitmapHandleType::bmDIB && b->rawBits_ && GetDib(b->handle_, ds) &&
                b->pixelFormat_ != TPixelFormat::pfCustom) {
                // The same layout as ours (bottom-up, same depth): the bits copy as they are.
                GdiFlush();
                std::vector<RGBQUAD> colors = BitsOf(b->pixelFormat_) <= 8 ? ColorTableOf(b->handle_) : std::vector<RGBQUAD>{};
                void* bits = nullptr;
                copy = CreateDib(b->width_, b->height_, b->pixelFormat_, colors, &bits);
                std::memcpy(bits, ds.dsBm.bmBits,
                            static_cast<size_t>(Stride(b->width_, BitsOf(b->pixelFormat_))) * static_cast<size_t>(b->height_));
            } else if (b->handleType_ == TBitmapHandleType::bmDIB && b->pixelFormat_ != TPixelFormat::pfCustom) {
                std::vector<RGBQUAD> colors = BitsOf(b->pixelFormat_) <= 8 ? ColorTableOf(b->handle_) : std::vector<RGBQUAD>{};
                copy = CreateDib(b->width_, b->height_, b->pixelFormat_, colors, nullptr);
                Blit(copy, b->handle_, b->width_, b->height_);
            } else {
                copy = CreateDdb(b->width_, b->height_, b->pixelFormat_ == TPixelFormat::pf1bit);
                Blit(copy, b->handle_, b->width_, b->height_);
            }
        }
        if (b->palette_) {
            PALETTEENTRY entries[256];
            UINT n = GetPaletteEntries(b->palette_, 0, 256, entries);
            std::vector<RGBQUAD> colors(n);
            for (UINT i = 0; i < n; ++i) colors[i] = {entries[i].peBlue, entries[i].peGreen, entries[i].peRed, 0};
            palette = PaletteFrom(colors);
        }
        Adopt(copy, palette, false);
        if (!copy) {
            pixelFormat_ = b->pixelFormat_;
            handleType_ = b->handleType_;
        }
        SetTransparent(b->Transparent());
        transparentColor_ = b->transparentColor_;
        transparentMode_ = b->transparentMode_;
        Changed();
        return;
    }
    TGraphic::Assign(source);
}

BmpImage TBitmap::ToImage() {
    BmpImage image;
    if (Empty()) {
        image.width = image.height = 0;
        return image;
    }
    FreeContext();
    GdiFlush();
    image.width = width_;
    image.height = height_;
    const size_t count = static_cast<size_t>(width_) * static_cast<size_t>(height_);
    image.pixels.resize(count);
    DIBSECTION ds{};
    if (handleType_ == TBitmapHandleType::bmDIB && rawBits_ && GetDib(handle_, ds) && pixelFormat_ != TPixelFormat::pfCustom) {
        const int bpp = BitsOf(pixelFormat_);
        const int stride = Stride(width_, bpp);
        const bool bottomUp = ds.dsBmih.biHeight > 0;
        const auto* base = static_cast<const uint8_t*>(ds.dsBm.bmBits);
        image.bitsPerPixel = bpp == 16 ? 24 : bpp;
        std::vector<RGBQUAD> colors;
        if (bpp <= 8) {
            colors = ColorTableOf(handle_);
            colors.resize(size_t{1} << bpp);  // indices past the table read as black
            for (const RGBQUAD& q : colors) image.palette.push_back(FromQuad(q));
            image.indices.resize(count);
        }
        for (int y = 0; y < height_; ++y) {
            const uint8_t* row = base + static_cast<size_t>(bottomUp ? height_ - 1 - y : y) * static_cast<size_t>(stride);
            for (int x = 0; x < width_; ++x) {
                size_t at = static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x);
                uint32_t value = 0;
                switch (bpp) {
                    case 1:
                    case 4:
                    case 8: {
                        int bit = x * bpp;
                        int index = (row[bit / 8] >> (8 - bpp - bit % 8)) & ((1 << bpp) - 1);
                        image.indices[at] = static_cast<uint8_t>(index);
                        value = FromQuad(colors[static_cast<size_t>(index)]);
                        break;
                    }
                    case 16: {
                        unsigned v = row[x * 2] | (row[x * 2 + 1] << 8);
                        unsigned r, g, b;
                        if (pixelFormat_ == TPixelFormat::pf16bit) {
                            r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
                            r = (r << 3) | (r >> 2), g = (g << 2) | (g >> 4), b = (b << 3) | (b >> 2);
                        } else {
                            r = (v >> 10) & 31, g = (v >> 5) & 31, b = v & 31;
                            r = (r << 3) | (r >> 2), g = (g << 3) | (g >> 2), b = (b << 3) | (b >> 2);
                        }
                        value = (r << 16) | (g << 8) | b;
                        break;
                    }
                    case 24:
                        value = (uint32_t{row[x * 3 + 2]} << 16) | (uint32_t{row[x * 3 + 1]} << 8) | row[x * 3];
                        break;
                    default:
                        std::memcpy(&value, row + x * 4, 4);
                        break;
                }
                image.pixels[at] = value;
            }
        }
        return image;
    }
    // A device bitmap, or a DIB section made elsewhere: read through GetDIBits at 32 bits.
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    HDC screen = GetDC(nullptr);
    GetDIBits(screen, handle_, 0, static_cast<UINT>(height_), image.pixels.data(), &info, DIB_RGB_COLORS);
    if (pixelFormat_ != TPixelFormat::pf32bit)
        for (uint32_t& p : image.pixels) p &= 0xFFFFFF;
    image.bitsPerPixel = pixelFormat_ == TPixelFormat::pf32bit ? 32 : 24;
    const int bpp = BitsOf(pixelFormat_);
    if (handleType_ == TBitmapHandleType::bmDIB && bpp >= 1 && bpp <= 8) {
        // A palette DIB made elsewhere: its indices and colour table, top row first.
        DibInfo pal{};
        pal.header = info.bmiHeader;
        pal.header.biBitCount = static_cast<WORD>(bpp);
        const int stride = Stride(width_, bpp);
        std::vector<uint8_t> rows(static_cast<size_t>(stride) * static_cast<size_t>(height_));
        GetDIBits(screen, handle_, 0, static_cast<UINT>(height_), rows.data(), reinterpret_cast<BITMAPINFO*>(&pal),
                  DIB_RGB_COLORS);
        image.bitsPerPixel = bpp;
        for (int i = 0; i < (1 << bpp); ++i) image.palette.push_back(FromQuad(pal.colors[i]));
        image.indices.resize(count);
        for (int y = 0; y < height_; ++y)
            for (int x = 0; x < width_; ++x) {
                int bit = x * bpp;
                image.indices[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] =
                    static_cast<uint8_t>((rows[static_cast<size_t>(y) * static_cast<size_t>(stride) + static_cast<size_t>(bit / 8)] >>
                                          (8 - bpp - bit % 8)) & ((1 << bpp) - 1));
            }
    }
    ReleaseDC(nullptr, screen);
    if (pixelFormat_ == TPixelFormat::pf1bit && handleType_ == TBitmapHandleType::bmDDB) {
        image.bitsPerPixel = 1;
        image.palette = {0x000000, 0xFFFFFF};
        image.indices.resize(count);
        for (size_t i = 0; i < count; ++i) image.indices[i] = image.pixels[i] ? 1 : 0;
    }
    return image;
}

void TBitmap::FromImage(const BmpImage& image) {
    if (image.width <= 0 || image.height <= 0) {
        Assign(nullptr);
        return;
    }
    const size_t count = static_cast<size_t>(image.width) * static_cast<size_t>(image.height);
    TPixelFormat format;
    int bpp = image.bitsPerPixel;
    const bool indexed = bpp <= 8 && image.indices.size() == count && !image.palette.empty();
    if (indexed)
        format = bpp == 1 ? TPixelFormat::pf1bit : bpp == 4 ? TPixelFormat::pf4bit : TPixelFormat::pf8bit;
    else
        format = bpp == 32 ? TPixelFormat::pf32bit : TPixelFormat::pf24bit;
    if (!indexed && image.pixels.size() != count) throw EInvalidGraphic("Bitmap image is not valid");
    bpp = BitsOf(format);
    std::vector<RGBQUAD> colors;
    if (indexed)
        for (size_t i = 0; i < image.palette.size() && i < (size_t{1} << bpp); ++i) colors.push_back(Quad(image.palette[i]));
    void* bits = nullptr;
    HBITMAP dib = CreateDib(image.width, image.height, format, colors, &bits);
    const int stride = Stride(image.width, bpp);
    auto* base = static_cast<uint8_t*>(bits);
    std::memset(base, 0, static_cast<size_t>(stride) * static_cast<size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        uint8_t* row = base + static_cast<size_t>(image.height - 1 - y) * static_cast<size_t>(stride);
        for (int x = 0; x < image.width; ++x) {
            size_t at = static_cast<size_t>(y) * static_cast<size_t>(image.width) + static_cast<size_t>(x);
            if (indexed) {
                int bit = x * bpp;
                row[bit / 8] |= static_cast<uint8_t>((image.indices[at] & ((1 << bpp) - 1)) << (8 - bpp - bit % 8));
            } else if (bpp == 24) {
                uint32_t v = image.pixels[at];
                row[x * 3] = static_cast<uint8_t>(v);
                row[x * 3 + 1] = static_cast<uint8_t>(v >> 8);
                row[x * 3 + 2] = static_cast<uint8_t>(v >> 16);
            } else {
                std::memcpy(row + x * 4, &image.pixels[at], 4);
            }
        }
    }
    Adopt(dib, indexed ? PaletteFrom(colors) : nullptr, false);
    Changed();
}

void TBitmap::LoadFromBytes(std::span<const uint8_t> data) {
    Progress(TProgressStage::psStarting, 0, false, TRect{}, "");
    BmpImage image;
    try {
        image = ReadBmp(data);
    } catch (const Exception& e) {
        Progress(TProgressStage::psEnding, 0, false, TRect{}, e.Message());
        throw;
    }
    FromImage(image);
    Progress(TProgressStage::psEnding, 100, true, TRect{}, "");
}

std::vector<uint8_t> TBitmap::SaveToBytes() {
    BmpImage image = ToImage();
    if (image.width == 0) {
        // An empty bitmap is written as no picture at all; readers see a 0x0 file header only.
        return {};
    }
    int bpp = image.bitsPerPixel;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 32) bpp = 24;
    return EncodeBmp(image, bpp);
}

//  BMP file header (14 bytes):
//  +0  "BM"
//  +2  uint32  file size
//  +6  uint32  reserved
//  +10 uint32  offset of the bits
void TBitmap::LoadFromStream(TStream& stream) {
    int64_t start = stream.Position();
    int64_t available = stream.Size() - start;
    if (available <= 0) {
        Assign(nullptr);
        return;
    }
    std::vector<uint8_t> header(14);
    int64_t got = stream.Read(header.data(), 14);
    if (got < 14 || header[0] != 'B' || header[1] != 'M') throw EInvalidGraphic("Bitmap image is not valid");
    uint32_t fileSize = header[2] | (header[3] << 8) | (header[4] << 16) | (uint32_t{header[5]} << 24);
    // Some writers leave the size 0 or wrong: then the rest of the stream is the picture.
    int64_t length = fileSize >= 14 + 12 && fileSize <= available ? fileSize : available;
    std::vector<uint8_t> data(static_cast<size_t>(length));
    std::copy(header.begin(), header.end(), data.begin());
    stream.ReadBuffer(data.data() + 14, length - 14);
    LoadFromBytes(data);
}

void TBitmap::SaveToStream(TStream& stream) {
    std::vector<uint8_t> data = SaveToBytes();
    if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

//  Data: +0 uint32 length of the image, +4 the BMP file image. A file image without the length is also
//  read, for form texts made with @file.
void TBitmap::ReadData(TStream& stream) {
    int64_t available = stream.Size() - stream.Position();
    uint8_t head[6] = {};
    if (available < 6) {
        if (available > 0) stream.Seek(available, soFromCurrent);
        Assign(nullptr);
        return;
    }
    stream.ReadBuffer(head, 6);
    uint32_t length = head[0] | (head[1] << 8) | (head[2] << 16) | (uint32_t{head[3]} << 24);
    std::vector<uint8_t> data;
    if (head[4] == 'B' && head[5] == 'M' && length >= 14 && length <= available - 4) {
        data.resize(length);
        data[0] = 'B';
        data[1] = 'M';
        stream.ReadBuffer(data.data() + 2, static_cast<int64_t>(length) - 2);
    } else if (head[0] == 'B' && head[1] == 'M') {
        data.resize(static_cast<size_t>(available));
        std::copy(head, head + 6, data.begin());
        stream.ReadBuffer(data.data() + 6, available - 6);
    } else if (length == 0) {
        stream.Seek(-2, soFromCurrent);
        Assign(nullptr);
        return;
    } else {
        throw EInvalidGraphic("Bitmap image is not valid");
    }
    LoadFromBytes(data);
}

void TBitmap::WriteData(TStream& stream) {
    std::vector<uint8_t> data = SaveToBytes();
    uint32_t length = static_cast<uint32_t>(data.size());
    uint8_t head[4] = {static_cast<uint8_t>(length), static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length >> 16),
                       static_cast<uint8_t>(length >> 24)};
    stream.WriteBuffer(head, 4);
    if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

namespace {

std::span<const uint8_t> ResourceBytes(HINSTANCE instance, LPCSTR name, LPCSTR type, const std::string& shownName) {
    HRSRC res = FindResourceA(instance, name, type);
    HGLOBAL loaded = res ? LoadResource(instance, res) : nullptr;
    const void* p = loaded ? LockResource(loaded) : nullptr;
    if (!p) throw EInvalidGraphic("Resource " + shownName + " not found");
    return {static_cast<const uint8_t*>(p), static_cast<size_t>(SizeofResource(instance, res))};
}

}  // namespace

void TBitmap::LoadFromResourceName(HINSTANCE instance, const std::string& name) {
    BmpImage image;
    std::string error;
    if (!DecodeDib(ResourceBytes(instance, name.c_str(), MAKEINTRESOURCEA(2), name), image, &error))
        throw EInvalidGraphic("Bitmap image is not valid");
    FromImage(image);
}

void TBitmap::LoadFromResourceID(HINSTANCE instance, int id) {
    BmpImage image;
    std::string error;
    if (!DecodeDib(ResourceBytes(instance, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(2), std::to_string(id)), image, &error))
        throw EInvalidGraphic("Bitmap image is not valid");
    FromImage(image);
}

void TBitmap::LoadFromClipboardFormat(UINT format, HANDLE data, HPALETTE palette) {
    if (format == CF_DIB) {
        const void* p = GlobalLock(data);
        if (!p) throw EInvalidGraphic("Bitmap image is not valid");
        BmpImage image;
        bool ok = DecodeDib({static_cast<const uint8_t*>(p), GlobalSize(data)}, image);
        GlobalUnlock(data);
        if (!ok) throw EInvalidGraphic("Bitmap image is not valid");
        FromImage(image);
        return;
    }
    if (format != CF_BITMAP || !data) throw EInvalidGraphic("Unsupported clipboard format");
    BITMAP bm{};
    if (GetObjectA(data, sizeof(bm), &bm) != sizeof(bm)) throw EInvalidGraphic("Bitmap image is not valid");
    // The clipboard keeps its bitmap: copy it.
    HBITMAP copy = CreateDdb(bm.bmWidth, bm.bmHeight, bm.bmBitsPixel == 1);
    Blit(copy, static_cast<HBITMAP>(data), bm.bmWidth, bm.bmHeight);
    (void)palette;
    Adopt(copy, nullptr, false);
    Changed();
}

// A packed DIB (the file image without its 14-byte file header), which the clipboard owns once set.
void TBitmap::SaveToClipboardFormat(UINT& format, HANDLE& data, HPALETTE& palette) {
    std::vector<uint8_t> file = SaveToBytes();
    format = CF_DIB;
    palette = nullptr;
    data = nullptr;
    if (file.size() <= 14) return;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, file.size() - 14);
    if (!block) throw EOutOfMemory("Out of memory");
    std::memcpy(GlobalLock(block), file.data() + 14, file.size() - 14);
    GlobalUnlock(block);
    data = block;
}

}  // namespace fw
