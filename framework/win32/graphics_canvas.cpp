// The canvas: drawing on a DC with lazily selected tools.
#include <vector>

#include "framework/win32/graphics.h"

namespace fw {

namespace {

std::vector<POINT> ToPoints(std::span<const TPoint> points) {
    std::vector<POINT> out(points.size());
    for (size_t i = 0; i < points.size(); ++i) out[i] = {points[i].X, points[i].Y};
    return out;
}

RECT ToRECT(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }

}  // namespace

TCanvas::TCanvas() : font_(std::make_unique<TFont>()), brush_(std::make_unique<TBrush>()), pen_(std::make_unique<TPen>()) {
    InitializeCriticalSection(&lock_);
    font_->OnChange.Bind(this, &TCanvas::FontChanged);
    brush_->OnChange.Bind(this, &TCanvas::BrushChanged);
    pen_->OnChange.Bind(this, &TCanvas::PenChanged);
}

TCanvas::~TCanvas() {
    SetHandle(nullptr);
    DeleteCriticalSection(&lock_);
}

HDC TCanvas::Handle() {
    if (!dc_) CreateHandle();
    if (!dc_) throw EInvalidOperation("Canvas does not allow drawing");
    return dc_;
}

void TCanvas::SetHandle(HDC dc) {
    if (dc == dc_) return;
    if (dc_) {
        DeselectHandles();
        dc_ = nullptr;
        state_ &= ~csHandleValid;
    }
    if (dc) {
        dc_ = dc;
        state_ |= csHandleValid;
    }
}

void TCanvas::DeselectHandles() {
    if (dc_) {
        if (oldFont_) SelectObject(dc_, oldFont_);
        if (oldPen_) SelectObject(dc_, oldPen_);
        if (oldBrush_) SelectObject(dc_, oldBrush_);
    }
    oldFont_ = oldPen_ = oldBrush_ = nullptr;
    state_ &= ~(csFontValid | csPenValid | csBrushValid);
}

void TCanvas::Refresh() { DeselectHandles(); }

void TCanvas::SelectFont() {
    HGDIOBJ previous = SelectObject(dc_, font_->Handle());
    if (!oldFont_) oldFont_ = previous;
    SetTextColor(dc_, static_cast<COLORREF>(ColorToRGB(font_->Color())));
}

void TCanvas::SelectPen() {
    HGDIOBJ previous = SelectObject(dc_, pen_->Handle());
    if (!oldPen_) oldPen_ = previous;
    SetROP2(dc_, pen_->Rop2());
}

void TCanvas::SelectBrush() {
    UnrealizeObject(brush_->Handle());
    HGDIOBJ previous = SelectObject(dc_, brush_->Handle());
    if (!oldBrush_) oldBrush_ = previous;
    if (brush_->Style() == TBrushStyle::bsSolid || brush_->Bitmap()) {
        SetBkColor(dc_, static_cast<COLORREF>(ColorToRGB(brush_->Color())));
        SetBkMode(dc_, OPAQUE);
    } else {
        // Hatches are drawn over the background colour's complement, as the classic canvas does.
        SetBkColor(dc_, ~static_cast<COLORREF>(ColorToRGB(brush_->Color())) & 0xFFFFFF);
        SetBkMode(dc_, TRANSPARENT);
    }
}

void TCanvas::RequiredState(uint32_t state) {
    uint32_t needed = state & ~state_;
    if (!needed) return;
    if (needed & csHandleValid) {
        Handle();
        needed = state & ~state_;
        if (!needed) return;
    }
    if (needed & csFontValid) SelectFont();
    if (needed & csPenValid) SelectPen();
    if (needed & csBrushValid) SelectBrush();
    state_ |= needed;
}

// A tool that changes while selected is put back to the DC's own object at once, so its old handle can
// be deleted, and selected again on the next drawing call.
void TCanvas::FontChanged(TObject*) {
    if ((state_ & csFontValid) && dc_) {
        SelectObject(dc_, oldFont_ ? oldFont_ : GetStockObject(SYSTEM_FONT));
        oldFont_ = nullptr;
    }
    state_ &= ~csFontValid;
}

void TCanvas::PenChanged(TObject*) {
    if ((state_ & csPenValid) && dc_) {
        SelectObject(dc_, oldPen_ ? oldPen_ : GetStockObject(BLACK_PEN));
        oldPen_ = nullptr;
    }
    state_ &= ~csPenValid;
}

void TCanvas::BrushChanged(TObject*) {
    if ((state_ & csBrushValid) && dc_) {
        SelectObject(dc_, oldBrush_ ? oldBrush_ : GetStockObject(WHITE_BRUSH));
        oldBrush_ = nullptr;
    }
    state_ &= ~csBrushValid;
}

void TCanvas::Changing() {
    if (OnChanging) OnChanging(this);
}

void TCanvas::Changed() {
    if (OnChange) OnChange(this);
}

// Reading the position makes the DC (a bitmap's canvas tells this way whether it can draw).
TPoint TCanvas::PenPos() {
    RequiredState(csHandleValid);
    POINT p{};
    if (GetCurrentPositionEx(dc_, &p)) penPos_ = {p.x, p.y};
    return penPos_;
}

void TCanvas::SetPenPos(const TPoint& pos) { MoveTo(pos.X, pos.Y); }

void TCanvas::FillRect(const TRect& r) {
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT rc = ToRECT(r);
    ::FillRect(dc_, &rc, brush_->Handle());
    Changed();
}

void TCanvas::FrameRect(const TRect& r) {
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT rc = ToRECT(r);
    ::FrameRect(dc_, &rc, brush_->Handle());
    Changed();
}

void TCanvas::Rectangle(int x1, int y1, int x2, int y2) {
    Changing();
    RequiredState(csHandleValid | csBrushValid | csPenValid);
    ::Rectangle(dc_, x1, y1, x2, y2);
    Changed();
}

void TCanvas::RoundRect(int x1, int y1, int x2, int y2, int x3, int y3) {
    Changing();
    RequiredState(csHandleValid | csBrushValid | csPenValid);
    ::RoundRect(dc_, x1, y1, x2, y2, x3, y3);
    Changed();
}

void TCanvas::Ellipse(int x1, int y1, int x2, int y2) {
    Changing();
    RequiredState(csHandleValid | csBrushValid | csPenValid);
    ::Ellipse(dc_, x1, y1, x2, y2);
    Changed();
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Changing();
    RequiredState(csHandleValid | csPenValid);
    ::Arc(dc_, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Chord(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Changing();
    RequiredState(csHandleValid | csBrushValid | csPenValid);
    ::Chord(dc_, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Pie(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    Changing();
    RequiredState(csHandleValid | csBrushValid | csPenValid);
    ::Pie(dc_, x1, y1, x2, y2, x3, y3, x4, y4);
    Changed();
}

void TCanvas::Polygon(std::span<const TPoint> points) {
    if (points.empty()) return;
    Changing();
    RequiredState(csHandleValid | csBrushValid | csPenValid);
    std::vector<POINT> p = ToPoints(points);
    ::Polygon(dc_, p.data(), static_cast<int>(p.size()));
    Changed();
}

void TCanvas::Polyline(std::span<const TPoint> points) {
    if (points.empty()) return;
    Changing();
    RequiredState(csHandleValid | csPenValid);
    std::vector<POINT> p = ToPoints(points);
    ::Polyline(dc_, p.data(), static_cast<int>(p.size()));
    Changed();
}

void TCanvas::MoveTo(int x, int y) {
    RequiredState(csHandleValid);
    MoveToEx(dc_, x, y, nullptr);
    penPos_ = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    Changing();
    RequiredState(csHandleValid | csPenValid | csBrushValid);
    ::LineTo(dc_, x, y);
    penPos_ = {x, y};
    Changed();
}

void TCanvas::FloodFill(int x, int y, TColor color, TFillStyle style) {
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    ExtFloodFill(dc_, x, y, static_cast<COLORREF>(ColorToRGB(color)),
                 style == TFillStyle::fsSurface ? FLOODFILLSURFACE : FLOODFILLBORDER);
    Changed();
}

void TCanvas::Draw(int x, int y, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    TRect r = Bounds(x, y, graphic->Width(), graphic->Height());
    Changing();
    RequiredState(csHandleValid);
    graphic->Draw(*this, r);
    Changed();
}

void TCanvas::StretchDraw(const TRect& r, TGraphic* graphic) {
    if (!graphic || graphic->Empty()) return;
    Changing();
    RequiredState(csHandleValid);
    graphic->Draw(*this, r);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas* source, const TRect& src) {
    if (!source) return;
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    source->RequiredState(csHandleValid | csBrushValid);
    int oldMode = SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), source->dc_, src.Left, src.Top, src.Width(),
               src.Height(), static_cast<DWORD>(copyMode_));
    SetStretchBltMode(dc_, oldMode);
    Changed();
}

void TCanvas::BrushCopy(const TRect& dest, TBitmap* bitmap, const TRect& src, TColor color) {
    if (!bitmap || bitmap->Empty()) return;
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    const int w = src.Width(), h = src.Height();
    if (w <= 0 || h <= 0) {
        Changed();
        return;
    }
    HDC srcDC = bitmap->Canvas()->Handle();
    // A monochrome mask, white where the source has the colour.
    HDC maskDC = CreateCompatibleDC(nullptr);
    HBITMAP mask = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDC, mask);
    COLORREF oldBk = SetBkColor(srcDC, static_cast<COLORREF>(ColorToRGB(color)));
    BitBlt(maskDC, 0, 0, w, h, srcDC, src.Left, src.Top, SRCCOPY);
    SetBkColor(srcDC, oldBk);
    // The picture with the colour's pixels painted black, then the brush where the mask is white.
    HDC workDC = CreateCompatibleDC(dc_);
    HBITMAP work = CreateCompatibleBitmap(dc_, w, h);
    HGDIOBJ oldWork = SelectObject(workDC, work);
    BitBlt(workDC, 0, 0, w, h, srcDC, src.Left, src.Top, SRCCOPY);
    COLORREF oldText = SetTextColor(workDC, RGB(255, 255, 255));
    COLORREF oldBk2 = SetBkColor(workDC, RGB(0, 0, 0));
    BitBlt(workDC, 0, 0, w, h, maskDC, 0, 0, SRCAND);  // a mono source: 0 gives text colour, 1 background
    SetTextColor(workDC, oldText);
    SetBkColor(workDC, oldBk2);
    // Brush over the masked pixels: dest = (brush AND mask) OR (picture AND NOT mask).
    HDC brushDC = CreateCompatibleDC(dc_);
    HBITMAP brushBmp = CreateCompatibleBitmap(dc_, w, h);
    HGDIOBJ oldBrushBmp = SelectObject(brushDC, brushBmp);
    RECT all{0, 0, w, h};
    ::FillRect(brushDC, &all, brush_->Handle());
    COLORREF t = SetTextColor(brushDC, RGB(0, 0, 0));
    COLORREF b = SetBkColor(brushDC, RGB(255, 255, 255));
    BitBlt(brushDC, 0, 0, w, h, maskDC, 0, 0, SRCAND);
    SetTextColor(brushDC, t);
    SetBkColor(brushDC, b);
    BitBlt(workDC, 0, 0, w, h, brushDC, 0, 0, SRCPAINT);
    SetStretchBltMode(dc_, COLORONCOLOR);
    StretchBlt(dc_, dest.Left, dest.Top, dest.Width(), dest.Height(), workDC, 0, 0, w, h, SRCCOPY);
    SelectObject(brushDC, oldBrushBmp);
    DeleteObject(brushBmp);
    DeleteDC(brushDC);
    SelectObject(workDC, oldWork);
    DeleteObject(work);
    DeleteDC(workDC);
    SelectObject(maskDC, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDC);
    Changed();
}

void TCanvas::DrawFocusRect(const TRect& r) {
    Changing();
    RequiredState(csHandleValid | csBrushValid);
    RECT rc = ToRECT(r);
    ::DrawFocusRect(dc_, &rc);
    Changed();
}

void TCanvas::TextOut(int x, int y, const std::string& text) {
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    UINT options = static_cast<UINT>(textFlags_);
    if (brush_->Style() != TBrushStyle::bsClear) options |= ETO_OPAQUE;
    UINT align = GetTextAlign(dc_);
    ExtTextOutA(dc_, x, y, options, nullptr, text.data(), static_cast<UINT>(text.size()), nullptr);
    // With TA_UPDATECP the DC moved its pen; otherwise the pen follows the text as the classic canvas does.
    if (!(align & TA_UPDATECP)) MoveToEx(dc_, x + TextWidth(text), y, nullptr);
    Changed();
}

void TCanvas::TextRect(const TRect& r, int x, int y, const std::string& text) {
    Changing();
    RequiredState(csHandleValid | csFontValid | csBrushValid);
    UINT options = ETO_CLIPPED | static_cast<UINT>(textFlags_);
    if (brush_->Style() != TBrushStyle::bsClear) options |= ETO_OPAQUE;
    RECT rc = ToRECT(r);
    ExtTextOutA(dc_, x, y, options, &rc, text.data(), static_cast<UINT>(text.size()), nullptr);
    Changed();
}

TSize TCanvas::TextExtent(const std::string& text) {
    RequiredState(csHandleValid | csFontValid);
    SIZE s{};
    if (text.empty()) {
        // The height of a line even for no text.
        TEXTMETRICA tm{};
        GetTextMetricsA(dc_, &tm);
        return {0, tm.tmHeight};
    }
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &s);
    return {s.cx, s.cy};
}

TColor TCanvas::Pixels(int x, int y) {
    RequiredState(csHandleValid);
    COLORREF c = GetPixel(dc_, x, y);
    return c == CLR_INVALID ? clNone : static_cast<TColor>(c);
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    Changing();
    RequiredState(csHandleValid | csPenValid);
    SetPixel(dc_, x, y, static_cast<COLORREF>(ColorToRGB(color)));
    Changed();
}

TRect TCanvas::ClipRect() {
    RequiredState(csHandleValid);
    RECT rc{};
    GetClipBox(dc_, &rc);
    return {rc.left, rc.top, rc.right, rc.bottom};
}

void TCanvas::Lock() {
    EnterCriticalSection(&lock_);
    ++lockCount_;
}

void TCanvas::Unlock() {
    --lockCount_;
    LeaveCriticalSection(&lock_);
}

bool TCanvas::TryLock() {
    if (!TryEnterCriticalSection(&lock_)) return false;
    ++lockCount_;
    return true;
}

}  // namespace fw
