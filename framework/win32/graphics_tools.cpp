// Fonts, brushes and pens: attributes with a lazily made GDI handle.
#include <cmath>

#include "framework/win32/graphics.h"

namespace fw {

void TGraphicsObject::Changed() {
    if (OnChange) OnChange(this);
}

namespace {

// Size = -Height * 72 / ppi, rounded half away from zero as MulDiv does.
int MulDivRound(int a, int b, int c) {
    if (c == 0) return 0;
    long long p = static_cast<long long>(a) * b;
    long long q = (std::llabs(p) + std::llabs(static_cast<long long>(c)) / 2) / std::llabs(static_cast<long long>(c));
    return static_cast<int>(((p < 0) != (c < 0)) ? -q : q);
}

}  // namespace

int ScreenLogPixels() {
    static const int ppi = [] {
        HDC dc = GetDC(nullptr);
        int value = dc ? GetDeviceCaps(dc, LOGPIXELSY) : 96;
        if (dc) ReleaseDC(nullptr, dc);
        return value > 0 ? value : 96;
    }();
    return ppi;
}

// ---- TFont ----------------------------------------------------------------------------------------

TFont::TFont() : pixelsPerInch_(ScreenLogPixels()) {}

TFont::~TFont() { ReleaseHandle(); }

void TFont::ReleaseHandle() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

// Listeners (a canvas that has the old font selected) hear of the change while the old handle still
// exists; it is deleted once they have let go of it.
void TFont::AttributesChanged() {
    HFONT old = handle_;
    handle_ = nullptr;
    Changed();
    if (old) DeleteObject(old);
}

void TFont::Assign(TPersistent* source) {
    if (auto* f = dynamic_cast<TFont*>(source)) {
        if (f == this) return;
        name_ = f->name_;
        // The height in points carries over between resolutions, as the size does.
        height_ = f->pixelsPerInch_ == pixelsPerInch_ ? f->height_ : MulDivRound(f->height_, pixelsPerInch_, f->pixelsPerInch_);
        style_ = f->style_;
        color_ = f->color_;
        charset_ = f->charset_;
        pitch_ = f->pitch_;
        AttributesChanged();
        return;
    }
    TGraphicsObject::Assign(source);
}

HFONT TFont::Handle() {
    if (!handle_) {
        LOGFONTA lf{};
        lf.lfHeight = height_;
        lf.lfWeight = style_.Contains(TFontStyle::fsBold) ? FW_BOLD : FW_NORMAL;
        lf.lfItalic = style_.Contains(TFontStyle::fsItalic) ? 1 : 0;
        lf.lfUnderline = style_.Contains(TFontStyle::fsUnderline) ? 1 : 0;
        lf.lfStrikeOut = style_.Contains(TFontStyle::fsStrikeOut) ? 1 : 0;
        lf.lfCharSet = charset_;
        lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
        lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        lf.lfQuality = DEFAULT_QUALITY;
        switch (pitch_) {
            case TFontPitch::fpVariable: lf.lfPitchAndFamily = VARIABLE_PITCH; break;
            case TFontPitch::fpFixed: lf.lfPitchAndFamily = FIXED_PITCH; break;
            default: lf.lfPitchAndFamily = DEFAULT_PITCH; break;
        }
        lstrcpynA(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
        // "Default" asks for the system's message font face.
        if (lstrcmpiA(lf.lfFaceName, "Default") == 0) lstrcpynA(lf.lfFaceName, "MS Shell Dlg", LF_FACESIZE);
        handle_ = CreateFontIndirectA(&lf);
        if (!handle_) throw EOutOfResources("Out of system resources");
    }
    return handle_;
}

void TFont::SetHandle(HFONT font) {
    if (font == handle_) return;
    if (font) {
        LOGFONTA lf{};
        if (GetObjectA(font, sizeof(lf), &lf) == sizeof(lf)) {
            name_ = lf.lfFaceName;
            height_ = lf.lfHeight;
            TFontStyles s;
            if (lf.lfWeight >= FW_BOLD) s.Include(TFontStyle::fsBold);
            if (lf.lfItalic) s.Include(TFontStyle::fsItalic);
            if (lf.lfUnderline) s.Include(TFontStyle::fsUnderline);
            if (lf.lfStrikeOut) s.Include(TFontStyle::fsStrikeOut);
            style_ = s;
            charset_ = lf.lfCharSet;
            switch (lf.lfPitchAndFamily & 3) {
                case VARIABLE_PITCH: pitch_ = TFontPitch::fpVariable; break;
                case FIXED_PITCH: pitch_ = TFontPitch::fpFixed; break;
                default: pitch_ = TFontPitch::fpDefault; break;
            }
        }
    }
    // Listeners that ask for the handle while they hear of the change get the new one.
    HFONT old = handle_;
    handle_ = font;
    Changed();
    if (old) DeleteObject(old);
}

void TFont::SetName(const std::string& name) {
    if (name.empty() || name == name_) return;
    name_ = name;
    AttributesChanged();
}

void TFont::SetHeight(int height) {
    if (height == height_) return;
    height_ = height;
    AttributesChanged();
}

int TFont::Size() const { return -MulDivRound(height_, 72, pixelsPerInch_); }

void TFont::SetSize(int size) { SetHeight(-MulDivRound(size, pixelsPerInch_, 72)); }

void TFont::SetPixelsPerInch(int ppi) {
    if (ppi > 0) pixelsPerInch_ = ppi;
}

void TFont::SetStyle(TFontStyles style) {
    if (style == style_) return;
    style_ = style;
    AttributesChanged();
}

void TFont::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    Changed();  // the colour is the DC's text colour, not part of the font
}

void TFont::SetCharset(TFontCharset charset) {
    if (charset == charset_) return;
    charset_ = charset;
    AttributesChanged();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == pitch_) return;
    pitch_ = pitch;
    AttributesChanged();
}

