// The monitor's contexts and hints: which control or window part a request is about, its help context,
// and the status-bar text for what is under the cursor or selected in a menu.
#include <algorithm>

#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/hints.h"
#include "framework/win32/menus.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_label.h"
#include "framework/win32/std_statusbar.h"
#include "framework/win32/std_toolbar.h"
#include "uisupport/win32/helpmonitor.h"
#include "uisupport/win32/helpmonitor_private.h"

namespace uis {

namespace helpmsg {

std::string ClassNameOf(HWND window) {
    char name[64] = {};
    if (!window || !GetClassNameA(window, name, sizeof name)) return {};
    return name;
}

namespace {

// Every menu component of the live forms, data modules and the application, until `visit` says stop.
template <class F>
bool AnyMenu(F visit) {
    auto scan = [&](fw::TComponent* owner) {
        for (int i = 0; owner && i < owner->ComponentCount(); ++i)
            if (auto* menu = dynamic_cast<fw::TMenu*>(owner->Components(i)); menu && visit(menu)) return true;
        return false;
    };
    if (fw::Screen) {
        for (fw::TForm* form : fw::Screen->FormList())
            if (scan(form)) return true;
    }
    if (TqhlHelpMonitor* monitor = TqhlHelpMonitor::Instance(); monitor && scan(monitor)) return true;
    return fw::Application && scan(fw::Application);
}

}  // namespace

fw::TMenuItem* FindItemOfMenu(HMENU menu) {
    fw::TMenuItem* found = nullptr;
    AnyMenu([&](fw::TMenu* m) {
        found = m->FindItemByHandle(menu);
        return found != nullptr;
    });
    return found;
}

bool IsComponentMenu(HMENU menu) { return menu && FindItemOfMenu(menu) != nullptr; }

bool IsMdiFrame(const fw::TForm* form) { return form && form->FormStyle() == fw::TFormStyle::fsMDIForm; }

}  // namespace helpmsg

namespace {

// The long hint of a control, or of the first parent that has one.
std::string InheritedLongHint(const fw::TControl* control) {
    for (const fw::TControl* c = control; c; c = c->Parent())
        if (!c->Hint().empty()) return fw::GetLongHint(c->Hint());
    return {};
}

bool IsStdButtonControl(const fw::TControl* control, const TStdCaptions& captions) {
    auto* button = dynamic_cast<const fw::TButton*>(control);
    return button && StdButtonOf(button->Caption(), captions) != TStdButton::None;
}

}  // namespace

// The form of the active window; without a form of ours there, the screen's active form.
fw::TForm* TqhlHelpMonitor::ActiveHelpForm() const {
    fw::TWinControl* control = fw::FindControl(GetActiveWindow());
    auto* form = control ? dynamic_cast<fw::TForm*>(fw::GetParentForm(control)) : nullptr;
    if (!form && fw::Screen) form = fw::Screen->ActiveForm();
    return form;
}

bool TqhlHelpMonitor::IsHelpModeButton(const fw::TControl* control) const {
    return control && control == helpModeButton_;
}

bool TqhlHelpMonitor::OnMainHelpForm(const fw::TControl* control) const {
    if (!control || !mainForm_) return false;
    if (fw::TWinControl* form = fw::GetParentForm(const_cast<fw::TControl*>(control))) return form == mainForm_;
    return control->Owner() == mainForm_;
}

void TqhlHelpMonitor::ControlsAt(HWND window, POINT at, fw::TWinControl*& windowed, fw::TControl*& graphic) const {
    windowed = nullptr;
    graphic = nullptr;
    // A system window inside one of ours (a combo box's edit) counts as the control of ours around it.
    for (HWND w = window; w; w = GetParent(w)) {
        if ((windowed = fw::FindControl(w))) break;
        if (HWND parent = GetParent(w)) MapWindowPoints(w, parent, &at, 1);
    }
    if (!windowed) return;
    graphic = windowed->ControlAtPos(fw::Point(at.x, at.y), true);
    // A label stands for the control its accelerator focuses.
    if (auto* label = dynamic_cast<fw::TCustomLabel*>(graphic); label && label->FocusControl()) {
        windowed = label->FocusControl();
        graphic = nullptr;
    }
}

void TqhlHelpMonitor::ControlsAtScreen(POINT screen, fw::TWinControl*& windowed, fw::TControl*& graphic) const {
    HWND window = WindowFromPoint(screen);
    // Disabled children too: WindowFromPoint stops at their parent.
    for (HWND child = window; child;) {
        POINT local = screen;
        ScreenToClient(child, &local);
        HWND inner = ChildWindowFromPointEx(child, local, CWP_SKIPINVISIBLE | CWP_SKIPTRANSPARENT);
        if (!inner || inner == child) break;
        window = child = inner;
    }
    POINT at = screen;
    if (window) ScreenToClient(window, &at);
    ControlsAt(window, at, windowed, graphic);
}

bool TqhlHelpMonitor::FormServesHelpButton(fw::TForm* form) const {
    if (!form || !flags_.Contains(TControlFlag::cfAutoHelpButton)) return false;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* button = dynamic_cast<fw::TButton*>(form->Components(i));
        if (button && button != helpModeButton_ && SameStdCaption(button->Caption(), captions_->HelpButton()))
            return true;
    }
    return false;
}

