#include "widgets/win32/kvxcustomcontrol.h"

#include <vector>

#include "framework/win32/controlcanvas.h"
#include "framework/win32/graphics.h"
#include "widgets/win32/dcstate.h"

namespace kvx::win32 {

TKVXCustomControl::TKVXCustomControl(TComponent* owner)
    : TCustomControl(owner), image_(this, [this](TObject* sender) { ImageListChanged(sender); }) {
    SetBounds(Left(), Top(), 100, 40);
    SetTabStop(false);
}

void TKVXCustomControl::CreateParams(fw::TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style |= WS_CLIPCHILDREN;
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
}

void TKVXCustomControl::SetFlat(bool value) {
    if (value == flat_) return;
    flat_ = value;
    if (value)
        DrawFlatBorder();
    else
        DrawHotBorder();
}

HPALETTE TKVXCustomControl::BackgroundPalette() {
    if (HasBackground()) return nullptr;
    auto* parent = dynamic_cast<TKVXCustomControl*>(Parent());
    fw::TBitmap* bitmap = parent ? parent->BackgroundBitmap() : nullptr;
    return bitmap ? bitmap->Palette() : nullptr;
}

void TKVXCustomControl::PaintBackground() {
    if (UsesBackgroundBitmap() && CopyBackground(Canvas(), ClientRect(), {Left(), Top()})) return;
    Canvas()->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
}

void TKVXCustomControl::FillBackgroundRect(const TRect& rect) {
    if (UsesBackgroundBitmap() && CopyBackground(Canvas(), rect, {Left() + rect.Left, Top() + rect.Top})) return;
    Canvas()->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(rect);
}

void TKVXCustomControl::DrawNow(const std::function<void()>& draw) {
    auto* canvas = static_cast<fw::TControlCanvas*>(Canvas());
    if (canvas->HandleAllocated()) {
        draw();
        return;
    }
    if (!HandleAllocated()) return;
    try {
        draw();
    } catch (...) {
        canvas->FreeHandle();
        throw;
    }
    canvas->FreeHandle();
}

void TKVXCustomControl::NotifyChildren(unsigned msg) {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(msg);
}

void TKVXCustomControl::InvalidateChildren() {
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Invalidate();
}

void TKVXCustomControl::WMEraseBkgnd(fw::TMessage& message) {
    if (UsesBackgroundBitmap()) {
        message.Result = 1;
        return;
    }
    TCustomControl::WMEraseBkgnd(message);
}

void TKVXCustomControl::WMSize(fw::TMessage& message) {
    TCustomControl::WMSize(message);
    if (UsesBackgroundBitmap()) {
        Repaint();
        // The children show a new part of the background: they repaint (a WM_PAINT without a DC would
        // paint nothing).
        InvalidateChildren();
    } else {
        Invalidate();
    }
}

void TKVXCustomControl::WMMove(fw::TMessage& message) {
    TCustomControl::WMMove(message);
    if (UsesBackgroundBitmap() && HandleAllocated()) {
        Repaint();
        // The window-less children at once, so the background under them follows the move.
        HDC dc = GetDC(Handle());
        PaintControls(dc, nullptr);
        ReleaseDC(Handle(), dc);
    }
}

void TKVXCustomControl::ParentBackChanged() {
    if (Loading()) return;
    if (UsesBackgroundBitmap()) {
        Repaint();
        NotifyChildren(fw::CM_KVXPARENTBACKCHANGED);
    } else {
        Invalidate();
    }
}

void TKVXCustomControl::WMSetFocus(fw::TMessage& message) {
    TCustomControl::WMSetFocus(message);
    if (HandleAllocated()) PostMessageA(Handle(), fw::CM_KVXAFTERENTER, 0, 0);
}

void TKVXCustomControl::WMKillFocus(fw::TMessage& message) {
    TCustomControl::WMKillFocus(message);
    if (HandleAllocated()) PostMessageA(Handle(), fw::CM_KVXAFTEREXIT, 0, 0);
}

void TKVXCustomControl::DoEnter() {
    TCustomControl::DoEnter();
    entered_ = true;
    if (flat_) DrawHotBorder();
}

void TKVXCustomControl::DoExit() {
    entered_ = false;
    DrawFlatBorder();
    TCustomControl::DoExit();
}

void TKVXCustomControl::DoMouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
    mouseInside_ = true;
}

