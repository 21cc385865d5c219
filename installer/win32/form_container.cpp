#include "installer/win32/form_container.h"

#include "framework/win32/application.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_panel.h"
#include "framework/win32/std_tabcontrol.h"
#include "installer/dialog_manager.h"
#include "installer/exceptions.h"
#include "installer/translator.h"
#include "installer/win32/install_forms.h"

namespace inst {

int TBaseFormContainer::BuildPages() {
    TDialogManager* manager = CurrentDialogManager();
    if (!manager) throw fw::Exception(TranslateEnglish("The current dialog manager is not defined"));
    const PageRegistry& registry = InstallFormList();
    for (int i = 0; i < registry.Count(); ++i) {
        const PageEntry& entry = registry.Entry(i);
        if (entry.dialog && (entry.dialog->Manager() != manager || !entry.dialog->IsEnabled())) continue;
        auto* page = dynamic_cast<TBaseInstallForm*>(entry.pageClass->Create(this));
        if (!page) continue;
        fw::LoadRootResource(page);
        if (!entry.dialog && page->DM() != manager) {
            page->Free();
            continue;
        }
        if (entry.dialog) {
            page->SetDC(entry.dialog);
            page->SetSubject(dynamic_cast<TInstallObject*>(entry.dialog->Container()));
            page->SetOrder(entry.dialog->Order());
            entry.dialog->SetForm(page);
        }
        Tabs->Tabs()->Add(page->Caption());
        page->SetBoundsRect(DisplayPanel->BoundsRect());
        page->ApplyLanguage();
        // Every page is a child window of the host; only the current one is shown.
        page->SetVisible(false);
        pages_.push_back(page);
    }
    SortPagesByOrder(pages_, [](TBaseInstallForm* p) { return p->Order(); });
    return static_cast<int>(pages_.size());
}

PageNavigation TBaseFormContainer::Navigation() const {
    return PageNavigation(static_cast<int>(pages_.size()),
                          [this](int i) { return pages_[static_cast<size_t>(i)]->IsSkipped(); });
}

int TBaseFormContainer::PageIndex() { return Tabs->TabIndex(); }

bool TBaseFormContainer::ShowPage(int index, bool backwards) {
    const int page = Navigation().Resolve(index, backwards);
    if (page < 0) return false;
    Select(page);
    return true;
}

void TBaseFormContainer::Select(int index) {
    TBaseInstallForm* page = pages_[static_cast<size_t>(index)];
    if (shown_ && shown_ != page) shown_->OnLeavePage();
    Tabs->SetTabIndex(index);
    SetCaption(page->Caption());
    page->SetVisible(true);
    page->ActivatePage();
    if (shown_ && shown_ != page) shown_->SetVisible(false);
    shown_ = page;
}

void TBaseFormContainer::GoNext() {
    const int current = PageIndex();
    const int next = Navigation().Next(current);
    if (next >= 0 && next != current) {
        Select(next);
        return;
    }
    finished_ = true;
    SetModalResult(kPageOk);
}

void TBaseFormContainer::GoBack() {
    const int current = PageIndex();
    const int back = Navigation().Back(current);
    if (back >= 0 && back != current) Select(back);
}

bool TBaseFormContainer::IsFirstPage() { return Navigation().IsFirst(PageIndex()); }

bool TBaseFormContainer::IsLastPage() { return Navigation().IsLast(PageIndex()); }

void TBaseFormContainer::Place(TQuenfordDialogPosition position, int leftOffset, int topOffset) {
    const ScreenArea screen{fw::Screen->Width(), fw::Screen->Height(), GetSystemMetrics(SM_CYCAPTION)};
    const DialogPlace place =
        PlaceDialog(position, leftOffset, topOffset, Width(), Height(), screen, PlacementRounding::Truncate);
    SetBounds(place.left, place.top, Width(), Height());
}

void TBaseFormContainer::FormShow(fw::TObject*) {
    const int first = Navigation().First();
    if (first < 0) {
        // Every page is skipped: nothing to show.
        finished_ = true;
        SetModalResult(kPageOk);
        return;
    }
    Select(first);
    if (HandleAllocated()) SetForegroundWindow(Handle());
}

void TBaseFormContainer::FormResize(fw::TObject*) {
    if (!resizing_) PlacePages();
}

void TBaseFormContainer::PlacePages() {
    resizing_ = true;
    for (TBaseInstallForm* page : pages_) page->SetBoundsRect(DisplayPanel->BoundsRect());
    resizing_ = false;
}

void TBaseFormContainer::FormCloseQuery(fw::TObject*, bool& CanClose) {
    CanClose = PageNavigation::CanClose(finished_, ModalResult());
}

void TBaseFormContainer::TabsChanging(fw::TObject*, bool&) {
    if (shown_) shown_->OnLeavePage();
}

void TBaseFormContainer::TabsChange(fw::TObject*) {
    if (!ShowPage(PageIndex(), true)) ShowPage(PageIndex(), false);
}

}  // namespace inst
