#include "widgets/win32/labels.h"

#include "framework/core/filer.h"
#include "framework/win32/application.h"
#include "framework/win32/graphics.h"
#include "framework/win32/keyboard.h"
#include "widgets/labeltext.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/panels.h"
#include "widgets/win32/startup.h"

namespace kvx::win32 {

namespace {

constexpr uint32_t kDtSingleLine = 0x20;

// The status bar a label sits on, or null.
TKVXCustomStatusBar* StatusBarOf(fw::TControl* control) { return dynamic_cast<TKVXCustomStatusBar*>(control->Parent()); }

// The measuring margin that adds exactly the bevel's room (KVXMeasureCaption adds (Margin + 1) * 2).
int BevelMargin(const TKVXBevel* bevel) { return (bevel ? bevel->Extent() : 0) - 1; }

template <class F>
void NotifyTo(TKVXObject* object, fw::TObject* self, F f) {
    object->OnChange.Bind(self, f);
}

}  // namespace

// ---- TKVXBaseLabel ------------------------------------------------------------------------------

TKVXBaseLabel::TKVXBaseLabel(TComponent* owner) : TKVXBaseGraphicControl(owner) { TControl::SetAutoSize(true); }

bool TKVXBaseLabel::GetFlag(int index) const {
    switch (index) {
        case 0: return AutoSize();
        case 1: return multiLine_;
        default: return showAccelChar_;
    }
}

void TKVXBaseLabel::SetFlag(int index, bool value) {
    if (GetFlag(index) == value) return;
    switch (index) {
        case 0:
            TControl::SetAutoSize(value);
            AdjustSize();
            break;
        case 1:
            multiLine_ = value;
            ContentChanged(nullptr);
            break;
        default:
            showAccelChar_ = value;
            Redraw();
            break;
    }
}

void TKVXBaseLabel::SetAlignment(TKVXAlignment value) {
    if (KVXStore(alignment_, value)) ContentChanged(nullptr);
}

void TKVXBaseLabel::SetOptions(TKVXLabelOptions value) {
    if (KVXStore(options_, value)) ContentChanged(nullptr);
}

void TKVXBaseLabel::SetFocusControl(fw::TWinControl* value) {
    focusControl_ = value;
    if (value) FreeNotification(value);
}

uint32_t TKVXBaseLabel::TextFlags() const { return KVXLabelTextFlags(alignment_, options_, showAccelChar_); }

uint32_t TKVXBaseLabel::OptionFlags() const { return KVXLabelTextFlags(TKVXAlignment::agTopLeft, options_, true) & 0xE000; }

void TKVXBaseLabel::ContentChanged(TObject*) {
    AdjustSize();
    Redraw();
}

bool TKVXBaseLabel::NothingToPaint() { return Transparent() && LabelText().empty(); }

void TKVXBaseLabel::FontChanged(TObject*) {
    // The framework clears ParentFont for a font changed by hand (and keeps it for the parent's font).
    if (Loading()) return;
    if (!InState(fw::csReading)) Canvas()->SetFont(Font());
    ContentChanged(nullptr);
}

void TKVXBaseLabel::ResizeTo(const TRect& measured) { SetBounds(Left(), Top(), measured.Right, measured.Bottom); }

bool TKVXBaseLabel::BeginPaintGuard() {
    if (painting_ || Loading()) return false;
    painting_ = true;
    return true;
}

void TKVXBaseLabel::Loaded() {
    TKVXBaseGraphicControl::Loaded();
    Canvas()->SetFont(Font());
    AdjustSize();
}

void TKVXBaseLabel::Dispatch(fw::TMessage& message) {
    switch (message.Msg) {
        case fw::CM_FONTCHANGED:
            TKVXBaseGraphicControl::Dispatch(message);
            FontChanged(Font());
            break;
        case fw::CM_TEXTCHANGED:
            AdjustSize();
            Redraw();
            break;
        case fw::CM_DIALOGCHAR:
            if (showAccelChar_ && focusControl_ && Enabled() && fw::IsAccel(static_cast<unsigned>(message.WParam), Caption()) &&
                focusControl_->CanFocus()) {
                focusControl_->SetFocus();
                message.Result = 1;
            }
            break;
        default: TKVXBaseGraphicControl::Dispatch(message); break;
    }
}

void TKVXBaseLabel::Notification(TComponent* component, fw::TOperation operation) {
    TKVXBaseGraphicControl::Notification(component, operation);
    if (operation == fw::opRemove && component == focusControl_) focusControl_ = nullptr;
}

// ---- jump targets -------------------------------------------------------------------------------

namespace {
TKVXShellOpen g_shellOpen;
}

void KVXSetShellOpen(TKVXShellOpen open) { g_shellOpen = std::move(open); }

intptr_t KVXShellOpen(const std::string& target) {
    if (g_shellOpen) return g_shellOpen(target);
    HWND owner = fw::Application ? fw::Application->Handle() : nullptr;
    return reinterpret_cast<intptr_t>(ShellExecuteA(owner, nullptr, target.c_str(), nullptr, nullptr, SW_SHOWNORMAL));
}

// ---- TKVXCustomSimpleLabel ----------------------------------------------------------------------

TKVXCustomSimpleLabel::TKVXCustomSimpleLabel(TComponent* owner)
    : TKVXBaseLabel(owner), font3D_(std::make_unique<TKVX3DCaption>()) {
    NotifyTo(font3D_.get(), this, [](void* self, TObject* sender) { static_cast<TKVXCustomSimpleLabel*>(self)->FontChanged(sender); });
}

TKVXCustomSimpleLabel::~TKVXCustomSimpleLabel() { font3D_->OnChange.Reset(); }

void TKVXCustomSimpleLabel::SetInActiveColor(TColor value) {
    if (!KVXStore(inActiveColor_, value)) return;
    if (useAsJump_) Font()->SetColor(value);
}

void TKVXCustomSimpleLabel::SetJumpUnderline(bool value) {
    if (!KVXStore(jumpUnderline_, value)) return;
    if (useAsJump_) Font()->SetStyle(Font()->Style().Include(fw::TFontStyle::fsUnderline));
}

void TKVXCustomSimpleLabel::SetJumpMode(TKVXJumpModes value) {
    if (!KVXStore(jumpMode_, value)) return;
    if (value == TKVXJumpModes::jmNone) {
        if (Loading()) return;
        SetCursor(fw::crDefault);
        Font()->SetColor(fw::clBlack);
        if (jumpUnderline_) Font()->SetStyle(Font()->Style().Exclude(fw::TFontStyle::fsUnderline));
        return;
    }
    // The link look.
    clicks_ = 0;
    Font()->SetColor(inActiveColor_);
    if (jumpUnderline_) Font()->SetStyle(Font()->Style().Include(fw::TFontStyle::fsUnderline));
    SetCursor(crKVXHand);
}

void TKVXCustomSimpleLabel::MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    if (jumpMode_ != TKVXJumpModes::jmNone && button == fw::mbLeft) {
        ++clicks_;
        Font()->SetColor(activeColor_);
    }
    TKVXBaseLabel::MouseDown(button, shift, x, y);
}

