// TBaseFormContainer: the modal window that hosts a dialog manager's before/after pages. Its pages are
// child windows over DisplayPanel, sorted by their Order; one is shown at a time, and Next and Back
// move between them, passing over skipped pages. Next past the last page closes the host with OK; a
// confirmed Cancel closes it with the abort result; any other close is refused. The tab strip that
// holds the current index is never visible.
#pragma once

#include <vector>

#include "framework/win32/forms.h"
#include "installer/dialog_placement.h"
#include "installer/page_navigation.h"

namespace fw {
class TPanel;
class TTabControl;
}  // namespace fw

namespace inst {

class TBaseInstallForm;

class TBaseFormContainer : public fw::TForm {
public:
    using TForm::TForm;

    fw::TTabControl* Tabs = nullptr;
    fw::TPanel* DisplayPanel = nullptr;

    // Makes the current manager's pages (those its registry entries allow), sorted by Order; their number.
    int BuildPages();
    // Shows the page at `index`, or the nearest one not skipped in the direction; false when none.
    bool ShowPage(int index, bool backwards);
    void GoNext();
    void GoBack();
    // Puts the host on the screen by the placement table (whole parts of the halves).
    void Place(TQuenfordDialogPosition position, int leftOffset, int topOffset);
    bool IsFirstPage();
    bool IsLastPage();
    int PageIndex();
    const std::vector<TBaseInstallForm*>& Pages() const { return pages_; }
    bool Finished() const { return finished_; }

    void FormShow(fw::TObject* Sender);
    void FormResize(fw::TObject* Sender);
    void FormCloseQuery(fw::TObject* Sender, bool& CanClose);
    void TabsChanging(fw::TObject* Sender, bool& AllowChange);
    void TabsChange(fw::TObject* Sender);

private:
    PageNavigation Navigation() const;
    void PlacePages();
    // Shows the page the index names, hiding the one shown before.
    void Select(int index);

    bool resizing_ = false;
    bool finished_ = false;
    std::vector<TBaseInstallForm*> pages_;
    TBaseInstallForm* shown_ = nullptr;
};

}  // namespace inst
