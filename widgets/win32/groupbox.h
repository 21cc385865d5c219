// TKVXCustomGroupBox: a parent panel with a bevelled frame and a caption on any of its four sides, at
// the start, centre or end of the side, turned on the left and right sides (widgets/groupcaption.h).
// The children are arranged inside the frame and outside the caption's strip; the caption's
// accelerator focuses the first child. TKVXGroupBox publishes it.
#pragma once

#include <memory>

#include "widgets/controltypes.h"
#include "widgets/win32/panels.h"

namespace kvx::win32 {

class TKVXCustomGroupBox : public TKVXCustomParentPanel {
public:
    explicit TKVXCustomGroupBox(TComponent* owner);

    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool value);
    TKVXGroupCaptionAlign Alignment() const { return alignment_; }
    void SetAlignment(TKVXGroupCaptionAlign value);
    int CaptionOffset() const { return captionOffset_; }
    void SetCaptionOffset(int value);
    fw::TFont* CaptionFont() const { return captionFont_.get(); }
    void SetCaptionFont(fw::TFont* value) { captionFont_->Assign(value); }
    bool CaptionParentFont() const { return captionParentFont_; }
    void SetCaptionParentFont(bool value);
    TKVX3DCaption* CaptionFont3D() const { return captionFont3D_.get(); }
    void SetCaptionFont3D(TKVX3DCaption* value) { captionFont3D_->Assign(value); }
    // The height of the caption's line with its effect.
    int CaptionExtent() const { return extent_; }
    // The caption's text along its side, in the strip Paint gives it.
    bool MeasureCaption(int& needed, int& room) override;

protected:
    ~TKVXCustomGroupBox() override;
    void AlignControls(fw::TControl* control, TRect& rect) override;
    void Dispatch(fw::TMessage& message) override;
    void ContentChanged(TObject* sender) override;
    void Paint() override;

private:
    void ComputeMetrics();
    uint32_t CaptionFormat() const;
    // Focuses the first child in tab order that can take the focus.
    bool SelectFirstChild();

    bool showAccelChar_ = true;
    TKVXGroupCaptionAlign alignment_ = TKVXGroupCaptionAlign::gcaTopLeft;
    int captionOffset_ = 8;
    std::unique_ptr<fw::TFont> captionFont_;
    bool captionParentFont_ = true;
    std::unique_ptr<TKVX3DCaption> captionFont3D_;
    int extent_ = 0;
    // CaptionFont3D with the angle of the current side.
    std::unique_ptr<TKVXFxCaption> working_;
};

class TKVXGroupBox : public TKVXCustomGroupBox {
public:
    using TKVXCustomGroupBox::TKVXCustomGroupBox;
};

}  // namespace kvx::win32
