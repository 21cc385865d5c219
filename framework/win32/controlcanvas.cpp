#include "framework/win32/controlcanvas.h"

#include <algorithm>
#include <vector>

namespace fw {

namespace {

constexpr size_t kMaxHeldDCs = 4;

// Canvases holding a DC of their own, oldest first (GUI thread only).
std::vector<TControlCanvas*>& HeldCanvases() {
    static std::vector<TControlCanvas*> list;
    return list;
}

}  // namespace

void FreeControlCanvasDCs(HWND window) {
    auto& list = HeldCanvases();
    for (TControlCanvas* canvas : std::vector<TControlCanvas*>(list)) {
        if (canvas->HeldWindow() == window) canvas->FreeHandle();
    }
}

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
    auto& list = HeldCanvases();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
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
    auto& list = HeldCanvases();
    while (list.size() >= kMaxHeldDCs) list.front()->FreeHandle();
    HDC dc = GetDCEx(window, nullptr, DCX_CACHE | DCX_CLIPSIBLINGS);
    if (!dc) return;
    if (!dynamic_cast<TWinControl*>(control_)) {
        SetWindowOrgEx(dc, -control_->Left(), -control_->Top(), nullptr);
        IntersectClipRect(dc, 0, 0, control_->Width(), control_->Height());
    }
    ownDC_ = dc;
    ownWindow_ = window;
    list.push_back(this);
    SetHandle(dc);
}

}  // namespace fw
