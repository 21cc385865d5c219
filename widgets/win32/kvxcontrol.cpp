#include "widgets/win32/kvxcontrol.h"

#include "framework/win32/graphics.h"
#include "widgets/win32/kvxcustomcontrol.h"

namespace kvx::win32 {

TKVXCustomControl* KVXSuiteParent(const fw::TControl* control) {
    return control ? dynamic_cast<TKVXCustomControl*>(control->Parent()) : nullptr;
}

// ---- TKVXBaseControl ----------------------------------------------------------------------------

TKVXBaseControl::TKVXBaseControl(TComponent* owner)
    : TGraphicControl(owner), image_(this, [this](TObject* sender) { ImageListChanged(sender); }) {}

void TKVXBaseControl::SetBounds(int left, int top, int width, int height) {
    const TRect before = BoundsRect();
    TGraphicControl::SetBounds(left, top, width, height);
    const TKVXBoundsKind kind = KVXBoundsKind(before, BoundsRect());
    if (!kind.Empty() && !Loading()) BoundsChanged(kind);
}

void TKVXBaseControl::BoundsChanged(TKVXBoundsKind kind) {
    if (OnBoundsChanged) OnBoundsChanged(this, kind);
}

void TKVXBaseControl::ContentChanged(TObject*) {
    if (!Loading()) Invalidate();
}

void TKVXBaseControl::DoMouseEnter() {
    if (OnMouseEnter) OnMouseEnter(this);
}

void TKVXBaseControl::DoMouseExit() {
    if (OnMouseExit) OnMouseExit(this);
}

TPoint TKVXBaseControl::OffsetToParent(int x, int y) const {
    const fw::TControl* p = Parent();
    return p ? TPoint{x + p->Left(), y + p->Top()} : TPoint{x, y};
}

TRect TKVXBaseControl::ClientRectToScreen(const TRect& rect) const {
    const TPoint a = ClientToScreen({rect.Left, rect.Top}), b = ClientToScreen({rect.Right, rect.Bottom});
    return {a.X, a.Y, b.X, b.Y};
}

void TKVXBaseControl::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case fw::CM_MOUSEENTER:
        case fw::CM_MOUSELEAVE: {
            const auto* who = reinterpret_cast<const fw::TControl*>(message.LParam);
            TGraphicControl::Dispatch(message);
            if (!who || who == this) {
                if (message.Msg == fw::CM_MOUSEENTER)
                    DoMouseEnter();
                else
                    DoMouseExit();
            }
            break;
        }
        case fw::CM_KVXPARENTBACKCHANGED:
            if (!Loading() && UsesParentBackground()) ContentChanged(nullptr);
            break;
        default: TGraphicControl::Dispatch(message); break;
    }
}

void TKVXBaseControl::Notification(TComponent* component, fw::TOperation operation) {
    TGraphicControl::Notification(component, operation);
    image_.Notification(component, operation);
}

void TKVXBaseControl::DefineProperties(fw::TFiler& filer) {
    TGraphicControl::DefineProperties(filer);
    image_.DefineProperties(filer);
}

void TKVXBaseControl::DrawDesignFrame() {
    fw::TCanvas* c = Canvas();
    c->Pen()->SetColor(fw::clBlack);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(fw::TPenStyle::psDash);
    c->Pen()->SetMode(fw::TPenMode::pmCopy);
    c->Brush()->SetStyle(fw::TBrushStyle::bsClear);
    c->Rectangle(0, 0, Width(), Height());
}

void TKVXBaseControl::FillClient() {
    fw::TCanvas* c = Canvas();
    c->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    c->Brush()->SetColor(Color());
    c->Pen()->SetStyle(fw::TPenStyle::psClear);
    c->FillRect(ClientRect());
}

// ---- TKVXBaseGraphicControl ---------------------------------------------------------------------

TKVXBaseGraphicControl::TKVXBaseGraphicControl(TComponent* owner) : TKVXBaseControl(owner) {
    SetControlStyle((ControlStyle() & ~fw::csOpaque) | fw::csReplicatable);
    SetBounds(Left(), Top(), 30, 30);
}

void TKVXBaseGraphicControl::SetTransparent(bool value) {
    if (value == transparent_) return;
    SetControlStyle(value ? ControlStyle() & ~fw::csOpaque : ControlStyle() | fw::csOpaque);
    transparent_ = value;
    Perform(fw::CM_KVXTRANSPARENTCHANGED);
}

void TKVXBaseGraphicControl::MakeOpaque() {
    transparent_ = false;
    SetControlStyle(ControlStyle() | fw::csOpaque);
}

void TKVXBaseGraphicControl::Redraw() {
    if (transparent_)
        Invalidate();
    else
        Repaint();  // an opaque control paints straight into its parent's DC
}

bool TKVXBaseGraphicControl::UsesParentBackground() {
    TKVXCustomControl* parent = KVXSuiteParent(this);
    return transparent_ && parent && parent->HandleAllocated() && parent->HasBackground();
}

void TKVXBaseGraphicControl::ContentChanged(TObject*) { Redraw(); }

void TKVXBaseGraphicControl::Dispatch(fw::TMessage& message) {
    if (message.Msg == fw::CM_KVXTRANSPARENTCHANGED) {
        TransparentChanged();
        return;
    }
    TKVXBaseControl::Dispatch(message);
}

// ---- TKVXGraphicControl -------------------------------------------------------------------------

TKVXGraphicControl::TKVXGraphicControl(TComponent* owner)
    : TKVXBaseGraphicControl(owner), bevel_(std::make_unique<TKVXBevel>()) {
    bevel_->OnChange.Bind(this, [](void* self, TObject* sender) {
        static_cast<TKVXGraphicControl*>(self)->ContentChanged(sender);
    });
}

TKVXGraphicControl::~TKVXGraphicControl() { bevel_->OnChange.Reset(); }

void TKVXGraphicControl::SetBevel(TKVXBevel* value) {
    bevel_->Assign(value);
    Perform(fw::CM_KVXBEVELCHANGED);
}

TRect TKVXGraphicControl::BevelClientRect() const {
    TRect inner;
    bevel_->InnerRect(ClientRect(), inner);
    return inner;
}

void TKVXGraphicControl::Paint() {
    if (Loading()) return;
    if (NothingToPaint() && BevelWidth() == 0) {
        TKVXBaseGraphicControl::Paint();
        return;
    }
    TRect inner;
    bevel_->PaintBevel(Canvas(), ClientRect(), Transparent(), inner);
}

}  // namespace kvx::win32
