// TNotebook: named pages on top of each other, one shown at a time. Pages are TPage children (read
// nested in the form text) or made from the Pages list; ActivePage is the shown page's name.
#pragma once

#include "framework/win32/std_items.h"
#include "framework/win32/std_support.h"

namespace fw {

class TNotebook;

class TPage : public TCustomControl {
public:
    explicit TPage(TComponent* owner);

protected:
    ~TPage() override = default;
    void ReadState(TReader& reader) override;
};

class TNotebook : public TCustomControl, protected TItemsSink {
public:
    explicit TNotebook(TComponent* owner);

    // The page names, in page order; adding a line adds a page.
    TStrings* Pages() const { return names_; }
    void SetPages(TStrings* value) { names_->Assign(value); }
    int PageIndex() const { return pageIndex_; }
    void SetPageIndex(int value);
    std::string ActivePage() const;
    void SetActivePage(const std::string& value);
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TPage* PageAt(int index) const { return pages_.at(static_cast<size_t>(index)); }

    TNotifyEvent OnPageChanged;

protected:
    ~TNotebook() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    void ItemInserted(int index, const std::string& s) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;
    void ItemChanged(int index, const std::string& s) override;

private:
    friend class TPage;
    void AdoptPage(TPage* page);
    void ShowPage();

    TControlItems* names_;
    std::vector<TPage*> pages_;
    int pageIndex_ = 0;
    std::string pendingActive_;
    bool syncing_ = false;
};

void RegisterNotebookClasses();

}  // namespace fw
