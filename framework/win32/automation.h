// Test automation endpoint. Compiled into every program and inert unless the environment variable
// FW_AUTOMATION=1 is set when the program starts: then a hidden top-level window of class
// "FwAutomation", titled "FwAutomation:<pid>", answers the requests of the driver (fwdrive) sent as
// WM_COPYDATA. Queries are answered at once; actions are queued as WM_FW_AUTOMATION and run when
// the GUI thread next dispatches, so an action that opens a modal form never blocks the driver.
#pragma once

#include <string>

namespace fw {

class TComponent;

// Called once by TApplication::Initialize. Does nothing unless FW_AUTOMATION=1.
void StartAutomationIfEnabled();

namespace automation {

// True once the endpoint window exists.
bool Active();

// Destroys the endpoint window (the application calls it on shutdown; harmless when inactive).
void Stop();

// The dialog queue filled by the driver's `answer <kind> <value>`. A dialog wrapper (message box,
// open, save, font, folder) calls it before it shows anything: when an answer of that kind is
// queued, it is removed and stored in value, caption and text are recorded for the `log` query,
// and the caller returns the answer without showing the dialog. Kinds compare ignoring case.
bool TakeQueuedAnswer(const std::string& kind, std::string& value, const std::string& caption,
                      const std::string& text);

// Adds a row to the record the `log` query reads, for a seam that does something in place of
// showing it (a help call that starts no viewer). Nothing happens while the endpoint is inactive.
void Record(const std::string& kind, const std::string& value, const std::string& caption, const std::string& text);

// `menu <root>.<item>`: the menus unit installs the click of a menu item (true when `item` is one it
// clicked). Without it, or for other components, the item's published Enabled is checked and its
// published OnClick handler is called with the item as Sender. What the handler raises goes to the
// application's exception handler, as under the user's click; only a missing or disabled item fails
// the action.
using MenuClickHandler = bool (*)(TComponent* item);
void SetMenuClickHandler(MenuClickHandler handler);

}  // namespace automation
}  // namespace fw
