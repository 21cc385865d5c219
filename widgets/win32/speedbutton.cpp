#include "widgets/win32/speedbutton.h"

#include "widgets/win32/buttonframe.h"
#include "widgets/win32/kvxcustomcontrol.h"

namespace kvx::win32 {

using U = TKVXUserButtonStyle;
using S = TKVXButtonState;

TKVXCustomSpeedButton::TKVXCustomSpeedButton(TComponent* owner) : TKVXBaseGraphicButton(owner) {
    SetControlStyle(fw::csCaptureMouse | fw::csOpaque | fw::csDoubleClicks | fw::csReplicatable);
    SetAllowMouseOver(true);
    SetAllowTransparency(false);
    SetBounds(Left(), Top(), 23, 22);
}

int TKVXCustomSpeedButton::ButtonBorderWidth(U style) {
    switch (style) {
        case U::ubsWin31: return 3;
        case U::ubsAutoDetect:  // the framework always has new-style controls
        case U::ubsWin40:
        case U::ubsTrevik:
        case U::ubsTrevikFlat:
        case U::ubsNavigator: return 2;
        default: return 1;
    }
}

void TKVXCustomSpeedButton::SetStyle(U value) {
    if (value == style_) return;
    GlyphObject()->SetShaded(value == U::ubsFlatUnColored || value == U::ubsNavigator || value == U::ubsExplorer);
    const bool explorer = value == U::ubsExplorer || value == U::ubsExplorerColored;
    const bool wasExplorer = style_ == U::ubsExplorer || style_ == U::ubsExplorerColored;
    if (explorer)
        SetTransparentFlag(true);
    else if (wasExplorer)
        SetTransparentFlag(false);
    style_ = value;
    ContentChanged(nullptr);
}

bool TKVXCustomSpeedButton::HoverNeedsRepaint() {
    return static_cast<int>(style_) >= static_cast<int>(U::ubsTrevikFlat);
}

void TKVXCustomSpeedButton::ImageListChanged(TObject* sender) {
    if (glyphKind_ == TKVXGlyphKind::gkCustom) TKVXBaseGraphicButton::ImageListChanged(sender);
}

void TKVXCustomSpeedButton::MouseInsideFlagChanged() {
    if (style_ == U::ubsTrevikFlat || style_ == U::ubsFlat || style_ == U::ubsFlatUnColored || style_ == U::ubsNavigator)
        PaintNow();
}

void TKVXCustomSpeedButton::Paint() {
    if (Loading()) return;
    fw::TCanvas* c = Canvas();
    const int f = ButtonBorderWidth(style_);
    if ((style_ == U::ubsExplorer || style_ == U::ubsExplorerColored) && UsesParentBackground())
        KVXSuiteParent(this)->CopyBackground(c, ClientRect(), OffsetToParent(Left(), Top()));
    TRect r = ClientRect();
    KVXDrawButtonFrame(c, MouseInside(), r, style_, static_cast<uint8_t>(State()), kbfCorners | kbfDefault, Color());
    TRect caption = fw::InflateRect(ClientRect(), -f, -f);
    const S s = State();
    if (s == S::bstLatched || s == S::bstDown || s == S::bstDropped) caption = fw::OffsetRect(caption, 1, 1);
    DrawCaption(c, caption);
}

TKVXOfficeButton::TKVXOfficeButton(TComponent* owner) : TKVXCustomSpeedButton(owner) {
    SetControlStyle(fw::csCaptureMouse | fw::csDoubleClicks | fw::csReplicatable);
    SetStyle(U::ubsFlat);
}

}  // namespace kvx::win32
