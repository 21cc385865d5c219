#include "widgets/win32/formfill.h"

#include "framework/win32/controls.h"
#include "widgets/drawtypes.h"
#include "widgets/kvxapplication.h"
#include "widgets/win32/sysinfo.h"

namespace kvx::win32 {

namespace {

// Binds a canvas to a DC it does not own for one paint, and lets go of it also when a paint event
// raises.
class BoundCanvas {
public:
    explicit BoundCanvas(HDC dc) { canvas_.SetHandle(dc); }
    ~BoundCanvas() { canvas_.SetHandle(nullptr); }
    BoundCanvas(const BoundCanvas&) = delete;
    BoundCanvas& operator=(const BoundCanvas&) = delete;
    fw::TCanvas* operator->() { return &canvas_; }
    fw::TCanvas* get() { return &canvas_; }

private:
    fw::TCanvas canvas_;
};

}  // namespace

TKVXCustomFormFill::TKVXCustomFormFill(TComponent* owner)
    : TKVXWndProcComponent(owner), image_(this, [this](TObject* sender) { ImageChanged(sender); }) {}

void TKVXCustomFormFill::SetPaintMode(TKVXPaintMode value) {
    if (value == paintMode_) return;
    paintMode_ = value;
    ChildChanged(this);
}

void TKVXCustomFormFill::ChildChanged(TObject*) {
    if (Enabled() && !InState(fw::csDesigning)) InvalidateTarget(true);
}

void TKVXCustomFormFill::ImageChanged(TObject*) { InvalidateTarget(true); }

void TKVXCustomFormFill::InvalidateTarget(bool erase) {
    auto* form = dynamic_cast<fw::TWinControl*>(Owner());
    if (form && form->HandleAllocated()) InvalidateRect(form->Handle(), nullptr, erase ? TRUE : FALSE);
}

fw::TRect TKVXCustomFormFill::FormClientRect() const {
    auto* form = dynamic_cast<fw::TWinControl*>(Owner());
    return form ? form->ClientRect() : fw::TRect{};
}

void TKVXCustomFormFill::EnableHook() {
    if (!Enabled()) return;
    TKVXWndProcComponent::EnableHook();
    if (!InState(fw::csLoading)) InvalidateTarget(true);
}

void TKVXCustomFormFill::DisableHook() {
    if (!InState(fw::csDestroying)) InvalidateTarget(true);
}

bool TKVXCustomFormFill::EraseBackground(HDC dc) {
    if (InState(fw::csLoading)) return false;
    if (paintMode_ != TKVXPaintMode::pcOwnerDraw || !OnPaint) return false;
    BoundCanvas canvas(dc);
    const fw::TRect client = FormClientRect();
    if (defaultFill_) {
        if (auto* form = dynamic_cast<fw::TControl*>(Owner())) {
            canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
            canvas->Brush()->SetColor(form->Color());
            canvas->FillRect(client);
        }
    }
    OnPaint(this, canvas.get(), fw::TRect{0, 0, client.Width(), client.Height()});
    return true;
}

void TKVXCustomFormFill::HookWndProc(fw::HookMessage& m) {
    if (!Enabled()) {
        TKVXWndProcComponent::HookWndProc(m);
        return;
    }
    switch (m.Msg) {
        case WM_SIZE:
        case WM_HSCROLL:
        case WM_VSCROLL:
            InvalidateTarget(false);
            return;
        case WM_ERASEBKGND:
            if (EraseBackground(reinterpret_cast<HDC>(m.WParam))) {
                m.Result = 1;
                m.Handled = true;
            }
            return;
        case WM_PALETTECHANGED:
            InvalidateTarget(true);
            return;
        default:
            TKVXWndProcComponent::HookWndProc(m);
    }
}

void TKVXCustomFormFill::Notification(TComponent* component, fw::TOperation operation) {
    TKVXWndProcComponent::Notification(component, operation);
    image_.Notification(component, operation);
}

void TKVXCustomFormFill::DefineProperties(fw::TFiler& filer) {
    TKVXWndProcComponent::DefineProperties(filer);
    image_.DefineProperties(filer);
}

bool TKVXBack::EraseBackground(HDC dc) {
    TKVXCustomImageList* list = ImageList();
    if (PaintMode() != TKVXPaintMode::pcControl || !list || !list->IsValid(ListIndex(), ImageIndex()))
        return TKVXCustomFormFill::EraseBackground(dc);
    // With automatic palette realization on a palette display the system realizes it already.
    const bool autoRealize = KVXApplication &&
                             KVXApplication->Options.Contains(TKVXApplicationOption::aoAutoRealizePalette) &&
                             KVXColorDepth() < 9;
    const uint16_t flags = autoRealize ? kpfTile : static_cast<uint16_t>(kpfTile | kpfPalette);
    BoundCanvas canvas(dc);
    list->DrawClipped(canvas.get(), FormClientRect(), flags, 0, 0, ListIndex(), ImageIndex());
    return true;
}

}  // namespace kvx::win32