bool TqhlHelpMonitor::ControlContext(fw::TWinControl* windowed, fw::TControl* graphic, TRequestType request,
                                     POINT screen) {
    kind_ = TContextKind::None;
    context_ = 0;
    fw::TControl* target = graphic ? graphic : windowed;
    if (graphic) {
        if (IsHelpModeButton(graphic))
            SetTopic(OnMainHelpForm(graphic) ? topic::HelpButtonMain : topic::HelpButtonOther);
        else if (graphic->Tag() != 0)
            SetRealContext(graphic->Tag() + tagBase_);  // windowless controls have no context of their own
    }
    if (kind_ == TContextKind::None && windowed) {
        if (IsHelpModeButton(windowed) && windowed->HelpContext() == 0) {
            SetTopic(OnMainHelpForm(windowed) ? topic::HelpButtonMain : topic::HelpButtonOther);
        } else if (auto* button = dynamic_cast<fw::TButton*>(windowed);
                   button && StdButtonOf(button->Caption(), *captions_) != TStdButton::None) {
            if (button->HelpContext())
                SetRealContext(button->HelpContext());
            else
                SetTopic(StdButtonTopic(StdButtonOf(button->Caption(), *captions_)));
        } else if (dynamic_cast<fw::TStatusBar*>(windowed)) {
            if (windowed->HelpContext())
                SetRealContext(windowed->HelpContext());
            else
                SetTopic(topic::StatusBar);
        } else {
            for (fw::TWinControl* c = windowed; c; c = c->Parent()) {
                if (!c->HelpContext()) continue;
                // The form's own context belongs to its Help button when the monitor serves one.
                if (!(c->IsForm() && FormServesHelpButton(dynamic_cast<fw::TForm*>(c)))) SetRealContext(c->HelpContext());
                break;
            }
        }
    }
    SetPopupPos(screen);
    bool showHelp = true;
    if (OnControlHC) {
        const int shown = kind_ == TContextKind::StdTopic ? topics_->ContextOf(context_) : context_;
        int helpContext = shown;
        OnControlHC(this, target, request, fw::Point(screen.x, screen.y), helpContext, showHelp);
        if (helpContext != shown) SetRealContext(helpContext);
    }
    return showHelp;
}

// The standard topic of a window part; the menu bar gives the title's context on a right-button request.
void TqhlHelpMonitor::WindowPartContext(HWND window, int hitTest, bool rightButton, POINT screen) {
    kind_ = TContextKind::None;
    context_ = 0;
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    if (hitTest == ht::Menu) {
        if (!rightButton) return;
        auto* form = dynamic_cast<fw::TForm*>(fw::FindControl(window));
        auto* menu = form ? dynamic_cast<fw::TMainMenu*>(form->Menu()) : nullptr;
        const int index = menu ? MenuItemFromPoint(window, GetMenu(window), screen) : -1;
        if (index >= 0 && index < menu->Items()->Count()) SetRealContext(menu->Items()->Items(index)->HelpContext());
        return;
    }
    const TWindowPartHelp part =
        WindowPartHelp(hitTest, (style & WS_THICKFRAME) != 0, IsIconic(window) != FALSE, IsZoomed(window) != FALSE);
    if (part.topic && (rightButton || !part.rightButtonOnly)) SetTopic(part.topic);
}

