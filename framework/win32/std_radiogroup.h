// TRadioGroup: a framed group of radio buttons made from its Items, laid out in Columns; ItemIndex
// is the checked one and OnClick follows every change.
#pragma once

#include <vector>

#include "framework/win32/std_button.h"
#include "framework/win32/std_items.h"
#include "framework/win32/std_support.h"

namespace fw {

class TRadioGroup : public TCustomControl, protected TItemsSink {
public:
    explicit TRadioGroup(TComponent* owner);

    TStrings* Items() const { return items_; }
    void SetItems(TStrings* value) { items_->Assign(value); }
    int ItemIndex() const { return itemIndex_; }
    void SetItemIndex(int value);
    int Columns() const { return columns_; }
    void SetColumns(int value);
    TRadioButton* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }

    // The caption on the frame, as far from its right end as from its left.
    bool MeasureCaption(int& needed, int& room) override;

protected:
    ~TRadioGroup() override;
    void Paint() override;
    void WMSize(TMessage& message) override;
    void CMTextChanged(TMessage& message) override;
    void Loaded() override;

    void ItemInserted(int index, const std::string& s) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;
    void ItemChanged(int index, const std::string& s) override;

private:
    void ButtonClick(TObject* sender);
    void ArrangeButtons();

    TControlItems* items_;
    std::vector<TRadioButton*> buttons_;
    int itemIndex_ = -1;
    int columns_ = 1;
    bool updating_ = false;
};

void RegisterRadioGroupClasses();

}  // namespace fw
