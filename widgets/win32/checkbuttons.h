// Owner-drawn check boxes and radio buttons: a glyph cell (drawn by the system's frame-control painter,
// or taken from an image list) and a caption with 3D effects, laid out by a glyph-and-text layout, in
// windows of their own so they take the focus and the keyboard.
//
// TKVXButtonControl is the base; TKVXCustomCheckBox toggles through unchecked, checked and (with
// AllowGrayed) grayed; TKVXRadioButton unchecks the other radio buttons of its parent when checked.
// The buttons of a group (buttongroups.h) derive from them. The toggle cycle and the glyph cells are
// in widgets/buttongroup.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "framework/win32/std_button.h"
#include "widgets/buttongroup.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/panels.h"

namespace kvx::win32 {

class TKVXButtonControl : public TKVXCustomPanel {
public:
    explicit TKVXButtonControl(TComponent* owner);

    // Where glyph and caption sit.
    TKVXGlyphTextLayout* Alignment() const { return alignment_.get(); }
    void SetAlignment(TKVXGlyphTextLayout* value) { alignment_->Assign(value); }
    void SetAutoSize(bool value) override;
    bool GlyphTransparent() const { return glyphTransparent_; }
    void SetGlyphTransparent(bool value);
    TColor GlyphTransparentColor() const { return glyphTransparentColor_; }
    void SetGlyphTransparentColor(TColor value);
    bool GlyphFlat() const { return glyphFlat_; }
    void SetGlyphFlat(bool value);
    uint8_t GlyphSize() const { return glyphSize_; }
    void SetGlyphSize(uint8_t value);
    TKVX3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(TKVX3DCaption* value) { font3D_->Assign(value); }
    TKVXGlyphTextFocusStyle FocusStyle() const { return focusStyle_; }
    void SetFocusStyle(TKVXGlyphTextFocusStyle value);
    TColor FocusColor() const { return focusColor_; }
    void SetFocusColor(TColor value);
    bool UseFocusColor() const { return useFocusColor_; }
    void SetUseFocusColor(bool value);
    // Paint through an off-screen bitmap.
    bool UseBitmap() const { return useBitmap_; }
    void SetUseBitmap(bool value) { useBitmap_ = value; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }

    // The glyph strip (one cell per look) and the width of a cell.
    fw::TBitmap* GlyphStrip() const { return strip_.get(); }
    int CellWidth() const { return cellWidth_; }
    // The cell the last paint showed.
    int PaintedCell() const { return paintedCell_; }

    virtual bool GetChecked() { return false; }
    virtual void SetChecked(bool value) {}
    virtual bool CanModify() { return !readOnly_; }
    // Set by a group while it configures the button: changes do not paint.
    void SetPaintSuppressed(bool value) { paintSuppressed_ = value; }
    // Paints now, outside a paint message.
    void PaintNow();
    // Glyph and caption as DrawContents lays them out from the top-left corner.
    bool MeasureCaption(int& needed, int& room) override;

    void ActionChange(TObject* sender, bool checkDefaults) override;

    // Raised by the user's change of the state (never by setting it in code).
    TNotifyEvent OnChange;

protected:
    void CreateParams(fw::TCreateParams& params) override;
    void WndProc(fw::TMessage& message) override;
    void Dispatch(fw::TMessage& message) override;
    void WMSize(fw::TMessage& message) override;
    void DoExit() override;
    void Loaded() override;
    void Paint() override;
    void ImageListChanged(TObject* sender) override;

