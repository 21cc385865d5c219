#include "widgets/win32/checkbuttons.h"

#include <algorithm>
#include <vector>

#include "framework/win32/actions.h"
#include "framework/win32/keyboard.h"
#include "framework/win32/messages.h"
#include "widgets/drawgeometry.h"
#include "widgets/win32/captiondraw.h"

namespace kvx::win32 {

namespace {

fw::TCheckBoxState ToFramework(TKVXCheckState s) { return static_cast<fw::TCheckBoxState>(s); }
TKVXCheckState ToPortable(fw::TCheckBoxState s) { return static_cast<TKVXCheckState>(s); }

}  // namespace

// ---- TKVXButtonControl --------------------------------------------------------------------------

TKVXButtonControl::TKVXButtonControl(TComponent* owner)
    : TKVXCustomPanel(owner),
      alignment_(std::make_unique<TKVXGlyphTextLayout>()),
      font3D_(std::make_unique<TKVX3DCaption>()),
      strip_(std::make_unique<fw::TBitmap>()) {
    SetControlStyle((ControlStyle() & ~(fw::csAcceptsControls | fw::csDoubleClicks)) | fw::csSetCaption | fw::csOpaque);
    SetBounds(Left(), Top(), 105, 17);
    SetTabStop(true);
    alignment_->SetSpacing(4);
    alignment_->OnChange = TNotifyEvent(this, &TKVXButtonControl::LayoutChanged);
    font3D_->OnChange = TNotifyEvent(this, &TKVXButtonControl::LayoutChanged);
}

void TKVXButtonControl::CreateParams(fw::TCreateParams& params) {
    TKVXCustomPanel::CreateParams(params);
    params.WindowClass.style &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TKVXButtonControl::SetAutoSize(bool value) {
    if (AutoSize() == value) return;
    TKVXCustomPanel::SetAutoSize(value);
    AdjustSize();
}

void TKVXButtonControl::SetGlyphTransparent(bool value) {
    if (glyphTransparent_ == value) return;
    glyphTransparent_ = value;
    Invalidate();
}

void TKVXButtonControl::SetGlyphTransparentColor(TColor value) {
    if (glyphTransparentColor_ == value) return;
    glyphTransparentColor_ = value;
    Changed();
}

void TKVXButtonControl::SetGlyphFlat(bool value) {
    if (glyphFlat_ == value) return;
    glyphFlat_ = value;
    BuiltInLookChanged();
}

void TKVXButtonControl::SetGlyphSize(uint8_t value) {
    if (glyphSize_ == value) return;
    glyphSize_ = value;
    BuiltInLookChanged();
}

void TKVXButtonControl::BuiltInLookChanged() {
    if (!UsesBuiltInGlyphs()) return;
    ReloadGlyphs();
    Changed();
}

void TKVXButtonControl::SetFocusStyle(TKVXGlyphTextFocusStyle value) {
    if (focusStyle_ == value) return;
    focusStyle_ = value;
    if (Focused()) Changed();
}

void TKVXButtonControl::SetFocusColor(TColor value) {
    if (focusColor_ == value) return;
    focusColor_ = value;
    if (Focused()) Changed();
}

void TKVXButtonControl::SetUseFocusColor(bool value) {
    if (useFocusColor_ == value) return;
    useFocusColor_ = value;
    if (Focused()) Changed();
}

void TKVXButtonControl::PaintNow() {
    if (HandleAllocated()) DrawNow([this] { Paint(); });
}

void TKVXButtonControl::Changed() {
    if (Loading()) return;
    AdjustSize();
    if (!paintSuppressed_) PaintNow();
}

void TKVXButtonControl::ReloadGlyphs() {
    if (UsesBuiltInGlyphs())
        BuildGlyphs();
    else
        ImageList()->GetBitmap(ListIndex(), ImageIndex(), strip_.get());
    cellWidth_ = strip_->Width() / std::max(1, CellsPerStrip());
}

void TKVXButtonControl::ImageListChanged(TObject*) {
    ReloadGlyphs();
    Changed();
}

void TKVXButtonControl::PaintFrameCells(const uint32_t* flags, int cells, TColor background) {
    const int size = glyphSize_;
    strip_->SetSize(size * cells, size);
    fw::TCanvas* c = strip_->Canvas();
    c->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
    c->Brush()->SetColor(background);
    c->FillRect(fw::Rect(0, 0, size * cells, size));
    for (int i = 0; i < cells; ++i) {
        RECT r{i * size, 0, (i + 1) * size, size};
        DrawFrameControl(c->Handle(), &r, DFC_BUTTON, flags[i] | (glyphFlat_ ? DFCS_FLAT : 0));
    }
}

void TKVXButtonControl::DrawContents(fw::TCanvas* canvas, bool paint, TRect& rect, int stateIndex) {
    if (strip_->Empty()) ReloadGlyphs();
    canvas->Brush()->SetColor(Color());
    canvas->Font()->Assign(Font());
    TRect area = ClientRect();
    area.Left += 1;
    area.Right -= RightInset();
    const int cell = GlyphCell(stateIndex);
    fw::TCanvas* glyph = nullptr;
    TRect glyphRect{};
    if (cellWidth_ > 0 && strip_->Height() > 0) {
        glyph = strip_->Canvas();
        glyphRect = fw::Rect(cell * cellWidth_, 0, (cell + 1) * cellWidth_, strip_->Height());
    }
    uint16_t flags = KVXFocusStyleFlags(focusStyle_) | (Enabled() ? ktfEnabled : 0);
    if (!paint) flags |= ktfMeasureOnly;
    KVXDrawGlyphText(canvas, Caption(), font3D_.get(), area, glyph, glyphRect, nullptr, glyphTransparentColor_,
                     alignment_.get(), false, true, glyphTransparent_, flags, 0);
    rect = glyphRect;
    if (!paint) return;
    paintedCell_ = cell;
    if (!Focused() || focusStyle_ == TKVXGlyphTextFocusStyle::fcNone) return;
    const TRect focus = focusStyle_ == TKVXGlyphTextFocusStyle::fcControl ? ClientRect() : rect;
    if (useFocusColor_) {
        canvas->Brush()->SetStyle(fw::TBrushStyle::bsClear);
        canvas->Pen()->SetStyle(fw::TPenStyle::psDot);
        canvas->Pen()->SetWidth(1);
        canvas->Pen()->SetColor(focusColor_);
        canvas->Rectangle(focus);
        canvas->Pen()->SetStyle(fw::TPenStyle::psSolid);
    } else {
        canvas->Brush()->SetStyle(fw::TBrushStyle::bsSolid);
        canvas->DrawFocusRect(focus);
    }
}

void TKVXButtonControl::AdjustSize() {
    if (!AutoSize() || Loading()) return;
    const TRect measured = ContentExtent();
    SetBounds(Left(), Top(), measured.Right, measured.Bottom);
}

bool TKVXButtonControl::MeasureCaption(int& needed, int& room) {
    if (Caption().empty()) return false;
    // The caption is not clipped to the content area, only to the window.
    needed = ContentExtent().Right;
    room = ClientWidth();
    return true;
}

TRect TKVXButtonControl::ContentExtent() {
    // Measured from the top-left corner, without telling anyone about the borrowed alignment.
    const TNotifyEvent notify = alignment_->OnChange;
    alignment_->OnChange.Reset();
    const TKVXAlignment saved = alignment_->Alignment();
    alignment_->SetAlignment(TKVXAlignment::agTopLeft);
    fw::TBitmap scratch;
    scratch.SetSize(1, 1);
    TRect measured{};
    DrawContents(scratch.Canvas(), false, measured, 0);
    alignment_->SetAlignment(saved);
    alignment_->OnChange = notify;
    return measured;
}

void TKVXButtonControl::Paint() {
    if (!HandleAllocated() || Loading()) return;
    TRect result{};
    if (!useBitmap_) {
        PaintBackground();
        DrawContents(Canvas(), true, result, 0);
        return;
    }
    fw::TBitmap off;
    off.SetSize(ClientWidth(), ClientHeight());
    fw::TCanvas* c = off.Canvas();
    if (!(UsesBackgroundBitmap() && CopyBackground(c, ClientRect(), {Left(), Top()}))) {
        c->Brush()->SetColor(Color());
        c->FillRect(ClientRect());
    }
    DrawContents(c, true, result, 0);
    Canvas()->Draw(0, 0, &off);
}

void TKVXButtonControl::Loaded() {
    TKVXCustomPanel::Loaded();
    AdjustSize();
}

void TKVXButtonControl::WndProc(fw::TMessage& message) {
    // A press first takes the focus; a press that could not take it is dropped.
    if ((message.Msg == WM_LBUTTONDOWN || message.Msg == WM_LBUTTONDBLCLK) && !InState(fw::csDesigning) && !Focused()) {
        clicking_ = true;
        try {
            SetFocus();
        } catch (...) {
            clicking_ = false;
            throw;
        }
        clicking_ = false;
        if (!Focused()) return;
    }
    if (message.Msg == fw::CN_COMMAND && clicking_) return;
    TKVXCustomPanel::WndProc(message);
}

void TKVXButtonControl::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case fw::CM_DIALOGCHAR:
            // The caption's accelerator focuses the button (a radio button checks itself as it enters).
            if (Enabled() && fw::IsAccel(static_cast<unsigned>(message.WParam), Caption()) && CanFocus()) {
                SetFocus();
                AcceleratorPressed();
                message.Result = 1;
                return;
            }
            TKVXCustomPanel::Dispatch(message);
            break;
        case fw::CM_ENABLEDCHANGED:
        case fw::CM_FONTCHANGED:
            TKVXCustomPanel::Dispatch(message);
            Changed();
            break;
        case fw::CM_TEXTCHANGED:
            TKVXCustomPanel::Dispatch(message);
            Invalidate();
            break;
        default: TKVXCustomPanel::Dispatch(message); break;
    }
}

