// TKVXCustomControl: the windowed base of the suite's panels, group boxes, check boxes, list boxes and
// owner-drawn edits. It adds the image-list link, mouse enter and exit, events that fire once the focus
// has settled (posted CM_KVXAFTERENTER / CM_KVXAFTEREXIT), a Flat border that lights up while the mouse
// is over the control or it has the focus, and the background chain: a Transparent control copies its
// background from the nearest parent panel that tiles a picture (see widgets/controlgeometry.h).
//
// The window has WS_CLIPCHILDREN and a class without CS_HREDRAW / CS_VREDRAW, so a resize does not
// repaint the whole window; while it shows a background bitmap it erases nothing.
#pragma once

#include <functional>
#include <string>

#include "framework/win32/controls.h"
#include "framework/win32/messages.h"
#include "widgets/kvxclass.h"
#include "widgets/win32/imagelink.h"

namespace kvx::win32 {

class TKVXCustomControl : public fw::TCustomControl {
public:
    explicit TKVXCustomControl(TComponent* owner);

    TKVXAboutVar About;
    TNotifyEvent OnAfterEnter;
    TNotifyEvent OnAfterExit;
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseExit;

    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool Transparent() const { return transparent_; }

    TKVXCustomImageList* ImageList() const { return image_.List(); }
    void SetImageList(TKVXCustomImageList* value) { image_.SetList(value); }
    int GetImageValue(int index) const { return image_.GetIndex(index); }
    void SetImageValue(int index, int value) { image_.SetIndex(index, value); }
    int ImageIndex() const { return image_.ImageIndex(); }
    int ListIndex() const { return image_.ListIndex(); }
    bool NoImage() const { return image_.NoImage(); }
    bool ImageListStored() const { return image_.ListStored(); }
    bool MouseIsInside() const { return mouseInside_; }
    bool Entered() const { return entered_; }
    bool Loading() const { return InState(fw::csLoading); }

    // The background chain.
    virtual bool UsesBackgroundBitmap() { return transparent_ && HasBackground(); }
    virtual fw::TBitmap* BackgroundBitmap() { return nullptr; }
    virtual bool HasBackground() { return false; }
    // Fills Rect of Canvas from the background; Offset is Rect's top-left corner in the client
    // coordinates of this control's parent. False when there is nothing to copy.
    virtual bool CopyBackground(fw::TCanvas* canvas, const TRect& rect, TPoint offset) { return false; }
    // A point of this control's client area in the coordinates of the background bitmap.
    virtual TPoint BackgroundOffset(TPoint point) { return point; }
    virtual HPALETTE BackgroundPalette();
    // Rect (client coordinates) from the background, or filled with Color.
    void FillBackgroundRect(const TRect& rect);

protected:
    void CreateParams(fw::TCreateParams& params) override;
    void Dispatch(fw::TMessage& message) override;
    void Notification(TComponent* component, fw::TOperation operation) override;
    void DefineProperties(fw::TFiler& filer) override;
    void WMEraseBkgnd(fw::TMessage& message) override;
    void WMSize(fw::TMessage& message) override;
    void WMMove(fw::TMessage& message) override;
    void WMSetFocus(fw::TMessage& message) override;
    void WMKillFocus(fw::TMessage& message) override;
    void DoEnter() override;
    void DoExit() override;
    void Paint() override;

    virtual void PaintBackground();
    virtual void ContentChanged(TObject* sender) { Invalidate(); }
    virtual bool ShowDesignFrame() { return true; }
    virtual void ImageListChanged(TObject* sender) { ContentChanged(sender); }
    virtual void DoMouseEnter();
    virtual void DoMouseExit();
    virtual void DrawFlatBorder();
    virtual void DrawHotBorder();
    // CM_KVXPARENTBACKCHANGED.
    virtual void ParentBackChanged();

    // Runs Draw on the canvas: inside a paint as it is, outside one on a DC of the window that is given
    // back afterwards.
    void DrawNow(const std::function<void()>& draw);
    // Sends Msg to every child, windowed or not.
    void NotifyChildren(unsigned msg);
    // Invalidates every child (windowed children repaint their whole area).
    void InvalidateChildren();

    bool transparent_ = false;
    bool flat_ = false;

private:
    TKVXImageLink image_;
    bool mouseInside_ = false;
    bool entered_ = false;
};

}  // namespace kvx::win32