    // Fills the strip with the built-in looks; CellsPerStrip is the divisor of its width.
    virtual void BuildGlyphs() {}
    virtual int CellsPerStrip() = 0;
    // The cell for StateIndex (0: the control's own state).
    virtual int GlyphCell(int stateIndex) = 0;
    virtual void AdjustSize();
    // The rectangle glyph and caption take from the top-left corner of the client area.
    TRect ContentExtent();
    // Measures (Paint false) or draws glyph and caption into Rect; Rect becomes the focus rectangle.
    virtual void DrawContents(fw::TCanvas* canvas, bool paint, TRect& rect, int stateIndex);
    // The left and right pixels the content area gives up.
    virtual int RightInset() { return 0; }
    // After the caption's accelerator focused the button.
    virtual void AcceleratorPressed() {}
    // The change of a look: the size follows and the control repaints (not while loading).
    void Changed();
    // The built-in strip of Cells cells of GlyphSize from DrawFrameControl; Flags per cell.
    void PaintFrameCells(const uint32_t* flags, int cells, TColor background);
    bool UsesBuiltInGlyphs() const { return NoImage(); }
    // The glyphs again: the built-in ones, or the image list's picture.
    void ReloadGlyphs();

    // A press is taking the focus, or an action is setting the state: the state changes it makes are
    // not the user's.
    bool clicking_ = false;

private:
    void LayoutChanged(TObject*) { Changed(); }
    // Size or flatness of the built-in glyphs changed: they are drawn again.
    void BuiltInLookChanged();

    std::unique_ptr<TKVXGlyphTextLayout> alignment_;
    std::unique_ptr<TKVX3DCaption> font3D_;
    std::unique_ptr<fw::TBitmap> strip_;
    int cellWidth_ = 0;
    int paintedCell_ = -1;
    bool glyphTransparent_ = false;
    TColor glyphTransparentColor_ = 0x008080;
    bool glyphFlat_ = false;
    uint8_t glyphSize_ = 13;
    TKVXGlyphTextFocusStyle focusStyle_ = TKVXGlyphTextFocusStyle::fcText;
    TColor focusColor_ = 0x808080;
    bool useFocusColor_ = false;
    bool useBitmap_ = false;
    bool readOnly_ = false;
    bool paintSuppressed_ = false;
};

class TKVXCustomCheckBox : public TKVXButtonControl {
public:
    explicit TKVXCustomCheckBox(TComponent* owner);

    bool AllowGrayed() const { return allowGrayed_; }
    void SetAllowGrayed(bool value) { allowGrayed_ = value; }
    fw::TCheckBoxState State() const { return state_; }
    // Stores and repaints; no OnChange.
    void SetState(fw::TCheckBoxState value);
    bool Checked() const { return state_ == fw::TCheckBoxState::cbChecked; }
    // Writing False to a grayed box changes nothing.
    void SetChecked(bool value) override;
    bool GetChecked() override { return Checked(); }
    // How many states the strip holds (0 is taken as 1).
    uint8_t GlyphNumber() const { return glyphNumber_; }
    void SetGlyphNumber(uint8_t value);

    // The user's toggle: the next state of the cycle, then OnChange when it changed.
    virtual void Toggle();
    void Click() override;

protected:
    virtual fw::TCheckBoxState GetPaintState() { return state_; }
    void BuildGlyphs() override;
    int CellsPerStrip() override { return glyphNumber_ * 2; }
    int GlyphCell(int stateIndex) override;
    void KeyDown(uint16_t& key, fw::TShiftState shift) override;
    void DoEnter() override;
    // Toggles when the box can be modified.
    void AcceleratorPressed() override;

private:
    bool allowGrayed_ = false;
    fw::TCheckBoxState state_ = fw::TCheckBoxState::cbUnchecked;
    uint8_t glyphNumber_ = 3;
};

class TKVXCheckBox : public TKVXCustomCheckBox {
public:
    using TKVXCustomCheckBox::TKVXCustomCheckBox;
};

class TKVXRadioButton : public TKVXButtonControl {
public:
    explicit TKVXRadioButton(TComponent* owner);

    bool Checked() const { return checked_; }
    // Checking unchecks every other radio button of the parent and clicks.
    void SetChecked(bool value) override;
    bool GetChecked() override { return checked_; }

protected:
    void BuildGlyphs() override;
    int CellsPerStrip() override { return 4; }
    int GlyphCell(int stateIndex) override;
    int RightInset() override { return 1; }
    void DoEnter() override;

private:
    bool checked_ = false;
};

}  // namespace kvx::win32