void TKVXButtonControl::WMSize(fw::TMessage& message) {
    TKVXCustomPanel::WMSize(message);
    PaintNow();
}

void TKVXButtonControl::DoExit() {
    TKVXCustomPanel::DoExit();
    PaintNow();
}

void TKVXButtonControl::ActionChange(TObject* sender, bool checkDefaults) {
    TKVXCustomPanel::ActionChange(sender, checkDefaults);
    auto* action = dynamic_cast<fw::TCustomAction*>(sender);
    if (!action || (checkDefaults && GetChecked())) return;
    clicking_ = true;
    try {
        SetChecked(action->Checked());
    } catch (...) {
        clicking_ = false;
        throw;
    }
    clicking_ = false;
}

// ---- TKVXCustomCheckBox -------------------------------------------------------------------------

TKVXCustomCheckBox::TKVXCustomCheckBox(TComponent* owner) : TKVXButtonControl(owner) {}

void TKVXCustomCheckBox::SetState(fw::TCheckBoxState value) {
    if (state_ == value) return;
    state_ = value;
    PaintNow();
}

void TKVXCustomCheckBox::SetChecked(bool value) {
    if (value != Checked()) SetState(value ? fw::TCheckBoxState::cbChecked : fw::TCheckBoxState::cbUnchecked);
}

