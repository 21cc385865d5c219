// TRadioGroup.
#include "framework/win32/std_radiogroup.h"

#include "framework/win32/caption_check.h"

namespace fw {

namespace {
// Where the caption starts on the frame's top edge.
constexpr int kCaptionIndent = 8;
}  // namespace

TRadioGroup::TRadioGroup(TComponent* owner) : TCustomControl(owner), items_(new TControlItems(this)) {
    controlStyle_ = csSetCaption | csDoubleClicks | csOpaque;
    SetBounds(0, 0, 185, 105);
    SetColor(clBtnFace);
}

TRadioGroup::~TRadioGroup() { delete items_; }

void TRadioGroup::ItemInserted(int index, const std::string& s) {
    auto* button = Make<TRadioButton>(this);
    button->SetCaption(s);
    button->OnClick = TNotifyEvent(this, &TRadioGroup::ButtonClick);
    buttons_.insert(buttons_.begin() + index, button);
    button->SetParent(this);
    if (itemIndex_ >= index && itemIndex_ >= 0 && buttons_.size() > 1) ++itemIndex_;
    ArrangeButtons();
}

void TRadioGroup::ItemDeleted(int index) {
    TRadioButton* button = buttons_.at(static_cast<size_t>(index));
    buttons_.erase(buttons_.begin() + index);
    button->Free();
    if (itemIndex_ == index) itemIndex_ = -1;
    else if (itemIndex_ > index) --itemIndex_;
    ArrangeButtons();
}

void TRadioGroup::ItemsCleared() {
    std::vector<TRadioButton*> doomed;
    doomed.swap(buttons_);
    for (TRadioButton* button : doomed) button->Free();
    itemIndex_ = -1;
}

void TRadioGroup::ItemChanged(int index, const std::string& s) { buttons_.at(static_cast<size_t>(index))->SetCaption(s); }

void TRadioGroup::Loaded() {
    TCustomControl::Loaded();
    const int index = itemIndex_;
    itemIndex_ = -1;
    updating_ = true;
    if (index >= 0 && index < static_cast<int>(buttons_.size())) {
        buttons_[static_cast<size_t>(index)]->SetChecked(true);
        itemIndex_ = index;
    }
    updating_ = false;
    ArrangeButtons();
}

void TRadioGroup::SetItemIndex(int value) {
    if (InState(csLoading)) {
        itemIndex_ = value;
        return;
    }
    if (value < -1 || value >= static_cast<int>(buttons_.size())) value = -1;
    if (value == itemIndex_) return;
    updating_ = true;
    if (value >= 0)
        buttons_[static_cast<size_t>(value)]->SetChecked(true);
    else if (itemIndex_ >= 0)
        buttons_[static_cast<size_t>(itemIndex_)]->SetChecked(false);
    updating_ = false;
    itemIndex_ = value;
    Click();
}

void TRadioGroup::ButtonClick(TObject* sender) {
    if (updating_) return;
    for (size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i] != sender || !buttons_[i]->Checked()) continue;
        if (itemIndex_ != static_cast<int>(i)) {
            itemIndex_ = static_cast<int>(i);
            Click();
        }
    }
}

void TRadioGroup::SetColumns(int value) {
    columns_ = std::clamp(value, 1, 16);
    ArrangeButtons();
}

void TRadioGroup::ArrangeButtons() {
    if (buttons_.empty() || InState(csLoading)) return;
    const int count = static_cast<int>(buttons_.size());
    const int rows = (count + columns_ - 1) / columns_;
    const int top = 16, left = 8;
    const int width = std::max((Width() - 2 * left) / columns_, 1);
    const int height = std::max((Height() - top - 6) / std::max(rows, 1), 1);
    for (int i = 0; i < count; ++i) {
        const int column = i / rows, row = i % rows;
        buttons_[static_cast<size_t>(i)]->SetBounds(left + column * width, top + row * height, width - 4,
                                                    std::min(height, 20));
    }
}

void TRadioGroup::WMSize(TMessage& message) {
    TCustomControl::WMSize(message);
    ArrangeButtons();
}

void TRadioGroup::CMTextChanged(TMessage& message) {
    TCustomControl::CMTextChanged(message);
    Invalidate();
}

void TRadioGroup::Paint() {
    TCanvas* canvas = Canvas();
    canvas->Brush()->SetColor(Color());
    canvas->FillRect(ClientRect());
    canvas->SetFont(Font());
    const int textHeight = canvas->TextHeight("0");
    RECT frame{0, textHeight / 2, Width(), Height()};
    DrawEdge(canvas->Handle(), &frame, EDGE_ETCHED, BF_RECT);
    const std::string caption = Caption();
    if (!caption.empty()) {
        canvas->Brush()->SetColor(Color());
        canvas->TextOut(kCaptionIndent, 0, caption);
    }
    TCustomControl::Paint();
}

bool TRadioGroup::MeasureCaption(int& needed, int& room) {
    const std::string caption = Caption();
    if (caption.empty()) return false;
    needed = CaptionTextWidth(Font()->Handle(), caption, DT_NOPREFIX) + 2 * kCaptionIndent;  // drawn with TextOut
    room = Width();
    return true;
}

void RegisterRadioGroupClasses() {
    RegisterButtonClasses();
    Class<TRadioGroup, TCustomControl>("TRadioGroup")
        .Prop("Items", &TRadioGroup::Items, &TRadioGroup::SetItems)
        .Prop("ItemIndex", &TRadioGroup::ItemIndex, &TRadioGroup::SetItemIndex)
        .Prop("Columns", &TRadioGroup::Columns, &TRadioGroup::SetColumns);
}

}  // namespace fw
