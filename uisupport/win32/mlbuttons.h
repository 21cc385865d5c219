// The media buttons: windowed push buttons drawn from three pre-built faces (normal, hot, pressed).
//
// TmlCustomBitmapButton chooses the face from the mouse and key state, clicks, and can show its parent
// through the face's corners; TmlRealTimeButton builds the faces when it is loaded (or first painted)
// and plays sounds on hover and click; TmlBlurButton draws the faces: a rectangle, rounded rectangle or
// ellipse in Color over BackColor, a bevel from Color, an optional blur, and the caption in TextColor
// (ActiveTextColor while the mouse is over it).
#pragma once

#include <memory>

#include "framework/win32/controls.h"
#include "framework/win32/forms.h"

namespace fw {
class TBitmap;
}

namespace uis {

class TmlWavePlayer;

enum class TmlKind { bkRect, bkRoundRect, bkEllipse };
enum class TPressState { psNone, psPressed, psPressedOutside };

class TmlCustomBitmapButton : public fw::TCustomControl {
public:
    explicit TmlCustomBitmapButton(fw::TComponent* owner);

    fw::TColor BackColor() const { return backColor_; }
    void SetBackColor(fw::TColor value);
    fw::TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(fw::TModalResult value) { modalResult_ = value; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

    bool Hot() const { return hot_; }
    TPressState PressState() const { return pressState_; }
    // The face painted now (0 normal, 1 hot, 2 pressed), or -1 without faces.
    int CurrentFace() const;
    fw::TBitmap* Face(int index) const { return faces_[index].get(); }

    // Plays the click sound when hot, gives the parent form ModalResult, fires OnClick.
    void Click() override;

protected:
    ~TmlCustomBitmapButton() override;
    virtual void SetPressedState(TPressState pressed);
    virtual void SetHot(bool hot);
    // Painting while a face is missing (nothing here).
    virtual void PaintWithoutFaces() {}
    void SetFace(int index, fw::TBitmap* face);
    void ClearFaces();
    bool HasFaces() const;

    void Paint() override;
    void Dispatch(fw::TMessage& message) override;
    void MouseDown(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void MouseMove(fw::TShiftState shift, int x, int y) override;
    void MouseUp(fw::TMouseButton button, fw::TShiftState shift, int x, int y) override;
    void KeyDown(uint16_t& key, fw::TShiftState shift) override;
    void CMMouseEnter(fw::TMessage& message) override;
    void CMMouseLeave(fw::TMessage& message) override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

    TmlWavePlayer* clickSound_ = nullptr;
    TmlWavePlayer* activeSound_ = nullptr;

private:
    std::unique_ptr<fw::TBitmap> faces_[3];
    fw::TColor backColor_ = fw::clBtnFace;
    fw::TModalResult modalResult_ = fw::mrNone;
    bool transparent_ = true;
    bool hot_ = false;
    TPressState pressState_ = TPressState::psNone;
};

class TmlRealTimeButton : public TmlCustomBitmapButton {
public:
    explicit TmlRealTimeButton(fw::TComponent* owner);

    TmlWavePlayer* ClickSound() const { return clickSound_; }
    void SetClickSound(TmlWavePlayer* value);
    TmlWavePlayer* ActiveSound() const { return activeSound_; }
    void SetActiveSound(TmlWavePlayer* value);

    // Builds the three faces now (normal, hot, pressed); the client size becomes the normal face's.
    void BuildFaces();
    void Loaded() override;

protected:
    ~TmlRealTimeButton() override = default;
    // A new face for the state (none here).
    virtual fw::TBitmap* CreateFace(bool pressed, bool hot) { return nullptr; }
    void PaintWithoutFaces() override;
    void SetHot(bool hot) override;
    // A change of the look: the faces are built again before the next paint.
    void FacesChanged();
    void CMFontChanged(fw::TMessage& message) override;
    void CMTextChanged(fw::TMessage& message) override;
    void CMColorChanged(fw::TMessage& message) override;
    void Resize() override;

private:
    bool building_ = false;
};

class TmlBlurButton : public TmlRealTimeButton {
public:
    explicit TmlBlurButton(fw::TComponent* owner);

    fw::TColor ActiveTextColor() const { return activeTextColor_; }
    void SetActiveTextColor(fw::TColor value);
    // The property name is spelled so in the form data the programs carry.
    int BevelWidht() const { return bevelWidth_; }
    void SetBevelWidht(int value);
    bool Blur() const { return blur_; }
    void SetBlur(bool value);
    TmlKind Kind() const { return kind_; }
    void SetKind(TmlKind value);
    fw::TColor TextColor() const { return textColor_; }
    void SetTextColor(fw::TColor value);

protected:
    ~TmlBlurButton() override = default;
    fw::TBitmap* CreateFace(bool pressed, bool hot) override;

private:
    fw::TColor activeTextColor_ = fw::clHighlight;
    int bevelWidth_ = 2;
    bool blur_ = true;
    TmlKind kind_ = TmlKind::bkRect;
    fw::TColor textColor_ = fw::clWindowText;
};

void RegisterMediaButtonClasses();

}  // namespace uis