void TKVXCustomSimpleLabel::MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) {
    if (useAsJump_ && button == fw::mbLeft) Font()->SetColor(inActiveColor_);
    TKVXBaseLabel::MouseUp(button, shift, x, y);
}

void TKVXCustomSimpleLabel::Click() {
    TKVXBaseLabel::Click();
    const std::string target = KVXJumpTarget(jumpMode_, jump_, LabelText());
    if (target.empty()) return;
    const intptr_t result = KVXShellOpen(target);
    // A broken web or mail link cannot be clicked again; a program that did not start stays clickable.
    if (result <= 32 && jumpMode_ == TKVXJumpModes::jmInternet) {
        jumpMode_ = TKVXJumpModes::jmNone;
        SetEnabled(false);
    }
}

void TKVXCustomSimpleLabel::Loaded() {
    TKVXBaseLabel::Loaded();
    if (useAsJump_) jumpMode_ = TKVXJumpModes::jmInternet;
}

void TKVXCustomSimpleLabel::DefineProperties(fw::TFiler& filer) {
    TKVXBaseLabel::DefineProperties(filer);
    // Older forms: read, never written.
    filer.DefineProperty("UseAsJump", [this](fw::TReader& r) { useAsJump_ = r.ReadBoolean(); }, nullptr, false);
}

