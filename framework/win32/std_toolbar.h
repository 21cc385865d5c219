// TToolBar over the system "ToolbarWindow32" class, with TToolButton children. The buttons are
// windowless controls placed where the window draws each button, so automation and drag code find
// them by name and position; the window itself draws them, takes the mouse and reports clicks
// (WM_COMMAND) and drop-down arrows (TBN_DROPDOWN).
//
// A tool bar can stand in for a menu bar: each button's MenuItem drops that item's sub-items under the
// button on a click, and while one is open Left and Right move to the neighbouring menu buttons
// (std_toolmenu.cpp). The keyboard reaches the menus as it reaches a menu bar: Alt with a button's
// letter drops its menu with the first item selected; F10 or Alt alone, on a form without a window
// menu, shows the first menu button hot, Left and Right move, Down, Up, Enter or a letter drop a menu,
// and Escape, Alt, F10 or a click leave. Escape in a menu dropped from the keyboard goes back to the
// hot button.
#pragma once

#include <vector>

#include "framework/win32/imagelist.h"
#include "framework/win32/std_support.h"

namespace fw {

class TToolBar;
class TMenuItem;

enum class TToolButtonStyle { tbsButton, tbsCheck, tbsDropDown, tbsSeparator, tbsDivider };
enum class TEdgeBorder { ebLeft, ebTop, ebRight, ebBottom };
using TEdgeBorders = Set<TEdgeBorder>;

class TToolButton : public TGraphicControl {
public:
    explicit TToolButton(TComponent* owner);

    TToolButtonStyle Style() const { return style_; }
    void SetStyle(TToolButtonStyle value);
    bool Down() const;
    void SetDown(bool value);
    bool Grouped() const { return grouped_; }
    void SetGrouped(bool value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    // The menu shown by the drop-down arrow (a popup menu).
    TComponent* DropdownMenu() const { return dropdownMenu_; }
    void SetDropdownMenu(TComponent* value);
    // The menu item whose sub-items a click drops under the button (an item without sub-items runs as
    // a command).
    TMenuItem* MenuItem() const { return menuItem_; }
    void SetMenuItem(TMenuItem* value);
    TToolBar* ToolBar() const;
    int Index() const;
    void SetParent(TWinControl* parent) override;
    void SetEnabled(bool value) override;
    // Opens the drop-down menu below the button; true when there was one.
    bool CheckMenuDropdown();
    int CommandId() const { return commandId_; }
    // Drops the MenuItem's menu when there is one; otherwise the click of the button (or its action).
    void Click() override;
    // Caption, Enabled, Hint and the click as for every control; ImageIndex and Checked (as Down) too.
    void ActionChange(TObject* sender, bool checkDefaults) override;

protected:
    ~TToolButton() override;
    void BeforeDestruction() override;
    void Paint() override {}
    void CMTextChanged(TMessage& message) override;
    void CMVisibleChanged(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolBar;
    void Changed();
    TToolButtonStyle style_ = TToolButtonStyle::tbsButton;
    bool down_ = false;
    bool grouped_ = false;
    int imageIndex_ = -1;
    int commandId_;
    TComponent* dropdownMenu_ = nullptr;
    TMenuItem* menuItem_ = nullptr;
};

class TToolBar : public TWinControl {
public:
    explicit TToolBar(TComponent* owner);

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TToolButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    bool ShowCaptions() const { return showCaptions_; }
    void SetShowCaptions(bool value);
    TEdgeBorders EdgeBorders() const { return edgeBorders_; }
    void SetEdgeBorders(TEdgeBorders value);
    int ButtonWidth() const { return buttonWidth_; }
    void SetButtonWidth(int value);
    int ButtonHeight() const { return buttonHeight_; }
    void SetButtonHeight(int value);
    bool List() const { return list_; }
    void SetList(bool value);
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    void SetAutoSize(bool value) override;

    // Drops the sub-items of the button's MenuItem under it and tracks them as a menu bar does: Left
    // in the first level opens the previous menu button's menu, Right on an item without sub-items the
    // next one's (wrapping round), and the mouse moving onto another menu button opens its menu.
    // Returns once the menus closed, after the chosen item ran; false when the button has no menu.
    bool TrackMenu(TToolButton* button);
    // The button whose menu is dropped now, or null.
    TToolButton* MenuButton() const { return menuButton_; }
    // The next visible, enabled button with a MenuItem after (step 1) or before (step -1) `from`,
    // wrapping round; `from` itself when it is the only one.
    TToolButton* NeighbourMenuButton(TToolButton* from, int step) const;

protected:
    ~TToolBar() override;
    void BeforeDestruction() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void WndProc(TMessage& message) override;
    void Dispatch(TMessage& message) override;
    void WMPaint(TMessage& message) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TToolButton;
    // Drops the button's menus until they close; returns the button to show hot again when Escape
    // closed a menu dropped from the keyboard, else null.
    TToolButton* DropMenus(TToolButton* button, bool fromKeyboard);
    // The keyboard's turns between a hot button and dropped menus, from either.
    void KeyboardMenus(TToolButton* hot, TToolButton* drop);
    // Shows `hot` until a key drops a menu (returned) or the keyboard mode ends (null).
    TToolButton* HotTrack(TToolButton* hot);
    TToolButton* MenuButtonFor(unsigned key) const;
    void SetHotButton(TToolButton* button);
    bool ShowsMenus();
    void InsertButton(TToolButton* button);
    void RemoveButton(TToolButton* button);
    void RebuildButtons();
    void UpdateButtonBounds();
    TToolButton* FindButton(int commandId) const;

    std::vector<TToolButton*> buttons_;
    TCustomImageList* images_ = nullptr;
    bool flat_ = false;
    bool showCaptions_ = false;
    bool list_ = false;
    TEdgeBorders edgeBorders_{TEdgeBorder::ebTop};
    int buttonWidth_ = 23;
    int buttonHeight_ = 22;
    bool rebuilding_ = false;
    TToolButton* menuButton_ = nullptr;
    bool* keyModeGone_ = nullptr;  // set while the keyboard mode runs; the bar going away ends it
};

void RegisterToolBarClasses();

}  // namespace fw
