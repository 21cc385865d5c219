// TComboBox over the system "COMBOBOX" class: drop-down (an edit above the list), drop-down list
// and owner-drawn fixed styles, items with objects kept in a string list (they survive RecreateWnd),
// the text, the selected index and the number of lines the dropped list shows.
#pragma once

#include "framework/win32/std_items.h"
#include "framework/win32/std_support.h"

namespace fw {

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };

class TCustomComboBox : public TWinControl, protected TItemsSink {
public:
    explicit TCustomComboBox(TComponent* owner);

    TStrings* Items() const { return items_; }
    void SetItems(TStrings* value) { items_->Assign(value); }
    int ItemIndex();
    void SetItemIndex(int value);
    TComboBoxStyle Style() const { return style_; }
    void SetStyle(TComboBoxStyle value);
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool value) { items_->SetSorted(value); }
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int value);
    bool DroppedDown();
    void SetDroppedDown(bool value);
    void Clear();
    TCanvas* Canvas() const { return canvas_.get(); }
    void SetBounds(int left, int top, int width, int height) override;

    TNotifyEvent OnChange;
    TNotifyEvent OnDropDown;
    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    ~TCustomComboBox() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void Change();
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);

    void ItemInserted(int index, const std::string& s) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;

private:
    // The edit of a drop-down combo is a child window of its own: its keys pass through the combo's
    // OnKeyDown and OnKeyPress, which may take them.
    static LRESULT CALLBACK EditProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
    void HookEdit();
    void UnhookEdit();
    HWND edit_ = nullptr;
    WNDPROC editProc_ = nullptr;
    void CNCommand(TMessage& message);
    void CNDrawItem(TMessage& message);
    void CNMeasureItem(TMessage& message);
    int DropHeight() const;

    TControlItems* items_;
    std::unique_ptr<TCanvas> canvas_;
    TComboBoxStyle style_ = TComboBoxStyle::csDropDown;
    int dropDownCount_ = 8;
    int itemHeight_ = 16;
    int maxLength_ = 0;
    int savedIndex_ = -1;
};

class TComboBox : public TCustomComboBox {
public:
    explicit TComboBox(TComponent* owner) : TCustomComboBox(owner) {}

protected:
    ~TComboBox() override = default;
};

void RegisterComboBoxClasses();

}  // namespace fw
