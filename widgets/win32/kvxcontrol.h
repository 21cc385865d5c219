// The window-less bases of every suite control: TKVXBaseControl (a link to a suite image list, mouse
// enter and exit, and what SetBounds changed), TKVXBaseGraphicControl (Transparent) and
// TKVXGraphicControl (an owned bevel). Labels, graphic buttons, images and shapes derive from them.
//
// The contract descendants (also those of other programs) rely on:
// - A Transparent control has no csOpaque style, so its parent paints below it; it never fills its own
//   background. An opaque one repaints at once instead of invalidating (no erase, no flicker).
// - It redraws on CM_KVXPARENTBACKCHANGED only when UsesParentBackground answers true.
// - Every change of an owned property object reaches ContentChanged, which descendants override to
//   recompute sizes before redrawing.
// - Mouse enter and exit always pass DoMouseEnter / DoMouseExit; overrides call the inherited ones.
// The suite's messages (CM_KVX*, 0xB0CD-0xB0D1) are declared with the framework's in messages.h.
#pragma once

#include <memory>
#include <string>

#include "framework/win32/controls.h"
#include "framework/win32/messages.h"
#include "widgets/controlgeometry.h"
#include "widgets/kvxclass.h"
#include "widgets/kvxgraph.h"
#include "widgets/win32/imagelink.h"

namespace kvx::win32 {

using TKVXBoundsChangedEvent = fw::Event<void(TObject* Sender, TKVXBoundsKind Kind)>;

class TKVXBaseControl : public fw::TGraphicControl {
public:
    explicit TKVXBaseControl(TComponent* owner);

    TKVXAboutVar About;
    // The suite's enter and exit events (they replace the framework's OnMouseEnter).
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;
    // Not published; code assigns it.
    TKVXBoundsChangedEvent OnBoundsChanged;

    TKVXCustomImageList* ImageList() const { return image_.List(); }
    void SetImageList(TKVXCustomImageList* value) { image_.SetList(value); }
    // Index 0 ImageIndex, 1 ListIndex.
    int GetImageValue(int index) const { return image_.GetIndex(index); }
    void SetImageValue(int index, int value) { image_.SetIndex(index, value); }
    int ImageIndex() const { return image_.ImageIndex(); }
    int ListIndex() const { return image_.ListIndex(); }
    bool NoImage() const { return image_.NoImage(); }
    bool ImageListStored() const { return image_.ListStored(); }
    // Stores ImageIndex without checks or redraw.
    void SetImageIndexQuiet(int value) { image_.SetImageIndexQuiet(value); }

    // Calls BoundsChanged with what changed (not while loading, not when nothing did).
    void SetBounds(int left, int top, int width, int height) override;

    // (X + Parent.Left, Y + Parent.Top): a point of the parent's client area in the grandparent's.
    TPoint OffsetToParent(int x, int y) const;
    TRect ClientRectToScreen(const TRect& rect) const;
    bool Loading() const { return InState(fw::csLoading); }

protected:
    virtual void BoundsChanged(TKVXBoundsKind kind);
    virtual bool UsesParentBackground() { return false; }
    // Invalidate unless loading.
    virtual void ContentChanged(TObject* sender);
    virtual bool NothingToPaint() { return true; }
    virtual void ImageListChanged(TObject* sender) { ContentChanged(sender); }
    virtual void DoMouseEnter();
    virtual void DoMouseExit();

    void Dispatch(fw::TMessage& message) override;
    void Notification(TComponent* component, fw::TOperation operation) override;
    void DefineProperties(fw::TFiler& filer) override;

    // A dashed black frame round the control (only painted while designing).
    void DrawDesignFrame();
    // The client area filled with Color.
    void FillClient();

private:
    TKVXImageLink image_;
};

class TKVXBaseGraphicControl : public TKVXBaseControl {
public:
    explicit TKVXBaseGraphicControl(TComponent* owner);

    bool Transparent() const { return transparent_; }
    // A change switches csOpaque and performs CM_KVXTRANSPARENTCHANGED.
    void SetTransparent(bool value);
    // Opaque without any message (the animation control's constructor).
    void MakeOpaque();
    // Invalidate when transparent; otherwise paints at once.
    void Redraw();

protected:
    bool UsesParentBackground() override;
    void ContentChanged(TObject* sender) override;
    // CM_KVXTRANSPARENTCHANGED.
    virtual void TransparentChanged() { Redraw(); }
    void Dispatch(fw::TMessage& message) override;

    bool transparent_ = true;
};

class TKVXGraphicControl : public TKVXBaseGraphicControl {
public:
    explicit TKVXGraphicControl(TComponent* owner);

    TKVXBevel* Bevel() const { return bevel_.get(); }
    // Assigned into the owned bevel, then CM_KVXBEVELCHANGED.
    void SetBevel(TKVXBevel* value);
    int BevelWidth() const { return bevel_->Extent(); }
    int BevelWidths() const { return 2 * BevelWidth(); }
    TRect BevelClientRect() const;

protected:
    ~TKVXGraphicControl() override;
    void Paint() override;

private:
    std::unique_ptr<TKVXBevel> bevel_;
};

// The nearest suite windowed control that is Control's parent, or null.
class TKVXCustomControl;
TKVXCustomControl* KVXSuiteParent(const fw::TControl* control);

}  // namespace kvx::win32
