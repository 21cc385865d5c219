// TNotebook and its pages.
#include "framework/win32/std_notebook.h"

#include "framework/core/sysutils.h"

namespace fw {

TPage::TPage(TComponent* owner) : TCustomControl(owner) {
    controlStyle_ |= csAcceptsControls;
    SetAlign(alClient);
    SetVisible(false);
}

void TPage::ReadState(TReader& reader) {
    TCustomControl::ReadState(reader);
    if (auto* notebook = dynamic_cast<TNotebook*>(Parent())) notebook->AdoptPage(this);
}

TNotebook::TNotebook(TComponent* owner) : TCustomControl(owner), names_(new TControlItems(this)) {
    controlStyle_ |= csAcceptsControls;
    SetBounds(0, 0, 150, 150);
}

TNotebook::~TNotebook() { delete names_; }

void TNotebook::Notification(TComponent* component, TOperation operation) {
    TCustomControl::Notification(component, operation);
    if (operation != opRemove) return;
    // A page freed by someone else takes its name with it.
    for (size_t i = 0; i < pages_.size(); ++i) {
        if (pages_[i] != component) continue;
        pages_.erase(pages_.begin() + static_cast<std::ptrdiff_t>(i));
        syncing_ = true;
        names_->Delete(static_cast<int>(i));
        syncing_ = false;
        break;
    }
}

void TNotebook::AdoptPage(TPage* page) {
    for (TPage* p : pages_)
        if (p == page) return;
    pages_.push_back(page);
    page->FreeNotification(this);
    syncing_ = true;
    names_->Add(page->Caption());
    syncing_ = false;
}

void TNotebook::ItemInserted(int index, const std::string& s) {
    if (syncing_) return;
    TPage* page = Make<TPage>(Owner() ? Owner() : this);
    page->SetCaption(s);
    pages_.insert(pages_.begin() + index, page);
    page->FreeNotification(this);
    page->SetParent(this);
    ShowPage();
}

void TNotebook::ItemDeleted(int index) {
    if (syncing_) return;
    TPage* page = pages_.at(static_cast<size_t>(index));
    pages_.erase(pages_.begin() + index);
    page->RemoveFreeNotification(this);
    page->Free();
    if (pageIndex_ >= PageCount()) pageIndex_ = std::max(PageCount() - 1, 0);
    ShowPage();
}

void TNotebook::ItemsCleared() {
    if (syncing_) return;
    std::vector<TPage*> doomed;
    doomed.swap(pages_);
    for (TPage* page : doomed) {
        page->RemoveFreeNotification(this);
        page->Free();
    }
    pageIndex_ = 0;
}

void TNotebook::ItemChanged(int index, const std::string& s) {
    if (!syncing_) pages_.at(static_cast<size_t>(index))->SetCaption(s);
}

void TNotebook::Loaded() {
    TCustomControl::Loaded();
    if (!pendingActive_.empty()) SetActivePage(pendingActive_);
    pendingActive_.clear();
    if (pageIndex_ >= PageCount()) pageIndex_ = 0;
    ShowPage();
}

void TNotebook::ShowPage() {
    if (InState(csLoading)) return;
    for (int i = 0; i < PageCount(); ++i) pages_[static_cast<size_t>(i)]->SetVisible(i == pageIndex_);
}

void TNotebook::SetPageIndex(int value) {
    if (value < 0 || (value >= PageCount() && !InState(csLoading)) || value == pageIndex_) {
        if (InState(csLoading)) pageIndex_ = std::max(value, 0);
        return;
    }
    pageIndex_ = value;
    ShowPage();
    if (OnPageChanged) OnPageChanged(this);
}

std::string TNotebook::ActivePage() const {
    return pageIndex_ >= 0 && pageIndex_ < PageCount() ? pages_[static_cast<size_t>(pageIndex_)]->Caption()
                                                       : std::string();
}

void TNotebook::SetActivePage(const std::string& value) {
    for (int i = 0; i < PageCount(); ++i)
        if (SameText(pages_[static_cast<size_t>(i)]->Caption(), value)) {
            SetPageIndex(i);
            return;
        }
    // While loading the pages may not be read yet.
    if (InState(csLoading)) pendingActive_ = value;
}

void RegisterNotebookClasses() {
    Class<TPage, TCustomControl>("TPage");
    Class<TNotebook, TCustomControl>("TNotebook")
        .Prop("Pages", &TNotebook::Pages, &TNotebook::SetPages)
        .Prop("PageIndex", &TNotebook::PageIndex, &TNotebook::SetPageIndex)
        .Prop("ActivePage", &TNotebook::ActivePage, &TNotebook::SetActivePage)
        .Stored(false)
        .Event("OnPageChanged", &TNotebook::OnPageChanged);
}

}  // namespace fw