void TKVXCustomSimpleLabel::AdjustSize() {
    if (!AutoSize() || Loading()) return;
    TRect r = ClientRect();
    KVXMeasureCaption(LabelText(), font3D_.get(), r, Font(), MultiLine(), ShowAccelChar(), -1,
                      OptionFlags());
    ResizeTo(r);
}

void TKVXCustomSimpleLabel::Paint() {
    if (!BeginPaintGuard()) return;
    if (NothingToPaint()) {
        EndPaintGuard();
        return;
    }
    fw::TCanvas* c = Canvas();
    if (!Transparent()) FillClient();
    TRect r = ClientRect();
    uint32_t flags = TextFlags();
    const std::string text = LabelText();
    c->SetFont(Font());
    if (MultiLine()) {
        if (!KVXTopRowAlignment(Alignment()))
            KVXCaptionRect(Alignment(), text, font3D_.get(), ClientRect(), Font(), true, ShowAccelChar(), flags, r);
    } else {
        flags |= kDtSingleLine;
    }
    c->Brush()->SetColor(Color());
    c->Font()->SetColor(Font()->Color());
    KVXDrawCaptionText(c, text, font3D_.get(), r, flags, Enabled() ? ktfEnabled : 0, nullptr);
    EndPaintGuard();
}

// ---- TKVXCustomLabel ----------------------------------------------------------------------------

TKVXCustomLabel::TKVXCustomLabel(TComponent* owner)
    : TKVXBaseLabel(owner), bevel_(std::make_unique<TKVXBevel>()), fontFx_(std::make_unique<TKVXFxCaption>()) {
    NotifyTo(bevel_.get(), this, [](void* self, TObject* sender) { static_cast<TKVXCustomLabel*>(self)->ContentChanged(sender); });
    NotifyTo(fontFx_.get(), this, [](void* self, TObject* sender) { static_cast<TKVXCustomLabel*>(self)->FontChanged(sender); });
}

TKVXCustomLabel::~TKVXCustomLabel() {
    bevel_->OnChange.Reset();
    fontFx_->OnChange.Reset();
}

void TKVXCustomLabel::FontChanged(TObject* sender) {
    if (Loading()) return;
    Canvas()->SetFont(Font());
    if (fontFx_->Angle() != 0 && !KVXIsTrueTypeFont(Font())) {
        // A raster font cannot turn: a new raster font drops the rotation, a rotation asks for Arial
        // (whose change calls back here).
        if (sender == Font())
            fontFx_->SetAngle(0);
        else if (sender == fontFx_.get())
            Font()->SetName("Arial");
        return;
    }
    ContentChanged(sender);
}

void TKVXCustomLabel::AdjustSize() {
    if (!AutoSize() || Loading()) return;
    TRect r = ClientRect();
    KVXMeasureCaption(LabelText(), fontFx_.get(), r, Font(), MultiLine(), ShowAccelChar(), BevelMargin(bevel_.get()),
                      OptionFlags());
    if (TKVXCustomStatusBar* bar = StatusBarOf(this)) r.Right += bar->ExtraLabelWidth();
    ResizeTo(r);
}

bool TKVXCustomLabel::NothingToPaint() { return Transparent() && LabelText().empty() && bevel_->Extent() == 0; }

