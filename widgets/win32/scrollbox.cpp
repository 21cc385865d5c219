#include "widgets/win32/scrollbox.h"

#include "framework/win32/messages.h"
#include "widgets/win32/kvxcustomcontrol.h"

namespace kvx::win32 {

TKVXCustomScrollBox::TKVXCustomScrollBox(TComponent* owner)
    : fw::TScrollBox(owner), bevel_(std::make_unique<TKVXBevel>()), canvas_(std::make_unique<fw::TControlCanvas>()) {
    SetControlStyle(fw::csAcceptsControls | fw::csCaptureMouse | fw::csClickEvents | fw::csDoubleClicks |
                    fw::csReplicatable);
    bevel_->SetMode(TKVXBevelMode::bmWindows);
    bevel_->SetSystemFrame(true);
    bevel_->OnChange.Bind(this, [](void* self, TObject* sender) {
        static_cast<TKVXCustomScrollBox*>(self)->BevelChanged(sender);
    });
    canvas_->SetControl(this);
    SetBorderStyle(fw::TBorderStyle::bsNone);
    SetCtl3D(true);
    SetBounds(Left(), Top(), 185, 41);
}

TKVXCustomScrollBox::~TKVXCustomScrollBox() { bevel_->OnChange.Reset(); }

void TKVXCustomScrollBox::SetBevel(TKVXBevel* value) {
    bevel_->Assign(value);
    Perform(fw::CM_KVXBEVELCHANGED);
}

void TKVXCustomScrollBox::SetTransparent(bool value) {
    if (value == transparent_) return;
    transparent_ = value;
    SetControlStyle(value ? ControlStyle() & ~fw::csOpaque : ControlStyle() | fw::csOpaque);
    RecreateWnd();
    Invalidate();
}

TKVXCustomControl* TKVXCustomScrollBox::SuiteParent() const { return dynamic_cast<TKVXCustomControl*>(Parent()); }

bool TKVXCustomScrollBox::ShowsParentBackground() const {
    TKVXCustomControl* parent = SuiteParent();
    return transparent_ && parent && parent->HandleAllocated() && parent->HasBackground();
}

TPoint TKVXCustomScrollBox::ClientOriginInParent() const {
    if (!HandleAllocated() || !Parent() || !Parent()->HandleAllocated()) return {Left(), Top()};
    POINT p{0, 0};
    MapWindowPoints(const_cast<TKVXCustomScrollBox*>(this)->Handle(), Parent()->Handle(), &p, 1);
    return {p.x, p.y};
}

void TKVXCustomScrollBox::CopyParentBackground(fw::TCanvas* canvas, const TRect& rect, TPoint origin) {
    TKVXCustomControl* parent = SuiteParent();
    fw::TBitmap* bitmap = parent->BackgroundBitmap();
    if (!bitmap) return;
    const TPoint at = parent->BackgroundOffset(origin);
    canvas->CopyRect(rect, bitmap->Canvas(), fw::Bounds(at.X, at.Y, rect.Width(), rect.Height()));
}

void TKVXCustomScrollBox::BevelChanged(TObject* sender) {
    if (sender == bevel_.get()) {
        RecreateWnd();
        bevel_->SetSystemFrame(true);
        return;
    }
    if (HandleAllocated()) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
    Invalidate();
}

void TKVXCustomScrollBox::CreateParams(fw::TCreateParams& params) {
    fw::TScrollBox::CreateParams(params);
    params.WindowClass.style &= ~static_cast<UINT>(CS_HREDRAW | CS_VREDRAW);
    params.Style |= WS_CLIPCHILDREN;
    if (!WindowsBevel()) return;
    if (Ctl3D())
        params.ExStyle |= WS_EX_CLIENTEDGE;
    else
        params.Style |= WS_BORDER;
}

void TKVXCustomScrollBox::Invalidate() {
    // The framework repaints everything after each scroll step; this box decides itself (Scrolled).
    if (scrolling_) return;
    fw::TScrollBox::Invalidate();
}

void TKVXCustomScrollBox::WMNCCalcSize(fw::TMessage& message) {
    fw::TScrollBox::WMNCCalcSize(message);
    auto* r = reinterpret_cast<RECT*>(message.LParam);
    r->left += bevel_->Extent();
    r->top += bevel_->Extent();
    r->right -= bevel_->FarExtent();
    r->bottom -= bevel_->FarExtent();
}

void TKVXCustomScrollBox::WMNCPaint(fw::TMessage& message) {
    if (Loading() && !Visible()) return;
    fw::TScrollBox::WMNCPaint(message);
    HDC dc = GetWindowDC(Handle());
    if (!dc) return;
    canvas_->Lock();
    try {
        PaintNonClient(dc);
    } catch (...) {
        canvas_->Unlock();
        ReleaseDC(Handle(), dc);
        throw;
    }
    canvas_->Unlock();
    ReleaseDC(Handle(), dc);
}

void TKVXCustomScrollBox::PaintNonClient(HDC dc) {
    if (Loading()) return;
    canvas_->SetHandle(dc);
    TRect r;
    bevel_->PaintBevel(canvas_.get(), {0, 0, Width(), Height()}, true, r);
    const LONG_PTR style = GetWindowLongPtrA(Handle(), GWL_STYLE);
    if ((style & WS_HSCROLL) && (style & WS_VSCROLL)) {
        if (WindowsBevel()) {
            const int d = Ctl3D() ? 2 : 1;
            r.Right -= d;
            r.Bottom -= d;
        }
        const TRect corner{r.Right - GetSystemMetrics(SM_CXVSCROLL), r.Bottom - GetSystemMetrics(SM_CYHSCROLL), r.Right,
                           r.Bottom};
        if (ShowsParentBackground()) {
            CopyParentBackground(canvas_.get(), corner, {Left() + corner.Left, Top() + corner.Top});
        } else {
            canvas_->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
            canvas_->Brush()->SetColor(Color());
            canvas_->FillRect(corner);
        }
    }
    canvas_->SetHandle(nullptr);
}

void TKVXCustomScrollBox::WMEraseBkgnd(fw::TMessage& message) {
    if (!ShowsParentBackground()) {
        fw::TScrollBox::WMEraseBkgnd(message);
        return;
    }
    message.Result = 1;
    // Under many children the paint that follows is enough.
    if (ControlCount() < 2) PaintWindow(reinterpret_cast<HDC>(message.WParam));
}

void TKVXCustomScrollBox::PaintWindow(HDC dc) {
    if (Loading() || !dc) return;
    canvas_->Lock();
    canvas_->SetHandle(dc);
    if (ShowsParentBackground()) CopyParentBackground(canvas_.get(), ClientRect(), ClientOriginInParent());
    if (OnPaint) OnPaint(this);
    canvas_->SetHandle(nullptr);
    canvas_->Unlock();
}

void TKVXCustomScrollBox::Scrolled(fw::TMessage& message, bool vertical) {
    fw::TControlScrollBar* bar = vertical ? VertScrollBar() : HorzScrollBar();
    const int before = bar->Position();
    scrolling_ = true;
    try {
        if (vertical)
            fw::TScrollBox::WMVScroll(message);
        else
            fw::TScrollBox::WMHScroll(message);
    } catch (...) {
        scrolling_ = false;
        throw;
    }
    scrolling_ = false;
    const int moved = before - bar->Position();
    if (!HandleAllocated()) return;
    if (!ShowsParentBackground()) {
        if (moved != 0) Invalidate();
        return;
    }
    if (instantUpdate_ || LOWORD(message.WParam) == SB_ENDSCROLL) {
        InvalidateRect(Handle(), nullptr, FALSE);
    } else if (moved != 0) {
        // The background moves with the content until the scroll ends; only the uncovered strip is new.
        ScrollWindowEx(Handle(), vertical ? 0 : moved, vertical ? moved : 0, nullptr, nullptr, nullptr, nullptr,
                       SW_INVALIDATE);
    }
}

void TKVXCustomScrollBox::WMHScroll(fw::TMessage& message) { Scrolled(message, false); }
void TKVXCustomScrollBox::WMVScroll(fw::TMessage& message) { Scrolled(message, true); }

void TKVXCustomScrollBox::WMSize(fw::TMessage& message) {
    fw::TScrollBox::WMSize(message);
    BevelChanged(nullptr);
}

void TKVXCustomScrollBox::WMMove(fw::TMessage& message) {
    fw::TScrollBox::WMMove(message);
    if (!ShowsParentBackground()) return;
    Repaint();
    for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(fw::CM_KVXPARENTBACKCHANGED);
}

void TKVXCustomScrollBox::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case fw::CM_COLORCHANGED:
        case fw::CM_PARENTCOLORCHANGED: {
            fw::TScrollBox::Dispatch(message);
            if (transparent_ || Loading()) break;
            Invalidate();
            const LONG_PTR style = HandleAllocated() ? GetWindowLongPtrA(Handle(), GWL_STYLE) : 0;
            if ((style & WS_HSCROLL) && (style & WS_VSCROLL)) SendMessageA(Handle(), WM_NCPAINT, 1, 0);
            break;
        }
        case fw::CM_CTL3DCHANGED:
            if (WindowsBevel()) RecreateWnd();
            fw::TScrollBox::Dispatch(message);
            break;
        case fw::CM_KVXPARENTBACKCHANGED:
            Invalidate();
            if (ShowsParentBackground())
                for (int i = 0; i < ControlCount(); ++i) Controls(i)->Perform(fw::CM_KVXPARENTBACKCHANGED);
            break;
        default: fw::TScrollBox::Dispatch(message); break;
    }
}

}  // namespace kvx::win32