// ---- TBrush ---------------------------------------------------------------------------------------

TBrush::~TBrush() { ReleaseHandle(); }

void TBrush::ReleaseHandle() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

void TBrush::AttributesChanged() {
    HBRUSH old = handle_;
    handle_ = nullptr;
    Changed();
    if (old) DeleteObject(old);
}

void TBrush::Assign(TPersistent* source) {
    if (auto* b = dynamic_cast<TBrush*>(source)) {
        if (b == this) return;
        color_ = b->color_;
        style_ = b->style_;
        bitmap_ = b->bitmap_;
        AttributesChanged();
        return;
    }
    TGraphicsObject::Assign(source);
}

HBRUSH TBrush::Handle() {
    if (!handle_) {
        LOGBRUSH lb{};
        lb.lbColor = static_cast<COLORREF>(ColorToRGB(color_));
        if (bitmap_ && !bitmap_->Empty()) {
            handle_ = CreatePatternBrush(bitmap_->Handle());
        } else {
            switch (style_) {
                case TBrushStyle::bsSolid: lb.lbStyle = BS_SOLID; break;
                case TBrushStyle::bsClear: lb.lbStyle = BS_HOLLOW; break;
                default:
                    lb.lbStyle = BS_HATCHED;
                    lb.lbHatch = static_cast<ULONG_PTR>(static_cast<int>(style_) - static_cast<int>(TBrushStyle::bsHorizontal));
                    break;
            }
            handle_ = CreateBrushIndirect(&lb);
        }
        if (!handle_) throw EOutOfResources("Out of system resources");
    }
    return handle_;
}

void TBrush::SetHandle(HBRUSH brush) {
    if (brush == handle_) return;
    bitmap_ = nullptr;
    if (brush) {
        LOGBRUSH lb{};
        if (GetObjectA(brush, sizeof(lb), &lb) == sizeof(lb)) {
            color_ = static_cast<TColor>(lb.lbColor);
            if (lb.lbStyle == BS_HOLLOW)
                style_ = TBrushStyle::bsClear;
            else if (lb.lbStyle == BS_HATCHED && lb.lbHatch <= HS_DIAGCROSS)
                style_ = static_cast<TBrushStyle>(static_cast<int>(TBrushStyle::bsHorizontal) + static_cast<int>(lb.lbHatch));
            else
                style_ = TBrushStyle::bsSolid;
        }
    }
    // Listeners that ask for the handle while they hear of the change get the new one.
    HBRUSH old = handle_;
    handle_ = brush;
    Changed();
    if (old) DeleteObject(old);
}

