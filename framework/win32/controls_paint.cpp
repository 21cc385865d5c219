// Painting: a window paints itself and then its windowless children in z-order, each clipped and
// offset to its own rectangle; TCustomControl and TGraphicControl paint through a canvas.
#include <algorithm>

#include "framework/win32/controlcanvas.h"
#include "framework/win32/controls.h"
#include "framework/win32/graphics.h"

namespace fw {

namespace {

bool IsWindowed(const TControl* c) { return dynamic_cast<const TWinControl*>(c) != nullptr; }

// Paints `canvas`-based content for `dc`: binds the canvas to the DC for the call.
template <class F>
void PaintOnCanvas(TControlCanvas* canvas, HDC dc, F&& paint) {
    canvas->Lock();
    canvas->FreeHandle();
    canvas->SetHandle(dc);
    try {
        paint();
    } catch (...) {
        canvas->SetHandle(nullptr);
        canvas->Unlock();
        throw;
    }
    canvas->SetHandle(nullptr);
    canvas->Unlock();
}

}  // namespace

HBRUSH TWinControl::BackgroundBrush() {
    if (!brush_ || brushColor_ != Color()) {
        if (brush_) DeleteObject(brush_);
        brush_ = CreateSolidBrush(static_cast<COLORREF>(ColorToRGB(Color())));
        brushColor_ = Color();
    }
    return brush_;
}

void TWinControl::Invalidate() {
    if (handle_) InvalidateRect(handle_, nullptr, (ControlStyle() & csOpaque) ? FALSE : TRUE);
}

void TWinControl::Repaint() {
    Invalidate();
    Update();
}

void TWinControl::Update() {
    if (handle_) UpdateWindow(handle_);
}

void TWinControl::WMEraseBkgnd(TMessage& message) {
    HDC dc = reinterpret_cast<HDC>(message.WParam);
    if (!dc) {
        message.Result = 0;
        return;
    }
    const TRect client = ClientRect();
    RECT r{client.Left, client.Top, client.Right, client.Bottom};
    FillRect(dc, &r, BackgroundBrush());
    message.Result = 1;
}

void TWinControl::WMPaint(TMessage& message) {
    HDC given = reinterpret_cast<HDC>(message.WParam);
    // A window of a system class without children paints itself as it likes.
    if (controls_.empty() && !(controlState_ & csCustomPaint) && defWndProc_ != DefWindowProcA) {
        DefaultHandler(message);
        return;
    }
    if (given) {
        PaintHandler(given);
    } else if (handle_) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle_, &ps);
        try {
            PaintHandler(dc);
        } catch (...) {
            EndPaint(handle_, &ps);
            throw;
        }
        EndPaint(handle_, &ps);
    }
    message.Result = 0;
}

void TWinControl::PaintHandler(HDC dc) {
    // Opaque windowless children cover their rectangles: the window does not paint there.
    const int saved = SaveDC(dc);
    bool clipped = false;
    for (TControl* c : controls_) {
        if (IsWindowed(c)) continue;
        if (c->ControlState() & csPaintCopy) break;
        if (c->Visible() && (c->ControlStyle() & csOpaque)) {
            ExcludeClipRect(dc, c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height());
            clipped = true;
        }
    }
    (void)clipped;
    try {
        PaintWindow(dc);
    } catch (...) {
        RestoreDC(dc, saved);
        throw;
    }
    RestoreDC(dc, saved);
    PaintControls(dc, nullptr);
}

void TWinControl::PaintWindow(HDC dc) {
    // The default procedure paints nothing; a system class paints into the given DC.
    if (defWndProc_ == DefWindowProcA || !defWndProc_) return;
    TMessage message{WM_PAINT, reinterpret_cast<WPARAM>(dc), 0, 0};
    DefaultHandler(message);
}

void TWinControl::PaintControls(HDC dc, TControl* first) {
    size_t start = 0;
    if (first) {
        auto it = std::find(controls_.begin(), controls_.end(), first);
        if (it != controls_.end()) start = static_cast<size_t>(it - controls_.begin());
    }
    // A snapshot: painting code may change the list.
    const std::vector<TControl*> list(controls_.begin() + static_cast<std::ptrdiff_t>(start), controls_.end());
    for (TControl* c : list) {
        if (IsWindowed(c)) continue;
        if (c->ControlState() & csPaintCopy) break;
        if (!c->Visible()) continue;
        RECT r{c->Left(), c->Top(), c->Left() + c->Width(), c->Top() + c->Height()};
        if (!RectVisible(dc, &r)) continue;
        const int saved = SaveDC(dc);
        POINT org{0, 0};
        GetWindowOrgEx(dc, &org);
        SetWindowOrgEx(dc, org.x - c->Left(), org.y - c->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, c->Width(), c->Height());
        try {
            c->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
        } catch (...) {
            RestoreDC(dc, saved);
            throw;
        }
        RestoreDC(dc, saved);
    }
}

void PaintControlBackground(TControl* control, HDC dc) {
    if (!control || !dc) return;
    TWinControl* parent = control->Parent();
    if (!parent || !parent->HandleAllocated()) return;
    const TControlState before = control->ControlState();
    control->SetControlState(before | csPaintCopy);
    const int saved = SaveDC(dc);
    POINT org{0, 0};
    GetWindowOrgEx(dc, &org);
    SetWindowOrgEx(dc, org.x + control->Left(), org.y + control->Top(), nullptr);
    try {
        parent->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
        parent->Perform(WM_PAINT, reinterpret_cast<WPARAM>(dc), 0);
    } catch (...) {
        RestoreDC(dc, saved);
        control->SetControlState(before);
        throw;
    }
    RestoreDC(dc, saved);
    control->SetControlState(before);
}

// ---- TCustomControl ------------------------------------------------------------------------------

TCustomControl::TCustomControl(TComponent* owner) : TWinControl(owner), canvas_(new TControlCanvas) {
    canvas_->SetControl(this);
}

TCustomControl::~TCustomControl() { delete canvas_; }

TCanvas* TCustomControl::Canvas() const { return canvas_; }

void TCustomControl::Paint() {
    if (OnPaint) OnPaint(this);
}

void TCustomControl::PaintWindow(HDC dc) {
    PaintOnCanvas(canvas_, dc, [this] { Paint(); });
}

void TCustomControl::WMPaint(TMessage& message) {
    controlState_ |= csCustomPaint;
    try {
        TWinControl::WMPaint(message);
    } catch (...) {
        controlState_ &= ~csCustomPaint;
        throw;
    }
    controlState_ &= ~csCustomPaint;
}

void TCustomControl::DestroyWnd() {
    canvas_->FreeHandle();
    TWinControl::DestroyWnd();
}

// ---- TGraphicControl -----------------------------------------------------------------------------

TGraphicControl::TGraphicControl(TComponent* owner) : TControl(owner), canvas_(new TControlCanvas) {
    canvas_->SetControl(this);
}

TGraphicControl::~TGraphicControl() { delete canvas_; }

TCanvas* TGraphicControl::Canvas() const { return canvas_; }

void TGraphicControl::Paint() {
    if (OnPaint) OnPaint(this);
}

void TGraphicControl::Dispatch(TMessage& message) {
    if (message.Msg == WM_PAINT) {
        // Painted by the parent into its DC, already offset and clipped to this control.
        if (HDC dc = reinterpret_cast<HDC>(message.WParam)) PaintOnCanvas(canvas_, dc, [this] { Paint(); });
        message.Result = 0;
        return;
    }
    TControl::Dispatch(message);
}

}  // namespace fw
