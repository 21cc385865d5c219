// Group boxes that make one check box or radio button per line of their Items, arrange them in 1 to
// 12 columns (a column is filled top to bottom before the next) and report the user's choice as one
// number: TKVXRadioGroup.ItemIndex, or TKVXCheckGroup.Value, a bit set of the first 31 boxes.
//
// The buttons are the group's private children: made at run time, never streamed, rebuilt when the
// items, the glyph settings or the glyph list change. They report to the group through one handler,
// which a group that cannot be modified ignores. Arithmetic in widgets/buttongroup.h.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "framework/core/lists.h"
#include "widgets/buttongroup.h"
#include "widgets/win32/checkbuttons.h"
#include "widgets/win32/groupbox.h"
#include "widgets/win32/imagelink.h"

namespace kvx::win32 {

class TKVXCustomButtonGroup;

using TKVXChildBtnClick = fw::Event<void(TObject* Sender, int ButtonIndex)>;

// A button of a group: its CanModify is the group's, its keys go to the group first, and it leaves
// the group's list when it goes. Base is the check box or the radio button.
template <class Base>
class TKVXGroupButton : public Base {
public:
    TKVXGroupButton(fw::TComponent* owner, TKVXCustomButtonGroup* group) : Base(owner), group_(group) {}
    bool CanModify() override;

protected:
    ~TKVXGroupButton() override;
    void KeyDown(uint16_t& key, fw::TShiftState shift) override;
    void KeyPress(char& key) override;

private:
    TKVXCustomButtonGroup* group_;
};

class TKVXCheckGroupButton : public TKVXGroupButton<TKVXCheckBox> {
public:
    using TKVXGroupButton::TKVXGroupButton;
};

class TKVXRadioGroupButton : public TKVXGroupButton<TKVXRadioButton> {
public:
    using TKVXGroupButton::TKVXGroupButton;
};

class TKVXCustomButtonGroup : public TKVXCustomGroupBox {
public:
    explicit TKVXCustomButtonGroup(TComponent* owner);

    fw::TStrings* Items() const { return items_.get(); }
    void SetItems(fw::TStrings* value) { items_->Assign(value); }
    int Columns() const { return columns_; }
    // Kept from 1 to 12.
    void SetColumns(int value);
    // -1: the buttons share the height.
    int ItemHeight() const { return itemHeight_; }
    void SetItemHeight(int value);
    int ItemOffset() const { return itemOffset_; }
    void SetItemOffset(int value);
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value) { readOnly_ = value; }
    uint8_t GlyphSize() const { return glyphSize_; }
    void SetGlyphSize(uint8_t value);
    bool GlyphFlat() const { return glyphFlat_; }
    void SetGlyphFlat(bool value);
    bool GlyphTransparent() const { return glyphTransparent_; }
    void SetGlyphTransparent(bool value);
    TColor GlyphTransparentColor() const { return glyphTransparentColor_; }
    void SetGlyphTransparentColor(TColor value);
    bool UseBitmap() const { return useBitmap_; }
    void SetUseBitmap(bool value);
    TKVX3DCaption* Font3D() const { return font3D_.get(); }
    void SetFont3D(TKVX3DCaption* value) { font3D_->Assign(value); }
    TKVXGlyphTextFocusStyle FocusStyle() const { return focusStyle_; }
    void SetFocusStyle(TKVXGlyphTextFocusStyle value);
    TColor FocusColor() const { return focusColor_; }
    void SetFocusColor(TColor value);
    bool UseFocusColor() const { return useFocusColor_; }
    void SetUseFocusColor(bool value);
    TKVXChildHelpContextID HelpContextBtn() const { return helpContextBtn_; }
    void SetHelpContextBtn(TKVXChildHelpContextID value);

    TKVXCustomImageList* GlyphImageList() const { return glyphLink_.List(); }
    void SetGlyphImageList(TKVXCustomImageList* value) { glyphLink_.SetList(value); }
    // Index 0 GlyphImageIndex, 1 GlyphListIndex; negative and unchanged values are ignored.
    int GetGlyphValue(int index) const { return glyphLink_.GetIndex(index); }
    void SetGlyphValue(int index, int value) { glyphLink_.SetIndex(index, value); }
    bool GlyphImageListStored() const { return glyphLink_.ListStored(); }

