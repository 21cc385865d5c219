// TPageControl and TTabSheet: a tab strip whose tabs are the sheets placed in it. Each sheet fills
// the area below the tabs and only the active one is shown. ActivePage is a reference to a sheet, so
// it is stored and read by name.
#pragma once

#include "framework/win32/std_tabcontrol.h"

namespace fw {

class TPageControl;

class TTabSheet : public TCustomControl {
public:
    explicit TTabSheet(TComponent* owner);

    TPageControl* PageControl() const { return pageControl_; }
    void SetPageControl(TPageControl* value);
    int PageIndex() const;
    void SetPageIndex(int value);
    void SetParent(TWinControl* parent) override;

protected:
    ~TTabSheet() override = default;
    void CMTextChanged(TMessage& message) override;

private:
    friend class TPageControl;
    TPageControl* pageControl_ = nullptr;
};

class TPageControl : public TCustomTabControl {
public:
    explicit TPageControl(TComponent* owner);

    int PageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet* Pages(int index) const { return pages_.at(static_cast<size_t>(index)); }
    TTabSheet* ActivePage() const { return active_; }
    void SetActivePage(TTabSheet* value);
    int ActivePageIndex() const;
    void SetActivePageIndex(int value);
    // The next (or previous) sheet after `current`, wrapping round.
    TTabSheet* FindNextPage(TTabSheet* current, bool goForward) const;
    void SelectNextPage(bool goForward);

protected:
    ~TPageControl() override = default;
    void Change() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    friend class TTabSheet;
    void InsertPage(TTabSheet* page);
    void RemovePage(TTabSheet* page);
    void MovePage(TTabSheet* page, int index);
    void ShowActive();

    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
};

void RegisterPageControlClasses();

}  // namespace fw