// ---- hints ----------------------------------------------------------------------------------------

void TqhlHelpMonitor::DoHint(fw::TObject* sender) {
    if (outputting_) return;
    // Without a status bar the monitor makes no hints; the program's own handler still hears of them.
    if (!statusBar_) {
        if (chainedHint_) chainedHint_(sender);
        return;
    }
    UpdateHint();
}

void TqhlHelpMonitor::UpdateHint(const POINT* at) {
    if (outputting_ || !statusBar_ || !fw::Application) return;
    UpdateStatusBarHandler();
    if (!chainedHint_) return;
    POINT cursor{};
    if (at)
        cursor = *at;
    else
        GetCursorPos(&cursor);
    std::string text;
    if (mode_ == TMode::HelpMode) {
        int number = hint::HelpMode;
        if (!HelpModeEndsAfterHelp()) {
            if (menu_) {
                if (fw::TMenuItem* item = TrackedComponentItem(); item && item == whatIsThisItem_) number = hint::InterruptHelpMode;
            } else {
                fw::TWinControl* windowed = nullptr;
                fw::TControl* graphic = nullptr;
                ControlsAtScreen(cursor, windowed, graphic);
                if (IsHelpModeButton(graphic ? graphic : windowed)) number = hint::InterruptHelpMode;
            }
        }
        text = hints_.Text(number);
    } else if (mode_ == TMode::CaptionHelpMode) {
        text = hints_.Text(hint::CaptionHelpMode);
    } else if (menu_) {
        text = MenuHint();
    } else {
        fw::TWinControl* windowed = nullptr;
        fw::TControl* graphic = nullptr;
        ControlsAtScreen(cursor, windowed, graphic);
        text = ControlHint(windowed, graphic, cursor);
    }
    OutputHint(text);
}

std::string TqhlHelpMonitor::ControlHint(fw::TWinControl* windowed, fw::TControl* graphic, POINT screen) const {
    fw::TControl* control = graphic ? graphic : windowed;
    if (!control) return {};
    if (IsHelpModeButton(control))
        return fw::GetLongHint(hints_.Text(OnMainHelpForm(control) ? hint::HelpButtonMain : hint::HelpButtonOther));
    const bool statusBar = dynamic_cast<fw::TStatusBar*>(control) != nullptr;
    if (statusBar || IsStdButtonControl(control, *captions_)) {
        const std::string own = InheritedLongHint(control);
        if (!own.empty() && own != InheritedLongHint(control->Parent())) return own;
        if (statusBar) return hints_.Text(hint::StatusBar);
        return hints_.Text(StdButtonHint(StdButtonOf(control->Caption(), *captions_)));
    }
    if (windowed && !graphic && windowed->HandleAllocated() && flags_.Contains(TControlFlag::cfNCObjHints)) {
        fw::TForm* active = ActiveHelpForm();
        fw::TWinControl* form = fw::GetParentForm(windowed);
        if (!active || form == active || !active->Modal()) {
            const int hitTest = static_cast<int>(
                SendMessageA(windowed->Handle(), WM_NCHITTEST, 0, MAKELPARAM(screen.x, screen.y)));
            if (std::string part = WindowPartHint(windowed->Handle(), hitTest, screen); !part.empty()) return part;
        }
    }
    return InheritedLongHint(control);
}

