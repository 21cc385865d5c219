// TKyvSpeedButton: a windowless tool button with up to five state images, an aligned or word-wrapped
// caption, flat and transparent looks, grouping (one button down per group), auto-repeat and an attached
// drop-down menu with a small mark. Its painter TKyvButtonGlyph builds the state images lazily (embossed
// when disabled, grey when inactive) into image lists shared by all buttons (glyphcache.h).
#pragma once

#include <memory>
#include <string>

#include "framework/core/event.h"
#include "framework/win32/controls.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_bitbtn.h"
#include "uisupport/controls/speedlayout.h"

namespace fw {
class TBitmap;
class TCanvas;
class TPopupMenu;
class TTimer;
}  // namespace fw

namespace uis {

class TGlyphList;

// Drawing states and state image numbers.
enum class TKyvButtonState { bsUp, bsDisabled, bsDown, bsExclusive, bsInactive };
enum class TKyvButtonStyle { bsAutoDetect, bsWin31, bsNew };
enum class TKyvDropDownMenuPos { dmpBottom, dmpRight };
enum class TKyvAlignment { taLeftJustify, taRightJustify, taCenter };

class TKyvButtonGlyph {
public:
    TKyvButtonGlyph();
    ~TKyvButtonGlyph();
    TKyvButtonGlyph(const TKyvButtonGlyph&) = delete;
    TKyvButtonGlyph& operator=(const TKyvButtonGlyph&) = delete;

    fw::TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(fw::TBitmap* value);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    TKyvAlignment Alignment() const { return alignment_; }
    void SetAlignment(TKyvAlignment value) { alignment_ = value; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { wordWrap_ = value; }
    fw::TColor TransparentColor() const { return transparentColor_; }

    // The state image's slot in the shared list, built on first use; -1 without a glyph.
    int CreateButtonGlyph(TKyvButtonState state);
    TGlyphList* List() const { return list_; }
    // Releases every built image and returns the list to the cache.
    void Invalidate();

    // Draws glyph and caption into `rect`; returns the caption rectangle.
    fw::TRect Draw(fw::TCanvas* canvas, const fw::TRect& rect, const std::string& caption, TGlyphSide side,
                   int margin, int spacing, bool drawMark, TKyvButtonState state, bool enabled);

    // Runs when the glyph bitmap changed (the button invalidates itself).
    fw::TNotifyEvent OnChange;

private:
    void GlyphChanged(fw::TObject* sender);
    int CellWidth() const;

    std::unique_ptr<fw::TBitmap> glyph_;
    fw::TColor transparentColor_ = fw::clFuchsia;
    int numGlyphs_ = 1;
    TKyvAlignment alignment_ = TKyvAlignment::taCenter;
    bool wordWrap_ = false;
    int indexes_[5] = {-1, -1, -1, -1, -1};
    TGlyphList* list_ = nullptr;
};

class TKyvSpeedButton : public fw::TGraphicControl {
public:
    explicit TKyvSpeedButton(fw::TComponent* owner);

    fw::TBitmap* Glyph() const { return glyph_->Glyph(); }
    void SetGlyph(fw::TBitmap* value);
    int NumGlyphs() const { return glyph_->NumGlyphs(); }
    // Values above 5 are stored as 5; 0 is ignored.
    void SetNumGlyphs(int value);
    TKyvAlignment Alignment() const { return glyph_->Alignment(); }
    void SetAlignment(TKyvAlignment value);
    bool WordWrap() const { return glyph_->WordWrap(); }
    void SetWordWrap(bool value);
    fw::TButtonLayout Layout() const { return layout_; }
    void SetLayout(fw::TButtonLayout value);
    int Margin() const { return margin_; }
    // Values below -1 are refused.
    void SetMargin(int value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    TKyvButtonStyle Style() const { return style_; }
    void SetStyle(TKyvButtonStyle value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool GrayedInactive() const { return grayedInactive_; }
    void SetGrayedInactive(bool value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    bool AllowTimer() const { return allowTimer_; }
    void SetAllowTimer(bool value);
    int InitPause() const { return initPause_; }
    void SetInitPause(int value) { initPause_ = value; }
    int RepeatInterval() const { return repeatInterval_; }
    void SetRepeatInterval(int value) { repeatInterval_ = value; }
    fw::TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(fw::TPopupMenu* value);
    TKyvDropDownMenuPos MenuPosition() const { return menuPosition_; }
    void SetMenuPosition(TKyvDropDownMenuPos value) { menuPosition_ = value; }
    bool MarkDropDown() const { return markDropDown_; }
    void SetMarkDropDown(bool value);
    fw::TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(fw::TModalResult value) { modalResult_ = value; }

    TKyvButtonState State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }
    TKyvButtonGlyph& Painter() const { return *glyph_; }

    // Gives the parent form ModalResult, then the framework's click.
    void Click() override;
    HPALETTE GetPalette() override;
    void ActionChange(fw::TObject* sender, bool checkDefaults) override;
    // Fires OnDblClick only while the button is down.
    void DblClick() override;

protected:
    ~TKyvSpeedButton() override;
    void Loaded() override;
    void Paint() override;
    void Dispatch(fw::TMessage& message) override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseMove(fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void CMMouseEnter(fw::TMessage& message) override;
    void CMMouseLeave(fw::TMessage& message) override;
    void CMEnabledChanged(fw::TMessage& message) override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

    virtual void DrawGlyphAndCaption(fw::TCanvas* canvas, const fw::TRect& rect, bool drawMark, TKyvButtonState state);
    virtual void DoMouseEnter();
    virtual void DoMouseLeave();

private:
    void GlyphChanged(fw::TObject* sender);
    void UpdateExclusive();
    void ButtonPressed(int groupIndex, TKyvSpeedButton* sender);
    void RepeatTimer(fw::TObject* sender);
    void StopTimer();
    // Builds the image of the state shown first (disabled, inactive when flat, else up).
    void PrepareFirstState();
    fw::TRect DrawFrame(fw::TCanvas* canvas, fw::TRect rect, bool pressed);
    void DropDown(int x, int y);
    void UpdateMouseInControl();
    bool NewLook() const { return style_ == TKyvButtonStyle::bsNew || style_ == TKyvButtonStyle::bsAutoDetect; }

    std::unique_ptr<TKyvButtonGlyph> glyph_;
    fw::TButtonLayout layout_ = fw::TButtonLayout::blGlyphTop;
    int margin_ = -1;
    int spacing_ = 1;
    TKyvButtonStyle style_ = TKyvButtonStyle::bsAutoDetect;
    bool flat_ = false;
    bool transparent_ = false;
    bool grayedInactive_ = true;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
    bool allowTimer_ = false;
    int initPause_ = 500;
    int repeatInterval_ = 100;
    fw::TPopupMenu* dropDownMenu_ = nullptr;
    TKyvDropDownMenuPos menuPosition_ = TKyvDropDownMenuPos::dmpBottom;
    bool markDropDown_ = true;
    fw::TModalResult modalResult_ = fw::mrNone;

    TKyvButtonState state_ = TKyvButtonState::bsUp;
    bool mouseInControl_ = false;
    bool dragging_ = false;
    bool menuTracking_ = false;
    bool wasDisabled_ = false;
    fw::TTimer* repeatTimer_ = nullptr;
};

void RegisterSpeedButtonClasses();

}  // namespace uis
