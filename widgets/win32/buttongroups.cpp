#include "widgets/win32/buttongroups.h"

#include <vector>

#include "framework/win32/messages.h"
#include "widgets/win32/kvxcontainer.h"

namespace kvx::win32 {

namespace {

// Back and Space change a button; a group that cannot be modified drops them.
bool ModifyingKey(unsigned key) { return key == VK_SPACE || key == VK_BACK; }

}  // namespace

// ---- the group's buttons ------------------------------------------------------------------------

template <class Base>
TKVXGroupButton<Base>::~TKVXGroupButton() {
    group_->ButtonGone(this);
}

template <class Base>
bool TKVXGroupButton<Base>::CanModify() {
    return group_->CanModify();
}

template <class Base>
void TKVXGroupButton<Base>::KeyDown(uint16_t& key, fw::TShiftState shift) {
    if (ModifyingKey(key) && !group_->CanModify()) key = 0;
    if (key != 0) group_->ButtonKeyDown(key, shift);
    if (key != 0) Base::KeyDown(key, shift);
}

template <class Base>
void TKVXGroupButton<Base>::KeyPress(char& key) {
    if (ModifyingKey(static_cast<unsigned char>(key)) && !group_->CanModify()) key = 0;
    if (key != 0) group_->ButtonKeyPress(key);
    if (key != 0) Base::KeyPress(key);
}

template class TKVXGroupButton<TKVXCheckBox>;
template class TKVXGroupButton<TKVXRadioButton>;

// ---- TKVXCustomButtonGroup ----------------------------------------------------------------------

TKVXCustomButtonGroup::TKVXCustomButtonGroup(TComponent* owner)
    : TKVXCustomGroupBox(owner),
      items_(std::make_unique<fw::TStringList>()),
      font3D_(std::make_unique<TKVX3DCaption>()),
      glyphLink_(this, [this](TObject* sender) { GlyphLinkChanged(sender); }) {
    items_->OnChange = TNotifyEvent(this, &TKVXCustomButtonGroup::ItemsChanged);
    font3D_->OnChange = TNotifyEvent(this, &TKVXCustomButtonGroup::GlyphLinkChanged);
}

TKVXCustomButtonGroup::~TKVXCustomButtonGroup() {
    // The buttons leave the list as they go, while the group is still whole.
    while (!buttons_.empty()) buttons_.back()->Free();
}

void TKVXCustomButtonGroup::ButtonGone(TKVXButtonControl* button) { std::erase(buttons_, button); }

int TKVXCustomButtonGroup::IndexOf(TObject* button) const {
    for (size_t i = 0; i < buttons_.size(); ++i)
        if (buttons_[i] == button) return static_cast<int>(i);
    return -1;
}

void TKVXCustomButtonGroup::SetColumns(int value) {
    value = KVXClampColumns(value);
    if (columns_ == value) return;
    columns_ = value;
    ArrangeButtons();
}

void TKVXCustomButtonGroup::SetItemHeight(int value) {
    if (itemHeight_ == value) return;
    itemHeight_ = value;
    ArrangeButtons();
}

void TKVXCustomButtonGroup::SetItemOffset(int value) {
    if (itemOffset_ == value) return;
    itemOffset_ = value;
    ArrangeButtons();
}

void TKVXCustomButtonGroup::SetGlyphSize(uint8_t value) {
    if (glyphSize_ == value) return;
    glyphSize_ = value;
    if (Loading() || !glyphLink_.NoImage()) return;
    for (TKVXButtonControl* b : buttons_) b->SetGlyphSize(value);
    ArrangeButtons();
}

void TKVXCustomButtonGroup::SetGlyphFlat(bool value) {
    if (glyphFlat_ == value) return;
    glyphFlat_ = value;
    if (Loading() || !glyphLink_.NoImage()) return;
    for (TKVXButtonControl* b : buttons_) b->SetGlyphFlat(value);
}

void TKVXCustomButtonGroup::SetGlyphTransparent(bool value) {
    if (glyphTransparent_ == value) return;
    glyphTransparent_ = value;
    RefreshButtons();
}

void TKVXCustomButtonGroup::SetGlyphTransparentColor(TColor value) {
    if (glyphTransparentColor_ == value) return;
    glyphTransparentColor_ = value;
    RefreshButtons();
}

void TKVXCustomButtonGroup::SetUseBitmap(bool value) {
    if (useBitmap_ == value) return;
    useBitmap_ = value;
    for (TKVXButtonControl* b : buttons_) b->SetUseBitmap(value);
}

void TKVXCustomButtonGroup::SetFocusStyle(TKVXGlyphTextFocusStyle value) {
    if (focusStyle_ == value) return;
    focusStyle_ = value;
    if (!InState(fw::csDesigning)) RefreshButtons();
}

void TKVXCustomButtonGroup::SetFocusColor(TColor value) {
    if (focusColor_ == value) return;
    focusColor_ = value;
    if (!InState(fw::csDesigning)) RefreshButtons();
}

void TKVXCustomButtonGroup::SetUseFocusColor(bool value) {
    if (useFocusColor_ == value) return;
    useFocusColor_ = value;
    if (!InState(fw::csDesigning)) RefreshButtons();
}

void TKVXCustomButtonGroup::SetHelpContextBtn(TKVXChildHelpContextID value) {
    helpContextBtn_ = value;
    for (int i = 0; i < ButtonCount(); ++i) Buttons(i)->SetHelpContext(KVXChildHelpContext(value, HelpContext(), i));
}

void TKVXCustomButtonGroup::ButtonKeyDown(uint16_t& key, fw::TShiftState shift) {
    if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TKVXCustomButtonGroup::ButtonKeyPress(char& key) {
    if (OnKeyPress) OnKeyPress(this, key);
}

void TKVXCustomButtonGroup::ButtonNotify(TObject* sender) {
    if (configuring_) return;
    const int index = IndexOf(sender);
    if (index < 0 || !TakeSelection(index)) return;
    Click();
    if (OnChange) OnChange(this, index);
}

void TKVXCustomButtonGroup::SetButtonCount(int count) {
    while (ButtonCount() < count) {
        TKVXButtonControl* b = NewButton();
        b->SetVisible(false);
        b->SetParentShowHint(false);
        b->SetShowHint(false);
        b->SetTransparent(true);
        buttons_.push_back(b);
        b->SetEnabled(Enabled());
        b->SetParent(this);
    }
    while (ButtonCount() > count) buttons_.back()->Free();
}

void TKVXCustomButtonGroup::ConfigureAll() {
    for (int i = 0; i < ButtonCount(); ++i) {
        TKVXButtonControl* b = Buttons(i);
        b->SetPaintSuppressed(true);
        b->SetCaption(items_->Strings(i));
        b->Alignment()->SetAlignment(TKVXAlignment::agCenterLeft);
        b->SetImageValue(0, glyphLink_.ImageIndex());
        b->SetImageValue(1, glyphLink_.ListIndex());
        b->SetParentColor(true);
        b->SetImageList(glyphLink_.List());
        b->SetGlyphTransparent(glyphTransparent_);
        b->SetGlyphTransparentColor(glyphTransparentColor_);
        b->SetGlyphSize(glyphSize_);
        b->SetGlyphFlat(glyphFlat_);
        b->SetFocusStyle(focusStyle_);
        b->SetFocusColor(focusColor_);
        b->SetUseFocusColor(useFocusColor_);
        b->SetFont3D(font3D_.get());
        b->SetUseBitmap(useBitmap_);
        b->SetHelpContext(KVXChildHelpContext(helpContextBtn_, HelpContext(), i));
        ConfigureButton(b);
        b->SetPaintSuppressed(false);
    }
}

void TKVXCustomButtonGroup::BuildButtons() {
    SetButtonCount(items_->Count());
    configuring_ = true;
    try {
        ConfigureAll();
        ApplySelection();
    } catch (...) {
        configuring_ = false;
        throw;
    }
    configuring_ = false;
    ArrangeButtons();
}

void TKVXCustomButtonGroup::ArrangeButtons() {
    if (readingState_ || buttons_.empty()) return;
    TKVXButtonArrange a;
    a.width = Width();
    a.height = Height();
    a.bevelWidth = Bevel()->Extent();
    a.captionExtent = CaptionExtent();
    a.align = Alignment();
    a.count = ButtonCount();
    a.columns = columns_;
    a.itemHeight = itemHeight_;
    a.itemOffset = itemOffset_;
    const std::vector<TRect> bounds = KVXArrangeButtons(a);
    for (size_t i = 0; i < bounds.size(); ++i) {
        buttons_[i]->SetBoundsRect(bounds[i]);
        buttons_[i]->SetVisible(true);
    }
}

void TKVXCustomButtonGroup::RefreshButtons() {
    BuildButtons();
    if (!readingState_) ContentChanged(this);
    for (int i = 0; i < ComponentCount(); ++i)
        if (auto* c = dynamic_cast<fw::TControl*>(Components(i))) c->Invalidate();
}

void TKVXCustomButtonGroup::ContentChanged(TObject* sender) {
    TKVXCustomGroupBox::ContentChanged(sender);
    ArrangeButtons();
}

void TKVXCustomButtonGroup::ItemsChanged(TObject*) {
    if (readingState_) return;
    ItemsChanging();
    BuildButtons();
}

void TKVXCustomButtonGroup::Loaded() {
    TKVXCustomGroupBox::Loaded();
    BuildButtons();
}

void TKVXCustomButtonGroup::ReadState(fw::TReader& reader) {
    readingState_ = true;
    try {
        TKVXCustomGroupBox::ReadState(reader);
    } catch (...) {
        readingState_ = false;
        throw;
    }
    readingState_ = false;
}

void TKVXCustomButtonGroup::Dispatch(fw::TMessage& message) {
    TKVXCustomGroupBox::Dispatch(message);
    switch (message.Msg) {
        case fw::CM_ENABLEDCHANGED:
            for (TKVXButtonControl* b : buttons_) b->SetEnabled(Enabled());
            break;
        case fw::CM_FONTCHANGED: ArrangeButtons(); break;
        default: break;
    }
}

void TKVXCustomButtonGroup::WMSize(fw::TMessage& message) {
    TKVXCustomGroupBox::WMSize(message);
    ArrangeButtons();
}

void TKVXCustomButtonGroup::Notification(TComponent* component, fw::TOperation operation) {
    TKVXCustomGroupBox::Notification(component, operation);
    glyphLink_.Notification(component, operation);
}

void TKVXCustomButtonGroup::DefineProperties(fw::TFiler& filer) {
    TKVXCustomGroupBox::DefineProperties(filer);
    // A list of the application's container is stored by its identifier.
    filer.DefineProperty(
        "GlyphInternal", [this](fw::TReader& r) { SetGlyphImageList(KVXContainerListById(r.ReadString())); },
        [this](fw::TWriter& w) { w.WriteString(KVXContainerListId(GlyphImageList())); },
        KVXIsContainerList(GlyphImageList()));
}

// ---- TKVXCustomRadioGroup -----------------------------------------------------------------------

TKVXCustomRadioGroup::TKVXCustomRadioGroup(TComponent* owner) : TKVXCustomButtonGroup(owner) {
    SetGlyphTransparent(true);
}

TKVXButtonControl* TKVXCustomRadioGroup::NewButton() {
    auto* b = fw::Make<TKVXRadioGroupButton>(this, this);
    b->OnClick = TNotifyEvent(this, &TKVXCustomRadioGroup::ButtonNotify);
    return b;
}

void TKVXCustomRadioGroup::SetItemIndex(int value) {
    if (ReadingState()) {
        itemIndex_ = value;
        return;
    }
    value = KVXClampItemIndex(value, ButtonCount());
    if (value == itemIndex_) return;
    if (itemIndex_ >= 0 && itemIndex_ < ButtonCount()) Buttons(itemIndex_)->SetChecked(false);
    itemIndex_ = value;
    if (value >= 0) Buttons(value)->SetChecked(true);
}

void TKVXCustomRadioGroup::BuildButtons() {
    // An index read with the form may lie beyond the items.
    itemIndex_ = KVXClampItemIndex(itemIndex_, Items()->Count());
    TKVXCustomButtonGroup::BuildButtons();
}

void TKVXCustomRadioGroup::ItemsChanging() {
    if (itemIndex_ >= Items()->Count()) itemIndex_ = Items()->Count() - 1;
}

void TKVXCustomRadioGroup::ApplySelection() {
    if (itemIndex_ >= 0 && itemIndex_ < ButtonCount()) Buttons(itemIndex_)->SetChecked(true);
}

bool TKVXCustomRadioGroup::TakeSelection(int index) {
    // A group that cannot be modified keeps its choice and reports nothing.
    if (!CanModify()) return false;
    SetItemIndex(index);
    return true;
}

// ---- TKVXCustomCheckGroup -----------------------------------------------------------------------

TKVXCustomCheckGroup::TKVXCustomCheckGroup(TComponent* owner) : TKVXCustomButtonGroup(owner) {}

TKVXButtonControl* TKVXCustomCheckGroup::NewButton() {
    auto* b = fw::Make<TKVXCheckGroupButton>(this, this);
    b->OnChange = TNotifyEvent(this, &TKVXCustomCheckGroup::ButtonNotify);
    return b;
}

void TKVXCustomCheckGroup::ConfigureButton(TKVXButtonControl* button) {
    static_cast<TKVXCheckGroupButton*>(button)->SetGlyphNumber(glyphNumber_);
}

void TKVXCustomCheckGroup::SetValue(int32_t value) {
    value_ = value;
    if (!ReadingState()) ApplySelection();
}

void TKVXCustomCheckGroup::SetGlyphNumber(uint8_t value) {
    if (glyphNumber_ == value) return;
    glyphNumber_ = value;
    RefreshButtons();
}

void TKVXCustomCheckGroup::ApplySelection() {
    for (int i = 0; i < ButtonCount(); ++i) {
        auto* b = static_cast<TKVXCheckGroupButton*>(Buttons(i));
        b->SetPaintSuppressed(true);
        b->SetState(KVXCheckGroupBit(value_, i) ? fw::TCheckBoxState::cbChecked : fw::TCheckBoxState::cbUnchecked);
        b->SetPaintSuppressed(false);
    }
}

bool TKVXCustomCheckGroup::TakeSelection(int) {
    std::vector<bool> checked;
    for (int i = 0; i < ButtonCount(); ++i) checked.push_back(Buttons(i)->GetChecked());
    SetValue(KVXCheckGroupValue(checked));
    return true;
}

}  // namespace kvx::win32