    int ButtonCount() const { return static_cast<int>(buttons_.size()); }
    TKVXButtonControl* Buttons(int index) const { return buttons_.at(static_cast<size_t>(index)); }
    virtual bool CanModify() { return !readOnly_; }
    // A button's key-down and key-press, reported to the group's own events.
    void ButtonKeyDown(uint16_t& key, fw::TShiftState shift);
    void ButtonKeyPress(char& key);
    // A button going away leaves the list.
    void ButtonGone(TKVXButtonControl* button);

    // The user changed a button (Sender, its index).
    TKVXChildBtnClick OnChange;

protected:
    ~TKVXCustomButtonGroup() override;
    void Loaded() override;
    void ReadState(fw::TReader& reader) override;
    void Dispatch(fw::TMessage& message) override;
    void WMSize(fw::TMessage& message) override;
    void Notification(TComponent* component, fw::TOperation operation) override;
    void DefineProperties(fw::TFiler& filer) override;
    void ContentChanged(TObject* sender) override;

    virtual void SetButtonCount(int count);
    virtual void BuildButtons();
    virtual int GetItemIndex() { return -1; }
    // A new button, wired to ButtonNotify.
    virtual TKVXButtonControl* NewButton() = 0;
    // What the group's own kind copies into a button.
    virtual void ConfigureButton(TKVXButtonControl* button) {}
    // Checks the buttons from the selection.
    virtual void ApplySelection() = 0;
    // The selection after the user changed Button; false when the group reports nothing.
    virtual bool TakeSelection(int index) = 0;
    // Before the buttons follow a change of the items.
    virtual void ItemsChanging() {}
    void ButtonNotify(TObject* sender);
    void ArrangeButtons();
    // The buttons again: built, arranged and repainted.
    void RefreshButtons();
    bool ReadingState() const { return readingState_; }

private:
    void ItemsChanged(TObject*);
    void GlyphLinkChanged(TObject*) { RefreshButtons(); }
    void ConfigureAll();
    int IndexOf(TObject* button) const;

    std::unique_ptr<fw::TStringList> items_;
    int itemHeight_ = -1;
    int itemOffset_ = 4;
    int columns_ = 1;
    std::vector<TKVXButtonControl*> buttons_;
    bool readingState_ = false;
    bool configuring_ = false;
    bool readOnly_ = false;
    uint8_t glyphSize_ = 13;
    bool glyphTransparent_ = false;
    bool glyphFlat_ = false;
    bool useBitmap_ = false;
    std::unique_ptr<TKVX3DCaption> font3D_;
    TKVXGlyphTextFocusStyle focusStyle_ = TKVXGlyphTextFocusStyle::fcText;
    bool useFocusColor_ = false;
    TColor focusColor_ = 0x808080;
    TColor glyphTransparentColor_ = 0x008080;
    TKVXChildHelpContextID helpContextBtn_ = TKVXChildHelpContextID::ciDefault;
    TKVXImageLink glyphLink_;
};

class TKVXCustomRadioGroup : public TKVXCustomButtonGroup {
public:
    explicit TKVXCustomRadioGroup(TComponent* owner);

    int ItemIndex() const { return itemIndex_; }
    // Kept from -1 (none) to the last button; the newly checked button reports, so OnChange fires.
    // While the form is read the value is only stored.
    void SetItemIndex(int value);

protected:
    int GetItemIndex() override { return itemIndex_; }
    TKVXButtonControl* NewButton() override;
    void ApplySelection() override;
    bool TakeSelection(int index) override;
    void ItemsChanging() override;
    void BuildButtons() override;

private:
    int itemIndex_ = -1;
};

class TKVXRadioGroup : public TKVXCustomRadioGroup {
public:
    using TKVXCustomRadioGroup::TKVXCustomRadioGroup;
};

class TKVXCustomCheckGroup : public TKVXCustomButtonGroup {
public:
    explicit TKVXCustomCheckGroup(TComponent* owner);

    // Bit i is button i (the first 31 buttons); a negative value checks nothing.
    int32_t Value() const { return value_; }
    void SetValue(int32_t value);
    uint8_t GlyphNumber() const { return glyphNumber_; }
    void SetGlyphNumber(uint8_t value);

protected:
    TKVXButtonControl* NewButton() override;
    void ConfigureButton(TKVXButtonControl* button) override;
    void ApplySelection() override;
    bool TakeSelection(int index) override;

private:
    int32_t value_ = 0;
    uint8_t glyphNumber_ = 3;
};

class TKVXCheckGroup : public TKVXCustomCheckGroup {
public:
    using TKVXCustomCheckGroup::TKVXCustomCheckGroup;
};

}  // namespace kvx::win32
