// The suite's panels: TKVXCustomPanel (Transparent, and the background chain through its parent),
// TKVXCustomBevelPanel (an owned bevel around the children, with bevel-drawn flat and hot borders),
// TKVXCustomParentPanel (a picture of an image list tiled into a bitmap of its own: the root of every
// background chain), the published TKVXSimplePanel and TKVXBackPanel, and TKVXCustomStatusBar.
//
// A parent panel keeps its tiled bitmap at the size of the whole control; it is rebuilt when the
// picture changes or the panel grows past it, never when it shrinks (the copy uses its top-left part).
#pragma once

#include <memory>

#include "widgets/kvxgraph.h"
#include "widgets/win32/kvxcustomcontrol.h"

namespace kvx::win32 {

class TKVXCustomPanel : public TKVXCustomControl {
public:
    explicit TKVXCustomPanel(TComponent* owner);

    // Stored with the form; changes nothing of the panel's own behaviour.
    bool Locked() const { return locked_; }
    void SetLocked(bool value) { locked_ = value; }
    // A change switches csOpaque and recreates the window.
    void SetTransparent(bool value);

    bool HasBackground() override;
    fw::TBitmap* BackgroundBitmap() override;
    TPoint BackgroundOffset(TPoint point) override;
    bool CopyBackground(fw::TCanvas* canvas, const TRect& rect, TPoint offset) override;

protected:
    // The left and top border of the window.
    TPoint Border() const;

private:
    bool locked_ = false;
};

class TKVXCustomBevelPanel : public TKVXCustomPanel {
public:
    explicit TKVXCustomBevelPanel(TComponent* owner);

    TKVXBevel* Bevel() const { return bevel_.get(); }
    // Assigned into the owned bevel, then CM_KVXBEVELCHANGED.
    void SetBevel(TKVXBevel* value);

protected:
    ~TKVXCustomBevelPanel() override;
    void CreateParams(fw::TCreateParams& params) override;
    void AlignControls(fw::TControl* control, TRect& rect) override;
    void Dispatch(fw::TMessage& message) override;
    void Paint() override;
    void DoEnter() override;
    void ContentChanged(TObject* sender) override;
    bool ShowDesignFrame() override;
    void DoMouseEnter() override;
    void DrawFlatBorder() override;
    void DrawHotBorder() override;
    bool WindowsBevel() const { return bevel_->Mode() == TKVXBevelMode::bmWindows; }

private:
    std::unique_ptr<TKVXBevel> bevel_;
};

class TKVXCustomParentPanel : public TKVXCustomBevelPanel {
public:
    explicit TKVXCustomParentPanel(TComponent* owner);

    bool QuickDraw() const { return quickDraw_; }
    void SetQuickDraw(bool value) { quickDraw_ = value; }
    // The tiled bitmap this panel owns, or null.
    fw::TBitmap* OwnBitmap() const { return bitmap_.get(); }

    bool UsesBackgroundBitmap() override;
    fw::TBitmap* BackgroundBitmap() override;
    bool HasBackground() override;
    TPoint BackgroundOffset(TPoint point) override;
    bool CopyBackground(fw::TCanvas* canvas, const TRect& rect, TPoint offset) override;
    HPALETTE GetPalette() override;
    // Builds (or drops) the tiled bitmap; without Force an existing bitmap that still covers the client
    // area stays.
    virtual void UpdateBackground(bool force);

protected:
    ~TKVXCustomParentPanel() override;
    void Loaded() override;
    void Paint() override;
    void WMSize(fw::TMessage& message) override;
    void PaintBackground() override;
    bool ShowDesignFrame() override;
    void ImageListChanged(TObject* sender) override;
    // For a descendant that renders a background of its own: the bitmap (made when missing), or none.
    fw::TBitmap* MakeOwnBitmap();
    void DropOwnBitmap() { bitmap_.reset(); }
    // The window's own size: inside WM_SIZE the control's bounds still hold the old one.
    TPoint WindowSize();

private:
    bool quickDraw_ = false;
    std::unique_ptr<fw::TBitmap> bitmap_;
};

class TKVXSimplePanel : public TKVXCustomBevelPanel {
public:
    using TKVXCustomBevelPanel::TKVXCustomBevelPanel;
};

class TKVXBackPanel : public TKVXCustomParentPanel {
public:
    using TKVXCustomParentPanel::TKVXCustomParentPanel;
};

class TKVXCustomStatusBar : public TKVXCustomBevelPanel {
public:
    using TKVXCustomBevelPanel::TKVXCustomBevelPanel;
    // Added to the width of an auto-sized label on the bar.
    virtual int ExtraLabelWidth() { return 0; }
};

}  // namespace kvx::win32