void TKVXCustomCheckBox::SetGlyphNumber(uint8_t value) {
    glyphNumber_ = value == 0 ? 1 : value;
    ReloadGlyphs();
    Changed();
}

void TKVXCustomCheckBox::Toggle() {
    const fw::TCheckBoxState old = state_;
    SetState(ToFramework(KVXToggleState(ToPortable(state_), allowGrayed_)));
    if (state_ != old && OnChange) OnChange(this);
}

void TKVXCustomCheckBox::Click() {
    if (CanModify()) Toggle();
    TKVXButtonControl::Click();
    if (IsVisible() && CanFocus() && !Focused()) SetFocus();
}

void TKVXCustomCheckBox::BuildGlyphs() {
    // Unchecked, checked and grayed, each followed by its disabled look; a strip of more states
    // repeats the grayed pair.
    static constexpr uint32_t kLooks[kKVXCheckGlyphCells] = {
        DFCS_BUTTONCHECK,
        DFCS_BUTTONCHECK | DFCS_INACTIVE,
        DFCS_BUTTONCHECK | DFCS_CHECKED,
        DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE,
        DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE,
        DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_BUTTON3STATE | DFCS_INACTIVE,
    };
    const int cells = CellsPerStrip();
    std::vector<uint32_t> flags(static_cast<size_t>(cells));
    for (int i = 0; i < cells; ++i) flags[static_cast<size_t>(i)] = kLooks[std::min(i, 4 + i % 2)];
    PaintFrameCells(flags.data(), cells, fw::clBtnFace);
}

int TKVXCustomCheckBox::GlyphCell(int) { return KVXCheckGlyphCell(ToPortable(GetPaintState()), glyphNumber_, Enabled()); }

void TKVXCustomCheckBox::KeyDown(uint16_t& key, fw::TShiftState shift) {
    if (key == VK_SPACE && CanModify() && Focused()) Toggle();
    TKVXButtonControl::KeyDown(key, shift);
}

void TKVXCustomCheckBox::DoEnter() {
    TKVXButtonControl::DoEnter();
    PaintNow();
}

void TKVXCustomCheckBox::AcceleratorPressed() {
    if (CanModify()) Toggle();
}

// ---- TKVXRadioButton ----------------------------------------------------------------------------

TKVXRadioButton::TKVXRadioButton(TComponent* owner) : TKVXButtonControl(owner) {
    SetGlyphTransparent(true);
    SetTabStop(false);
}

void TKVXRadioButton::SetChecked(bool value) {
    if (checked_ == value) return;
    checked_ = value;
    SetTabStop(value);
    if (value) {
        if (fw::TWinControl* parent = Parent()) {
            for (int i = 0; i < parent->ControlCount(); ++i) {
                auto* other = dynamic_cast<TKVXRadioButton*>(parent->Controls(i));
                if (other && other != this) other->SetChecked(false);
            }
        }
        Click();
    }
    PaintNow();
}

void TKVXRadioButton::BuildGlyphs() {
    static constexpr uint32_t kLooks[kKVXRadioGlyphCells] = {
        DFCS_BUTTONRADIO,
        DFCS_BUTTONRADIO | DFCS_INACTIVE,
        DFCS_BUTTONRADIO | DFCS_CHECKED,
        DFCS_BUTTONRADIO | DFCS_CHECKED | DFCS_INACTIVE,
    };
    PaintFrameCells(kLooks, kKVXRadioGlyphCells, 0x008080);
}

int TKVXRadioButton::GlyphCell(int stateIndex) { return KVXRadioGlyphCell(checked_, Enabled(), stateIndex); }

void TKVXRadioButton::DoEnter() {
    TKVXButtonControl::DoEnter();
    if (!checked_ && CanModify())
        SetChecked(true);
    else
        PaintNow();
}

}  // namespace kvx::win32