std::string TqhlHelpMonitor::WindowPartHint(HWND window, int hitTest, POINT screen) const {
    if (hitTest == ht::Menu) {
        auto* form = dynamic_cast<fw::TForm*>(fw::FindControl(window));
        auto* menu = form ? dynamic_cast<fw::TMainMenu*>(form->Menu()) : nullptr;
        const int index = menu ? MenuItemFromPoint(window, GetMenu(window), screen) : -1;
        if (index >= 0 && index < menu->Items()->Count()) return fw::GetLongHint(menu->Items()->Items(index)->Hint());
        return {};
    }
    const LONG style = GetWindowLongA(window, GWL_STYLE);
    const TWindowPartHelp part =
        WindowPartHelp(hitTest, (style & WS_THICKFRAME) != 0, IsIconic(window) != FALSE, IsZoomed(window) != FALSE);
    return part.hint ? hints_.Text(part.hint) : std::string();
}

std::string TqhlHelpMonitor::MenuHint() const {
    const bool disabled = (menuFlags_ & (MF_GRAYED | MF_DISABLED)) != 0;
    switch (menuKind_) {
        case TMenuKind::Component: {
            fw::TMenuItem* item = TrackedComponentItem();
            if (!item) return {};
            if (popup_ && item->GetParentMenu() == popup_) return hints_.Text(hint::WhatIsThisOffered);
            const std::string& text = item->Hint();
            const size_t bar = text.find('|');
            if (bar == std::string::npos) return text;
            return disabled ? text.substr(bar + 1) : text.substr(0, bar);
        }
        case TMenuKind::EditMenu:
        case TMenuKind::SystemMenu:
            if (menuFlags_ & MF_POPUP) return menuKind_ == TMenuKind::SystemMenu ? hints_.Text(hint::SystemMenu) : std::string();
            if (const int number = CommandHint(menuItem_)) return hints_.Part(number, disabled);
            return {};
        default: return {};
    }
}

// The chosen text becomes the application's hint; the chained handler hears of it when it changed; then
// the hint is reset to " " so that the next change is reported again.
void TqhlHelpMonitor::OutputHint(const std::string& text) {
    if (!fw::Application || outputting_) return;
    outputting_ = true;
    try {
        fw::Application->SetHint(text);
        if (text != lastHint_) {
            lastHint_ = text;
            if (chainedHint_) chainedHint_(fw::Application);
        }
        fw::Application->SetHint(" ");
    } catch (...) {
        outputting_ = false;
        throw;
    }
    outputting_ = false;
}

// ---- following the active form ----------------------------------------------------------------

void TqhlHelpMonitor::FollowActiveForm() {
    fw::TForm* form = ActiveHelpForm();
    if (!form) return;
    if (helpModeButton_ && !helpModeButton_->Name().empty()) helpButtonName_ = helpModeButton_->Name();
    const fw::TNotifyEvent click(this, &TqhlHelpMonitor::HelpButtonClick);
    // (1) The form's help-mode button: the first visible control whose name holds the help-button name.
    fw::TControl* found = nullptr;
    for (int i = 0; i < form->ComponentCount() && !found; ++i) {
        auto* control = dynamic_cast<fw::TControl*>(form->Components(i));
        if (control && control->Visible() && control->Name().find(helpButtonName_) != std::string::npos) found = control;
    }
    if (found != helpModeButton_) {
        if (helpModeButton_) {
            helpModeButton_->RemoveFreeNotification(this);
            if (helpModeButton_->OnClick == click) helpModeButton_->OnClick = nullptr;
        }
        helpModeButton_ = found;
        if (found) {
            found->FreeNotification(this);
            found->OnClick = click;
            found->SetHint(hints_.Text(OnMainHelpForm(found) ? hint::HelpButtonMain : hint::HelpButtonOther));
        }
    }
    // (2) Standard Help buttons get (or lose) a handler that shows their form's context.
    const fw::TNotifyEvent serve(this, &TqhlHelpMonitor::StdHelpButtonClick);
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* button = dynamic_cast<fw::TButton*>(form->Components(i));
        if (!button || button == helpModeButton_ || !SameStdCaption(button->Caption(), captions_->HelpButton())) continue;
        if (flags_.Contains(TControlFlag::cfAutoHelpButton)) {
            if (!button->OnClick) {
                button->OnClick = serve;
                button->FreeNotification(this);
                autoHelpButtons_.push_back(button);
            }
        } else if (button->OnClick == serve) {
            button->OnClick = nullptr;
        }
    }
}

}  // namespace uis
