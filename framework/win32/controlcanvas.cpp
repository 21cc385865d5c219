#include "framework/win32/controlcanvas.h"

namespace fw {

TControlCanvas::~TControlCanvas() { FreeHandle(); }

void TControlCanvas::SetControl(TControl* control) {
    if (control_ == control) return;
    FreeHandle();
    control_ = control;
}

void TControlCanvas::FreeHandle() {
    if (!ownDC_) return;
    HDC dc = ownDC_;
    ownDC_ = nullptr;
    if (HandleAllocated()) SetHandle(nullptr);
    ReleaseDC(ownWindow_, dc);
    ownWindow_ = nullptr;
}

void TControlCanvas::CreateHandle() {
    if (!control_) return;
    HWND window = nullptr;
    if (auto* wc = dynamic_cast<TWinControl*>(control_)) {
        window = wc->Handle();
    } else if (TWinControl* parent = control_->Parent()) {
        window = parent->Handle();
    }
    if (!window) return;
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!dc) return;
    if (!dynamic_cast<TWinControl*>(control_)) {
        SetWindowOrgEx(dc, -control_->Left(), -control_->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
    }
    ownDC_ = dc;
    ownWindow_ = window;
    SetHandle(dc);
}

}  // namespace fw
