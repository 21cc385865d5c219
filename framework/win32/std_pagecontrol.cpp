// TPageControl and TTabSheet.
#include <algorithm>

#include "framework/win32/std_pagecontrol.h"

namespace fw {

// ---- TTabSheet -------------------------------------------------------------------------------------

TTabSheet::TTabSheet(TComponent* owner) : TCustomControl(owner) {
    controlStyle_ |= csAcceptsControls;
    SetAlign(alClient);
    SetVisible(false);
    SetColor(clBtnFace);
}

void TTabSheet::SetParent(TWinControl* parent) {
    TPageControl* old = pageControl_;
    TCustomControl::SetParent(parent);
    auto* now = dynamic_cast<TPageControl*>(parent);
    if (old == now) return;
    if (old) old->RemovePage(this);
    pageControl_ = now;
    if (now) now->InsertPage(this);
}

void TTabSheet::SetPageControl(TPageControl* value) { SetParent(value); }

int TTabSheet::PageIndex() const {
    if (!pageControl_) return -1;
    const auto& pages = pageControl_->pages_;
    return static_cast<int>(std::find(pages.begin(), pages.end(), this) - pages.begin());
}

void TTabSheet::SetPageIndex(int value) {
    if (pageControl_) pageControl_->MovePage(this, value);
}

void TTabSheet::CMTextChanged(TMessage& message) {
    TCustomControl::CMTextChanged(message);
    if (pageControl_) {
        const int index = PageIndex();
        pageControl_->TabStrings()->SetStrings(index, Caption());
    }
}

// ---- TPageControl ----------------------------------------------------------------------------------

TPageControl::TPageControl(TComponent* owner) : TCustomTabControl(owner) {}

void TPageControl::InsertPage(TTabSheet* page) {
    pages_.push_back(page);
    page->FreeNotification(this);
    TabStrings()->Add(page->Caption());
    if (!active_ && !InState(csLoading)) SetActivePage(page);
}

void TPageControl::RemovePage(TTabSheet* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    const int index = static_cast<int>(it - pages_.begin());
    TTabSheet* next = active_ == page ? FindNextPage(page, true) : active_;
    pages_.erase(it);
    page->RemoveFreeNotification(this);
    if (!InState(csDestroying)) TabStrings()->Delete(index);
    if (next == page) next = nullptr;
    active_ = nullptr;
    if (!InState(csDestroying)) SetActivePage(next);
}

void TPageControl::MovePage(TTabSheet* page, int index) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    const int from = static_cast<int>(it - pages_.begin());
    index = std::clamp(index, 0, PageCount() - 1);
    if (from == index) return;
    pages_.erase(it);
    pages_.insert(pages_.begin() + index, page);
    TabStrings()->Move(from, index);
    ShowActive();
}

void TPageControl::Notification(TComponent* component, TOperation operation) {
    TCustomTabControl::Notification(component, operation);
    if (operation == opRemove)
        if (auto* page = dynamic_cast<TTabSheet*>(component); page && page->pageControl_ == this) {
            page->pageControl_ = nullptr;
            RemovePage(page);
        }
}

int TPageControl::ActivePageIndex() const { return active_ ? active_->PageIndex() : -1; }

void TPageControl::SetActivePageIndex(int value) {
    SetActivePage(value >= 0 && value < PageCount() ? pages_[static_cast<size_t>(value)] : nullptr);
}

void TPageControl::SetActivePage(TTabSheet* value) {
    if (value && value->pageControl_ != this) return;
    active_ = value;
    ShowActive();
}

void TPageControl::ShowActive() {
    if (InState(csLoading)) return;
    const int index = ActivePageIndex();
    SetTabIndex(index);
    for (TTabSheet* page : pages_) page->SetVisible(page == active_);
    if (active_) active_->BringToFront();
}

void TPageControl::Loaded() {
    TCustomTabControl::Loaded();
    if (!active_ && !pages_.empty()) active_ = pages_.front();
    ShowActive();
}

void TPageControl::Change() {
    const int index = TabIndex();
    active_ = index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr;
    for (TTabSheet* page : pages_) page->SetVisible(page == active_);
    TCustomTabControl::Change();
}

TTabSheet* TPageControl::FindNextPage(TTabSheet* current, bool goForward) const {
    if (pages_.empty()) return nullptr;
    auto it = std::find(pages_.begin(), pages_.end(), current);
    int index = it == pages_.end() ? (goForward ? -1 : 0) : static_cast<int>(it - pages_.begin());
    const int count = PageCount();
    index = goForward ? (index + 1) % count : (index + count - 1) % count;
    return pages_[static_cast<size_t>(index)];
}

void TPageControl::SelectNextPage(bool goForward) {
    TTabSheet* next = FindNextPage(active_, goForward);
    if (!next || next == active_ || !CanChange()) return;
    SetActivePage(next);
    TCustomTabControl::Change();
}

void RegisterPageControlClasses() {
    RegisterTabControlClasses();
    Class<TTabSheet, TCustomControl>("TTabSheet")
        .Prop("PageIndex", &TTabSheet::PageIndex, &TTabSheet::SetPageIndex)
        .Stored(false);
    Class<TPageControl, TCustomTabControl>("TPageControl")
        .Prop("ActivePage", &TPageControl::ActivePage, &TPageControl::SetActivePage)
        .Prop("ActivePageIndex", &TPageControl::ActivePageIndex, &TPageControl::SetActivePageIndex)
        .Stored(false);
}

}  // namespace fw
