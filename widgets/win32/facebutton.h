// TKVXCustomMMButton: a graphic button whose whole face is a picture of a face image list, one per
// button state (with fallbacks: widgets/pictureplace.h), placed with transparency; glyph and caption
// are drawn over it. With AllowTransparency the button reacts only where the face it shows is not the
// face transparent colour, so irregular buttons work. The face is built off-screen and copied once.
#pragma once

#include "widgets/pictureplace.h"
#include "widgets/win32/graphicbutton.h"
#include "widgets/win32/imagelink.h"

namespace kvx::win32 {

class TKVXCustomMMButton : public TKVXBaseGraphicButton {
public:
    explicit TKVXCustomMMButton(TComponent* owner);

    TKVXCustomImageList* ButtonFaceImageList() const { return faceLink_.List(); }
    void SetButtonFaceImageList(TKVXCustomImageList* value);
    // The picture (ListIndex, ImageIndex) of a state.
    TKVXFacePair Face(TKVXButtonState state) const { return faces_[static_cast<size_t>(state)]; }
    void SetFace(TKVXButtonState state, TKVXFacePair face);
    int CaptionDown() const { return captionDown_; }
    void SetCaptionDown(int value) { captionDown_ = value; }
    TColor FaceTransparentColor() const { return faceTransparent_; }
    void SetFaceTransparentColor(TColor value) { faceTransparent_ = value; }
    bool ForceTransparent() const { return forceTransparent_; }
    void SetForceTransparent(bool value);
    bool QuickDraw() const { return quickDraw_; }
    void SetQuickDraw(bool value);
    TKVXBitmapStyle ButtonFaceStyle() const { return faceStyle_; }
    void SetButtonFaceStyle(TKVXBitmapStyle value);
    void SetTransparent(bool value);
    // Where the last face picture was placed (empty before the first paint).
    TRect FaceRect() const { return faceRect_; }

    // No face list, or no picture at the state's pair.
    bool NoFaceImage(TKVXButtonState state);
    HPALETTE GetPalette() override;

protected:
    ~TKVXCustomMMButton() override;
    virtual void FaceListChanged(TObject* sender) { ContentChanged(sender); }
    bool NothingToPaint() override { return !ButtonFaceImageList(); }
    bool PointInButton(int x, int y) override;
    void Notification(TComponent* component, fw::TOperation operation) override;
    void DefineProperties(fw::TFiler& filer) override;
    void Paint() override;

private:
    // The state whose face is shown for the current state, if any.
    std::optional<TKVXButtonState> ShownFace();

    TKVXImageLink faceLink_;
    TKVXFaceTable faces_{};
    int captionDown_ = 1;
    TColor faceTransparent_ = fw::clWhite;
    bool forceTransparent_ = true;
    bool quickDraw_ = false;
    TKVXBitmapStyle faceStyle_ = TKVXBitmapStyle::sbNone;
    TRect faceRect_{};
};

class TKVXMMButton : public TKVXCustomMMButton {
public:
    using TKVXCustomMMButton::TKVXCustomMMButton;
};

}  // namespace kvx::win32
