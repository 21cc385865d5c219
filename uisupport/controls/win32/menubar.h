// TMenuBar: a flat tool bar that shows the top-level items of a main menu as captioned buttons, so a
// menu can sit on a cool bar beside other tool bars. Each button is bound to its item: a click drops
// the item's sub-menu under the button, and Left and Right move between the menus while one is open.
// The buttons are made from Menu at run time and never streamed with the form.
#pragma once

#include "framework/win32/std_toolbar.h"

namespace fw {
class TMainMenu;
}

namespace uis {

class TMenuBar : public fw::TToolBar {
public:
    explicit TMenuBar(fw::TComponent* owner);

    fw::TMainMenu* Menu() const { return menu_; }
    // Rebuilds the buttons: one per top-level item, in menu order. The same menu again changes nothing;
    // none removes every button.
    void SetMenu(fw::TMainMenu* value);

    // The buttons belong to the menu bar, not to the form: nothing is streamed.
    void GetChildren(ChildProc proc, void* context, fw::TComponent* root) override;

protected:
    ~TMenuBar() override;
    void Notification(fw::TComponent* component, fw::TOperation operation) override;

private:
    void FreeButtons();

    fw::TMainMenu* menu_ = nullptr;
};

void RegisterMenuBarClasses();

}  // namespace uis
