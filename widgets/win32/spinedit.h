// TKVXSpinEdit: an integer entry field over the system EDIT (a multi-line edit, so its formatting
// rectangle can leave room) with a TKVXSpinButton at its right end, in a small windowed holder. The
// number may carry a unit suffix; limits, line and page steps, the arrow and page keys, the wheel and
// the auto-repeating spin button step it. Enter and Escape go to the form as dialog keys, so the
// default and cancel buttons work from the field.
//
// The text arithmetic is in widgets/spinvalue.h.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "framework/win32/graphics.h"
#include "framework/win32/std_edit.h"
#include "widgets/kvxclass.h"
#include "widgets/spinvalue.h"
#include "widgets/timerpool.h"

namespace kvx::win32 {

// The beep a refused key or a step of a read-only field gives (MessageBeep(0) unless replaced; tests
// count it). Null restores the system beep.
void KVXSetSpinBeep(std::function<void()> beep);

// Two triangles split by the diagonal from the bottom-left to the top-right corner: the top one steps
// up, the bottom one down. Holding a half repeats its step, first after the interval plus 200 ms, then
// every interval (a timer of the application's pool).
class TKVXSpinButton : public fw::TGraphicControl {
public:
    explicit TKVXSpinButton(TComponent* owner);

    TNotifyEvent OnTopClick;
    TNotifyEvent OnBottomClick;

    // Milliseconds; the 50 ms timer pool serves only multiples of 50, so other values are refused.
    uint16_t Interval() const { return interval_; }
    void SetInterval(uint16_t value);
    // 0 up, 1 top half pressed, 2 bottom half pressed, 3 disabled.
    int State() const { return state_; }

protected:
    ~TKVXSpinButton() override;
    void Paint() override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseMove(fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void Dispatch(fw::TMessage& message) override;

private:
    void SetState(int value);
    void Fire(int half);
    void Tick(TObject* sender);
    void BuildFaces();
    void DrawFace(int face);
    TKVXTimerItem* TimerItem() const;

    uint16_t timer_ = 0;
    std::unique_ptr<fw::TBitmap> faces_;
    int state_ = 0;
    int pressed_ = 0;
    uint16_t interval_ = 100;
    bool tracking_ = false;
};

class TKVXCustomSpinEdit : public fw::TCustomEdit {
public:
    explicit TKVXCustomSpinEdit(TComponent* owner);

    // The number the text reads as (see KVXParseSpinText); the limits are not applied. Reading puts a
    // text that is not a number right.
    int32_t Value();
    // Shows the value limited to MinValue..MaxValue, followed by the suffix.
    void SetValue(int32_t value);

    int32_t MinValue() const { return limits_.MinValue; }
    // Only a value below MaxValue is taken; Value follows when it falls outside.
    void SetMinValue(int32_t value);
    int32_t MaxValue() const { return limits_.MaxValue; }
    // Only a value above MinValue is taken; Value follows when it falls outside.
    void SetMaxValue(int32_t value);
    int32_t LineSize() const { return lineSize_; }
    void SetLineSize(int32_t value) { lineSize_ = value; }
    int32_t PageSize() const { return pageSize_; }
    void SetPageSize(int32_t value) { pageSize_ = value; }
    // False: the number cannot be typed, only stepped.
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool value) { editorEnabled_ = value; }
    const std::string& Suffix() const { return suffix_; }
    // Shows the value again with the new suffix.
    void SetSuffix(const std::string& value);
    fw::TAlignment Alignment() const { return alignment_; }
    // Recreates the window.
    void SetAlignment(fw::TAlignment value);
    uint16_t Interval() const { return button_->Interval(); }
    void SetInterval(uint16_t value) { button_->SetInterval(value); }
    TKVXSpinButton* Button() const { return button_; }

    // Value - LineSize (a beep when read-only).
    virtual void StepDown();
    virtual bool IsValidChar(char key);
    // Value + LineSize (a beep when read-only).
    virtual void StepUp();

    // Never lower than the font needs.
    void SetBounds(int left, int top, int width, int height) override;

protected:
    void CreateParams(fw::TCreateParams& params) override;
    void CreateWnd() override;
    void Dispatch(fw::TMessage& message) override;
    void WMSize(fw::TMessage& message) override;
    void DoEnter() override;
    void DoExit() override;
    void KeyDown(uint16_t& key, fw::TShiftState shift) override;
    void KeyPress(char& key) override;
    bool DoMouseWheel(fw::TShiftState shift, int wheelDelta, fw::TPoint mousePos) override;
    void Change() override;

private:
    void Step(int32_t step);
    int MinHeight();
    void AdjustLayout();
    void UpdateEditRect();
    void TopClick(TObject*) { StepUp(); }
    void BottomClick(TObject*) { StepDown(); }

    TKVXSpinLimits limits_;
    int32_t lineSize_ = 1;
    int32_t pageSize_ = 10;
    bool editorEnabled_ = true;
    std::string suffix_;
    fw::TAlignment alignment_ = fw::TAlignment::taLeftJustify;
    fw::TWinControl* holder_;
    TKVXSpinButton* button_;
};

class TKVXSpinEdit : public TKVXCustomSpinEdit {
public:
    using TKVXCustomSpinEdit::TKVXCustomSpinEdit;
};

}  // namespace kvx::win32