void TKVXCustomLabel::Paint() {
    if (!BeginPaintGuard()) return;
    if (NothingToPaint()) {
        EndPaintGuard();
        return;
    }
    fw::TCanvas* c = Canvas();
    if (!Transparent()) FillClient();
    TRect r = ClientRect();
    if (TKVXCustomStatusBar* bar = StatusBarOf(this)) r.Left += bar->ExtraLabelWidth();
    uint16_t drawFlags = Enabled() ? ktfEnabled : 0;
    TRect clip;
    if (bevel_->Extent() != 0) {
        TRect inner;
        bevel_->PaintBevel(c, r, bevel_->BorderColor() == Color() || Transparent(), inner);
        r = inner;
        // The clipping region is made in the parent's coordinates.
        clip = fw::OffsetRect(r, Left(), Top());
        drawFlags |= ktfClip;
    }
    uint32_t flags = TextFlags();
    const std::string text = LabelText();
    c->SetFont(Font());
    if (!AutoSize()) {
        const bool rotated = fontFx_->Angle() != 0;
        if (rotated || !MultiLine()) flags |= kDtSingleLine;
        const bool align = rotated ? Alignment() != TKVXAlignment::agTopLeft : MultiLine() && !KVXTopRowAlignment(Alignment());
        if (align) {
            const TRect area = r;
            KVXCaptionRect(Alignment(), text, fontFx_.get(), area, Font(), MultiLine(), ShowAccelChar(), flags, r);
        }
    }
    KVXDrawCaptionText(c, text, fontFx_.get(), r, flags, drawFlags, (drawFlags & ktfClip) ? &clip : nullptr);
    EndPaintGuard();
}

// ---- TKVXCustomGlyphLabel -----------------------------------------------------------------------

TKVXCustomGlyphLabel::TKVXCustomGlyphLabel(TComponent* owner)
    : TKVXBaseLabel(owner),
      layout_(std::make_unique<TKVXGlyphTextLayout>()),
      font3D_(std::make_unique<TKVX3DCaption>()),
      bevel_(std::make_unique<TKVXBevel>()) {
    auto changed = [](void* self, TObject* sender) { static_cast<TKVXCustomGlyphLabel*>(self)->ContentChanged(sender); };
    NotifyTo(layout_.get(), this, changed);
    NotifyTo(font3D_.get(), this, changed);
    NotifyTo(bevel_.get(), this, changed);
}

TKVXCustomGlyphLabel::~TKVXCustomGlyphLabel() {
    layout_->OnChange.Reset();
    font3D_->OnChange.Reset();
    bevel_->OnChange.Reset();
}

HPALETTE TKVXCustomGlyphLabel::GetPalette() { return NoImage() ? nullptr : ImageList()->GetPalette(ListIndex()); }

void TKVXCustomGlyphLabel::AdjustSize() {
    if (!AutoSize() || Loading()) return;
    TRect r = ClientRect();
    KVXMeasureCaption(LabelText(), font3D_.get(), r, Font(), MultiLine(), ShowAccelChar(), BevelMargin(bevel_.get()), 0);
    if (TKVXCustomStatusBar* bar = StatusBarOf(this)) r.Right += bar->ExtraLabelWidth();
    TPoint glyph{0, 0};
    if (!NoImage()) glyph = {ImageList()->GetSize(ListIndex(), 0), ImageList()->GetSize(ListIndex(), 1)};
    const TPoint size = KVXGlyphLabelSize({r.Right, r.Bottom}, glyph, layout_->AlignText2Glyph(), layout_->Spacing(),
                                          layout_->OffsetX(), layout_->OffsetY());
    SetBounds(Left(), Top(), size.X, size.Y);
}

void TKVXCustomGlyphLabel::Paint() {
    if (!BeginPaintGuard()) return;
    if (NothingToPaint() && bevel_->Extent() == 0 && NoImage()) {
        EndPaintGuard();
        return;
    }
    fw::TCanvas* c = Canvas();
    if (!Transparent()) FillClient();
    TRect r = ClientRect();
    if (TKVXCustomStatusBar* bar = StatusBarOf(this)) r.Left += bar->ExtraLabelWidth();
    if (bevel_->Extent() != 0) {
        TRect inner;
        bevel_->PaintBevel(c, r, bevel_->BorderColor() == Color() || Transparent(), inner);
        r = inner;
    }
    fw::TBitmap glyph;
    if (!NoImage()) ImageList()->GetBitmap(ListIndex(), ImageIndex(), &glyph);
    c->Brush()->SetColor(Color());
    c->SetFont(Font());
    KVXDrawGlyphTextBitmap(c, LabelText(), font3D_.get(), r, NoImage() ? nullptr : &glyph, nullptr, layout_.get(),
                           MultiLine(), ShowAccelChar(), Enabled() ? ktfEnabled : 0, 0);
    EndPaintGuard();
}

}  // namespace kvx::win32
