// TSplitter.
#include "framework/win32/std_splitter.h"

namespace fw {

TSplitter::TSplitter(TComponent* owner) : TGraphicControl(owner) {
    SetAlign(alLeft);
    SetBounds(0, 0, 3, 100);
    SetCursor(crHSplit);
}

void TSplitter::Loaded() {
    TGraphicControl::Loaded();
    if (Cursor() == crHSplit && (Align() == alTop || Align() == alBottom)) SetCursor(crVSplit);
}

TControl* TSplitter::FindControl() const {
    TWinControl* parent = Parent();
    if (!parent) return nullptr;
    // The point just outside the splitter on the side it is aligned to.
    TPoint p{Left(), Top()};
    switch (Align()) {
        case alLeft: p = Point(Left() - 1, Top() + Height() / 2); break;
        case alRight: p = Point(Left() + Width(), Top() + Height() / 2); break;
        case alTop: p = Point(Left() + Width() / 2, Top() - 1); break;
        case alBottom: p = Point(Left() + Width() / 2, Top() + Height()); break;
        default: return nullptr;
    }
    for (int i = 0; i < parent->ControlCount(); ++i) {
        TControl* c = parent->Controls(i);
        if (c == this || !c->Visible() || c->Align() != Align()) continue;
        if (PtInRect(c->BoundsRect(), p)) return c;
    }
    return nullptr;
}

void TSplitter::Paint() {
    Canvas()->Brush()->SetColor(Color());
    Canvas()->FillRect(ClientRect());
    TGraphicControl::Paint();
}

void TSplitter::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft) return;
    control_ = FindControl();
    downPos_ = ClientToScreen(Point(x, y));
    if (control_) startSize_ = Vertical() ? control_->Width() : control_->Height();
}

void TSplitter::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!control_ || !shift.Contains(ssLeft)) return;
    const TPoint now = ClientToScreen(Point(x, y));
    int delta = Vertical() ? now.X - downPos_.X : now.Y - downPos_.Y;
    if (Align() == alRight || Align() == alBottom) delta = -delta;
    const int size = std::max(startSize_ + delta, minSize_);
    if (Vertical())
        control_->SetWidth(size);
    else
        control_->SetHeight(size);
}

void TSplitter::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !control_) return;
    control_ = nullptr;
    if (OnMoved) OnMoved(this);
}

void RegisterSplitterClasses() {
    Class<TSplitter, TGraphicControl>("TSplitter")
        .Prop("MinSize", &TSplitter::MinSize, &TSplitter::SetMinSize)
        .Event("OnMoved", &TSplitter::OnMoved);
}

}  // namespace fw
