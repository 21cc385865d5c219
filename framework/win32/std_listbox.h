// TListBox over the system "LISTBOX" class: items kept in a string list (they survive RecreateWnd
// with the selection and the top line), single, multiple or extended selection, sorted lines, and
// owner drawing with fixed or per-item heights (CN_DRAWITEM/CN_MEASUREITEM).
#pragma once

#include <vector>

#include "framework/win32/std_items.h"
#include "framework/win32/std_support.h"

namespace fw {

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable };

class TCustomListBox : public TWinControl, protected TItemsSink {
public:
    explicit TCustomListBox(TComponent* owner);

    TStrings* Items() const { return items_; }
    void SetItems(TStrings* value) { items_->Assign(value); }
    int ItemIndex();
    void SetItemIndex(int value);
    bool MultiSelect() const { return multiSelect_; }
    void SetMultiSelect(bool value);
    bool ExtendedSelect() const { return extendedSelect_; }
    void SetExtendedSelect(bool value);
    bool Selected(int index);
    void SetSelected(int index, bool value);
    int SelCount();
    bool Sorted() const { return items_->Sorted(); }
    void SetSorted(bool value) { items_->SetSorted(value); }
    TListBoxStyle Style() const { return style_; }
    void SetStyle(TListBoxStyle value);
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    int TopIndex();
    void SetTopIndex(int value);
    bool IntegralHeight() const { return integralHeight_; }
    void SetIntegralHeight(bool value);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle value);
    // The item at a client point, or -1.
    int ItemAtPos(TPoint pos, bool existing);
    TRect ItemRect(int index);
    void Clear() { items_->Clear(); }
    // Lends its canvas to OnDrawItem.
    TCanvas* Canvas() const { return canvas_.get(); }

    TDrawItemEvent OnDrawItem;
    TMeasureItemEvent OnMeasureItem;

protected:
    ~TCustomListBox() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWindowState() override;
    void DestroyWnd() override;
    void Dispatch(TMessage& message) override;
    virtual void DrawItem(int index, const TRect& rect, TOwnerDrawState state);
    virtual void MeasureItem(int index, int& height);

    void ItemInserted(int index, const std::string& s) override;
    void ItemDeleted(int index) override;
    void ItemsCleared() override;
    void ItemsUpdating(bool updating) override;

private:
    void CNCommand(TMessage& message);
    void CNDrawItem(TMessage& message);
    void CNMeasureItem(TMessage& message);
    bool Multi() const { return multiSelect_; }

    TControlItems* items_;
    std::unique_ptr<TCanvas> canvas_;
    bool multiSelect_ = false;
    bool extendedSelect_ = true;
    bool integralHeight_ = false;
    TListBoxStyle style_ = TListBoxStyle::lbStandard;
    TBorderStyle borderStyle_ = TBorderStyle::bsSingle;
    int itemHeight_ = 16;
    // Kept while there is no window.
    int savedIndex_ = -1;
    int savedTop_ = 0;
    std::vector<bool> savedSelected_;
};

class TListBox : public TCustomListBox {
public:
    explicit TListBox(TComponent* owner) : TCustomListBox(owner) {}

protected:
    ~TListBox() override = default;
};

void RegisterListBoxClasses();

}  // namespace fw
