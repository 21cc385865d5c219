// Tab strips over the system "SysTabControl32" class: TCustomTabControl keeps the tab texts and
// the choice; TTabControl publishes them as Tabs and TabIndex. The area below the tabs is the client
// area children align in (TCM_ADJUSTRECT).
#pragma once

#include "framework/win32/std_items.h"
#include "framework/win32/std_support.h"

namespace fw {

using TTabChangingEvent = Event<void(TObject* Sender, bool& AllowChange)>;

class TCustomTabControl : public TWinControl, protected TItemsSink {
public:
    explicit TCustomTabControl(TComponent* owner);

    int TabIndex();
    void SetTabIndex(int value);
    bool MultiLine() const { return multiLine_; }
    void SetMultiLine(bool value);
    // The area inside the frame below the tabs, in client coordinates.
    TRect DisplayRect();

    TTabChangingEvent OnChanging;
    TNotifyEvent OnChange;

protected:
    ~TCustomTabControl() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void DestroyWnd() override;
    void AdjustClientRect(TRect& rect) override;
    void Dispatch(TMessage& message) override;
    void WMSize(TMessage& message) override;
    virtual bool CanChange();
    virtual void Change();

    TStrings* TabStrings() const { return tabs_; }
    void ItemInserted(int index, const std::string& s) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;
    void ItemChanged(int index, const std::string& s) override;

private:
    TControlItems* tabs_;
    bool multiLine_ = false;
    int savedIndex_ = -1;
};

class TTabControl : public TCustomTabControl {
public:
    explicit TTabControl(TComponent* owner) : TCustomTabControl(owner) {}
    TStrings* Tabs() const { return TabStrings(); }
    void SetTabs(TStrings* value) { TabStrings()->Assign(value); }

protected:
    ~TTabControl() override = default;
};

void RegisterTabControlClasses();

}  // namespace fw