void TBrush::SetColor(TColor color) {
    if (color == color_ && style_ != TBrushStyle::bsClear) return;
    color_ = color;
    if (style_ == TBrushStyle::bsClear) style_ = TBrushStyle::bsSolid;
    AttributesChanged();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == style_ && !bitmap_) return;
    style_ = style;
    bitmap_ = nullptr;
    AttributesChanged();
}

void TBrush::SetBitmap(TBitmap* bitmap) {
    if (bitmap == bitmap_) return;
    bitmap_ = bitmap;
    AttributesChanged();
}

// ---- TPen -----------------------------------------------------------------------------------------

TPen::~TPen() { ReleaseHandle(); }

void TPen::ReleaseHandle() {
    if (handle_) DeleteObject(handle_);
    handle_ = nullptr;
}

void TPen::AttributesChanged() {
    HPEN old = handle_;
    handle_ = nullptr;
    Changed();
    if (old) DeleteObject(old);
}

void TPen::Assign(TPersistent* source) {
    if (auto* p = dynamic_cast<TPen*>(source)) {
        if (p == this) return;
        color_ = p->color_;
        width_ = p->width_;
        style_ = p->style_;
        mode_ = p->mode_;
        AttributesChanged();
        return;
    }
    TGraphicsObject::Assign(source);
}

HPEN TPen::Handle() {
    if (!handle_) {
        static constexpr int kStyles[] = {PS_SOLID, PS_DASH, PS_DOT, PS_DASHDOT, PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
        LOGPEN lp{};
        lp.lopnStyle = static_cast<UINT>(kStyles[static_cast<int>(style_)]);
        lp.lopnWidth.x = width_;
        lp.lopnColor = static_cast<COLORREF>(ColorToRGB(color_));
        handle_ = CreatePenIndirect(&lp);
        if (!handle_) throw EOutOfResources("Out of system resources");
    }
    return handle_;
}

void TPen::SetHandle(HPEN pen) {
    if (pen == handle_) return;
    if (pen) {
        LOGPEN lp{};
        if (GetObjectA(pen, sizeof(lp), &lp) == sizeof(lp)) {
            color_ = static_cast<TColor>(lp.lopnColor);
            width_ = lp.lopnWidth.x;
            switch (lp.lopnStyle) {
                case PS_DASH: style_ = TPenStyle::psDash; break;
                case PS_DOT: style_ = TPenStyle::psDot; break;
                case PS_DASHDOT: style_ = TPenStyle::psDashDot; break;
                case PS_DASHDOTDOT: style_ = TPenStyle::psDashDotDot; break;
                case PS_NULL: style_ = TPenStyle::psClear; break;
                case PS_INSIDEFRAME: style_ = TPenStyle::psInsideFrame; break;
                default: style_ = TPenStyle::psSolid; break;
            }
        }
    }
    // Listeners that ask for the handle while they hear of the change get the new one.
    HPEN old = handle_;
    handle_ = pen;
    Changed();
    if (old) DeleteObject(old);
}

void TPen::SetColor(TColor color) {
    if (color == color_) return;
    color_ = color;
    AttributesChanged();
}

void TPen::SetWidth(int width) {
    if (width < 0 || width == width_) return;
    width_ = width;
    AttributesChanged();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == style_) return;
    style_ = style;
    AttributesChanged();
}

void TPen::SetMode(TPenMode mode) {
    if (mode == mode_) return;
    mode_ = mode;
    Changed();  // the mode is the DC's ROP2, not part of the pen
}

int TPen::Rop2() const {
    static constexpr int kRop2[] = {R2_BLACK,       R2_WHITE,      R2_NOP,        R2_NOT,      R2_COPYPEN,   R2_NOTCOPYPEN,
                                    R2_MERGEPENNOT, R2_MASKPENNOT, R2_MERGENOTPEN, R2_MASKNOTPEN, R2_MERGEPEN, R2_NOTMERGEPEN,
                                    R2_MASKPEN,     R2_NOTMASKPEN, R2_XORPEN,     R2_NOTXORPEN};
    return kRop2[static_cast<int>(mode_)];
}

}  // namespace fw
