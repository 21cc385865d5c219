// TKVXCustomScrollBox: a framework scroll box whose border is a suite bevel drawn in the non-client
// area, and which can show the background of a suite parent behind its children. While transparent,
// InstantUpdate repaints that background on every scroll step; without it the scrolled pixels stay
// (stale) until the scroll ends, which is cheaper under many children. TKVXScrollBox publishes it.
#pragma once

#include <memory>

#include "framework/win32/controlcanvas.h"
#include "framework/win32/std_scrollbox.h"
#include "widgets/kvxclass.h"
#include "widgets/kvxgraph.h"

namespace kvx::win32 {

class TKVXCustomControl;

class TKVXCustomScrollBox : public fw::TScrollBox {
public:
    explicit TKVXCustomScrollBox(TComponent* owner);

    TKVXAboutVar About;
    TNotifyEvent OnPaint;

    TKVXBevel* Bevel() const { return bevel_.get(); }
    // Assigned into the owned bevel.
    void SetBevel(TKVXBevel* value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool InstantUpdate() const { return instantUpdate_; }
    void SetInstantUpdate(bool value) { instantUpdate_ = value; }
    // Stored with the form only.
    bool MouseWheelSupport() const { return mouseWheelSupport_; }
    void SetMouseWheelSupport(bool value) { mouseWheelSupport_ = value; }

    // True while transparent over a suite parent that shows a background.
    bool ShowsParentBackground() const;
    void Invalidate() override;

protected:
    ~TKVXCustomScrollBox() override;
    virtual void BevelChanged(TObject* sender);
    void CreateParams(fw::TCreateParams& params) override;
    void Dispatch(fw::TMessage& message) override;
    void PaintWindow(HDC dc) override;
    void WMEraseBkgnd(fw::TMessage& message) override;
    void WMHScroll(fw::TMessage& message) override;
    void WMVScroll(fw::TMessage& message) override;
    void WMNCCalcSize(fw::TMessage& message) override;
    void WMNCPaint(fw::TMessage& message) override;
    void WMSize(fw::TMessage& message) override;
    void WMMove(fw::TMessage& message) override;

private:
    bool Loading() const { return (ComponentState() & fw::csLoading) != 0; }
    bool WindowsBevel() const { return bevel_->Mode() == TKVXBevelMode::bmWindows; }
    TKVXCustomControl* SuiteParent() const;
    // Copies the parent's background into Rect of Canvas; Origin is Rect's place in the parent's client.
    void CopyParentBackground(fw::TCanvas* canvas, const TRect& rect, TPoint origin);
    // The client area's origin in the parent's client coordinates.
    TPoint ClientOriginInParent() const;
    void PaintNonClient(HDC dc);
    void Scrolled(fw::TMessage& message, bool vertical);

    std::unique_ptr<TKVXBevel> bevel_;
    std::unique_ptr<fw::TControlCanvas> canvas_;
    bool transparent_ = false;
    bool instantUpdate_ = true;
    bool mouseWheelSupport_ = false;
    // Set while the framework scrolls: its full repaint is replaced by this box's own.
    bool scrolling_ = false;
};

class TKVXScrollBox : public TKVXCustomScrollBox {
public:
    using TKVXCustomScrollBox::TKVXCustomScrollBox;
};

}  // namespace kvx::win32
