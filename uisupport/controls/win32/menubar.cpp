#include "uisupport/controls/win32/menubar.h"

#include "framework/win32/menus.h"

namespace uis {

TMenuBar::TMenuBar(fw::TComponent* owner) : fw::TToolBar(owner) {
    SetFlat(true);
    SetShowCaptions(true);
    SetEdgeBorders({});
    // Unlike a plain tool bar it takes no child controls: its buttons come from the menu.
    SetControlStyle(fw::csCaptureMouse | fw::csClickEvents | fw::csSetCaption | fw::csDoubleClicks |
                    fw::csMenuEvents);
}

TMenuBar::~TMenuBar() = default;

void TMenuBar::SetMenu(fw::TMainMenu* value) {
    if (menu_ == value) return;
    if (menu_) {
        FreeButtons();
        menu_->RemoveFreeNotification(this);
    }
    menu_ = value;
    if (!menu_) return;
    menu_->FreeNotification(this);
    fw::TMenuItem* items = menu_->Items();
    for (int i = ButtonCount(); i < items->Count(); ++i) {
        auto* button = fw::Make<fw::TToolButton>(this);
        button->SetAutoSize(true);
        button->SetGrouped(true);
        button->SetParent(this);
    }
    // Bound after all exist, so each button takes its item's caption and state in menu order.
    for (int i = 0; i < ButtonCount() && i < items->Count(); ++i) Buttons(i)->SetMenuItem(items->Items(i));
}

void TMenuBar::FreeButtons() {
    for (int i = ButtonCount() - 1; i >= 0; --i) Buttons(i)->Free();
}

void TMenuBar::GetChildren(ChildProc, void*, fw::TComponent*) {}

void TMenuBar::Notification(fw::TComponent* component, fw::TOperation operation) {
    fw::TToolBar::Notification(component, operation);
    // The buttons' items go with the menu; the buttons follow them out.
    if (operation == fw::opRemove && component == menu_) {
        menu_ = nullptr;
        FreeButtons();
    }
}

void RegisterMenuBarClasses() {
    fw::RegisterToolBarClasses();
    fw::Class<TMenuBar, fw::TToolBar>("TMenuBar").Prop("Menu", &TMenuBar::Menu, &TMenuBar::SetMenu);
}

}  // namespace uis
