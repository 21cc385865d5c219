// The string list behind a list-like control.
#include "framework/win32/std_items.h"

#include <algorithm>

#include "framework/core/exceptions.h"

namespace fw {

void TControlItems::Check(int index) const {
    if (index < 0 || index >= Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

std::string TControlItems::Get(int index) const {
    Check(index);
    return items_[static_cast<size_t>(index)].text;
}

void TControlItems::Put(int index, const std::string& s) {
    Check(index);
    items_[static_cast<size_t>(index)].text = s;
    if (sink_) sink_->ItemChanged(index, s);
}

TObject* TControlItems::GetObject(int index) const {
    Check(index);
    return items_[static_cast<size_t>(index)].object;
}

void TControlItems::PutObject(int index, TObject* object) {
    Check(index);
    items_[static_cast<size_t>(index)].object = object;
}

void TControlItems::Insert(int index, const std::string& s) {
    if (index < 0 || index > Count())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    items_.insert(items_.begin() + index, Item{s, nullptr});
    if (sink_) sink_->ItemInserted(index, s);
}

int TControlItems::Add(const std::string& s) {
    int index = Count();
    if (sorted_) {
        auto at = std::upper_bound(items_.begin(), items_.end(), s, [this](const std::string& v, const Item& item) {
            return CompareStrings(v, item.text) < 0;
        });
        index = static_cast<int>(at - items_.begin());
    }
    Insert(index, s);
    return index;
}

void TControlItems::Delete(int index) {
    Check(index);
    items_.erase(items_.begin() + index);
    if (sink_) sink_->ItemDeleted(index);
}

void TControlItems::Clear() {
    items_.clear();
    if (sink_) sink_->ItemsCleared();
}

void TControlItems::SetSorted(bool value) {
    if (sorted_ == value) return;
    sorted_ = value;
    if (!value) return;
    std::vector<Item> sorted = items_;
    std::stable_sort(sorted.begin(), sorted.end(),
                     [this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
    BeginUpdate();
    Clear();
    for (const Item& item : sorted) {
        items_.push_back(item);
        if (sink_) sink_->ItemInserted(Count() - 1, item.text);
    }
    EndUpdate();
}

void TControlItems::SetUpdateState(bool updating) {
    if (sink_) sink_->ItemsUpdating(updating);
}

}  // namespace fw