void TKVXCustomControl::DoMouseExit() {
    mouseInside_ = false;
    if (!entered_) DrawFlatBorder();
    if (OnMouseExit) OnMouseExit(this);
}

namespace {

// The window's DC and its rectangle at the origin, for painting the non-client frame.
class TWindowFrameDC {
public:
    explicit TWindowFrameDC(HWND window) : window_(window), dc_(GetWindowDC(window)) {
        RECT w{};
        GetWindowRect(window, &w);
        rect = {0, 0, w.right - w.left, w.bottom - w.top};
    }
    ~TWindowFrameDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    TWindowFrameDC(const TWindowFrameDC&) = delete;
    TWindowFrameDC& operator=(const TWindowFrameDC&) = delete;
    HDC DC() const { return dc_; }
    RECT rect;

    void Frame(const RECT& r, int sysColor) {
        TGdiObject<HBRUSH> brush(CreateSolidBrush(GetSysColor(sysColor)));
        FrameRect(dc_, &r, brush.Get());
    }

private:
    HWND window_;
    HDC dc_;
};

}  // namespace

void TKVXCustomControl::DrawFlatBorder() {
    if (Focused() || !flat_ || mouseInside_ || !HandleAllocated()) return;
    TWindowFrameDC frame(Handle());
    if (!frame.DC()) return;
    RECT r = frame.rect;
    frame.Frame(r, COLOR_BTNFACE);
    if (Ctl3D()) {
        InflateRect(&r, -1, -1);
        frame.Frame(r, COLOR_BTNFACE);
    }
}

void TKVXCustomControl::DrawHotBorder() {
    if (!HandleAllocated()) return;
    TWindowFrameDC frame(Handle());
    if (!frame.DC()) return;
    RECT r = frame.rect;
    if (Ctl3D()) {
        RECT a = r;
        a.left += 1;
        a.top += 1;
        frame.Frame(a, COLOR_WINDOWFRAME);
        RECT b = r;
        b.right -= 1;
        b.bottom -= 1;
        frame.Frame(b, COLOR_BTNFACE);
        DrawEdge(frame.DC(), &r, BDR_SUNKENOUTER, BF_RECT | BF_ADJUST);
    } else {
        frame.Frame(r, COLOR_WINDOWFRAME);
    }
}

void TKVXCustomControl::Paint() {
    if (Loading()) return;
    PaintBackground();
    DrawFlatBorder();
}

void TKVXCustomControl::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case fw::CM_MOUSEENTER:
        case fw::CM_MOUSELEAVE: {
            const auto* who = reinterpret_cast<const fw::TControl*>(message.LParam);
            TCustomControl::Dispatch(message);
            if (!who || who == this) {
                if (message.Msg == fw::CM_MOUSEENTER)
                    DoMouseEnter();
                else
                    DoMouseExit();
            }
            break;
        }
        case fw::CM_KVXPARENTBACKCHANGED: ParentBackChanged(); break;
        case fw::CM_SYSCOLORCHANGE:
            TCustomControl::Dispatch(message);
            if (!transparent_) Invalidate();
            break;
        case fw::CM_KVXAFTERENTER:
            if (OnAfterEnter) OnAfterEnter(this);
            break;
        case fw::CM_KVXAFTEREXIT:
            if (OnAfterExit) OnAfterExit(this);
            break;
        default: TCustomControl::Dispatch(message); break;
    }
}

void TKVXCustomControl::Notification(TComponent* component, fw::TOperation operation) {
    TCustomControl::Notification(component, operation);
    image_.Notification(component, operation);
}

void TKVXCustomControl::DefineProperties(fw::TFiler& filer) {
    TCustomControl::DefineProperties(filer);
    image_.DefineProperties(filer);
}

}  // namespace kvx::win32
