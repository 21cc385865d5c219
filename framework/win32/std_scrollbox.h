// TScrollBox: a window whose children lie on a larger area, scrolled by its own scroll bars. Each bar
// has a Range (the area's size; AutoScroll sets it from the children), a Position, an Increment for a
// line and a Visible switch. WM_NCCALCSIZE, WM_NCPAINT, WM_HSCROLL and WM_VSCROLL go through virtual
// handlers so a descendant can frame the box itself or watch SB_ENDSCROLL.
#pragma once

#include "framework/win32/std_support.h"

namespace fw {

enum class TScrollBarKind { sbHorizontal, sbVertical };

class TScrollingWinControl;

class TControlScrollBar : public TPersistent {
public:
    TControlScrollBar(TScrollingWinControl* control, TScrollBarKind kind) : control_(control), kind_(kind) {}

    TScrollBarKind Kind() const { return kind_; }
    // With AutoScroll (and no Range given) the extent of the children now.
    int Range() const;
    void SetRange(int value);
    int Position() const { return position_; }
    void SetPosition(int value);
    int Increment() const { return increment_; }
    void SetIncrement(int value) { increment_ = std::max(value, 1); }
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    // The largest position: the range less the client size.
    int MaxPosition() const;
    void Assign(TPersistent* source) override;

private:
    friend class TScrollingWinControl;
    void Update();
    void ScrollMessage(TMessage& message);
    int ClientSize() const;

    TScrollingWinControl* control_;
    TScrollBarKind kind_;
    int range_ = 0;
    int position_ = 0;
    int increment_ = 8;
    bool visible_ = true;
    bool autoRange_ = true;  // set by the control while AutoScroll is on and Range was not given
};

class TScrollingWinControl : public TWinControl {
public:
    explicit TScrollingWinControl(TComponent* owner);

    TControlScrollBar* HorzScrollBar() const { return horz_.get(); }
    void SetHorzScrollBar(TControlScrollBar* value) { horz_->Assign(value); }
    TControlScrollBar* VertScrollBar() const { return vert_.get(); }
    void SetVertScrollBar(TControlScrollBar* value) { vert_->Assign(value); }
    bool AutoScroll() const { return autoScroll_; }
    void SetAutoScroll(bool value);
    // Scrolls so the child is in view.
    void ScrollInView(TControl* control);

protected:
    ~TScrollingWinControl() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void AlignControls(TControl* control, TRect& rect) override;
    void Dispatch(TMessage& message) override;
    virtual void WMHScroll(TMessage& message);
    virtual void WMVScroll(TMessage& message);
    virtual void WMNCCalcSize(TMessage& message);
    virtual void WMNCPaint(TMessage& message);
    void WMSize(TMessage& message) override;

private:
    friend class TControlScrollBar;
    void ScrollBy(int dx, int dy);
    void CalcAutoRange();
    void UpdateScrollBars();

    std::unique_ptr<TControlScrollBar> horz_;
    std::unique_ptr<TControlScrollBar> vert_;
    bool autoScroll_ = true;
    bool updating_ = false;
};

class TScrollBox : public TScrollingWinControl {
public:
    explicit TScrollBox(TComponent* owner);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);

protected:
    ~TScrollBox() override = default;
    void CreateParams(TCreateParams& params) override;

private:
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
};

void RegisterScrollBoxClasses();

}  // namespace fw
