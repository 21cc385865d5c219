#include "framework/core/lists.h"

#include <algorithm>

#include "framework/core/streams.h"
#include "framework/core/sysutils.h"

namespace fw {

void ListIndexError(int index) { throw EListError("List index out of bounds (" + std::to_string(index) + ")"); }


// ---- TList -------------------------------------------------------------------------------------------

void TList::Check(int index) const {
    if (index < 0 || index >= Count()) ListIndexError(index);
}

void* TList::Get(int index) const {
    Check(index);
    return items_[static_cast<size_t>(index)];
}

void TList::Put(int index, void* item) {
    Check(index);
    items_[static_cast<size_t>(index)] = item;
}

int TList::Add(void* item) {
    items_.push_back(item);
    return Count() - 1;
}

void TList::Insert(int index, void* item) {
    if (index < 0 || index > Count()) ListIndexError(index);
    items_.insert(items_.begin() + index, item);
}

void TList::Delete(int index) {
    Check(index);
    items_.erase(items_.begin() + index);
}

int TList::Remove(void* item) {
    int index = IndexOf(item);
    if (index >= 0) Delete(index);
    return index;
}

int TList::IndexOf(void* item) const {
    auto it = std::find(items_.begin(), items_.end(), item);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void TList::Exchange(int index1, int index2) {
    Check(index1);
    Check(index2);
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
}

void TList::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    Check(curIndex);
    Check(newIndex);
    void* item = items_[static_cast<size_t>(curIndex)];
    items_.erase(items_.begin() + curIndex);
    items_.insert(items_.begin() + newIndex, item);
}

void TList::Pack() { items_.erase(std::remove(items_.begin(), items_.end(), nullptr), items_.end()); }

void TList::Sort(const std::function<int(void*, void*)>& compare) {
    std::stable_sort(items_.begin(), items_.end(), [&](void* a, void* b) { return compare(a, b) < 0; });
}

// ---- TStrings ----------------------------------------------------------------------------------------

void TStrings::Put(int index, const std::string& s) {
    TObject* object = GetObject(index);
    BeginUpdate();
    try {
        Delete(index);
        InsertObject(index, s, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

TObject* TStrings::GetObject(int) const { return nullptr; }
void TStrings::PutObject(int, TObject*) {}

int TStrings::Add(const std::string& s) {
    int index = Count();
    Insert(index, s);
    return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
    int index = Add(s);
    PutObject(index, object);
    return index;
}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

void TStrings::AddStrings(const TStrings& strings) {
    BeginUpdate();
    try {
        for (int i = 0; i < strings.Count(); ++i) AddObject(strings.Get(i), strings.GetObject(i));
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

int TStrings::CompareStrings(const std::string& a, const std::string& b) const {
    return CaseSensitive() ? CompareStr(a, b) : AnsiCompareText(a, b);
}

bool TStrings::SameString(const std::string& a, const std::string& b) const {
    return CaseSensitive() ? a == b : SameText(a, b);
}

int TStrings::IndexOf(const std::string& s) const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (SameString(Get(i), s)) return i;
    return -1;
}

int TStrings::IndexOfObject(TObject* object) const {
    for (int i = 0, n = Count(); i < n; ++i)
        if (GetObject(i) == object) return i;
    return -1;
}

void TStrings::Exchange(int index1, int index2) {
    std::string s1 = Get(index1), s2 = Get(index2);
    TObject* o1 = GetObject(index1);
    TObject* o2 = GetObject(index2);
    Put(index1, s2);
    PutObject(index1, o2);
    Put(index2, s1);
    PutObject(index2, o1);
}

void TStrings::Move(int curIndex, int newIndex) {
    if (curIndex == newIndex) return;
    BeginUpdate();
    try {
        std::string s = Get(curIndex);
        TObject* object = GetObject(curIndex);
        if (newIndex < 0 || newIndex >= Count()) ListIndexError(newIndex);
        Delete(curIndex);
        InsertObject(newIndex, s, object);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

bool TStrings::Equals(const TStrings& other) const {
    if (Count() != other.Count()) return false;
    for (int i = 0; i < Count(); ++i)
        if (Get(i) != other.Get(i)) return false;
    return true;
}

std::string TStrings::Names(int index) const {
    std::string s = Get(index);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(0, eq);
}

std::string TStrings::ValueFromIndex(int index) const {
    std::string s = Get(index);
    size_t eq = s.find('=');
    return eq == std::string::npos ? std::string() : s.substr(eq + 1);
}

int TStrings::IndexOfName(const std::string& name) const {
    for (int i = 0, n = Count(); i < n; ++i) {
        std::string s = Get(i);
        size_t eq = s.find('=');
        if (eq != std::string::npos && SameString(s.substr(0, eq), name)) return i;
    }
    return -1;
}

std::string TStrings::Values(const std::string& name) const {
    int i = IndexOfName(name);
    return i < 0 ? std::string() : ValueFromIndex(i);
}

void TStrings::SetValue(const std::string& name, const std::string& value) {
    int i = IndexOfName(name);
    if (value.empty()) {
        if (i >= 0) Delete(i);
    } else if (i < 0) {
        Add(name + "=" + value);
    } else {
        Put(i, name + "=" + value);
    }
}

std::string TStrings::Text() const {
    std::string text;
    for (int i = 0, n = Count(); i < n; ++i) {
        text += Get(i);
        text += "\r\n";
    }
    return text;
}

void TStrings::SetText(const std::string& text) {
    BeginUpdate();
    try {
        Clear();
        size_t start = 0;
        while (start < text.size()) {
            size_t end = text.find_first_of("\r\n", start);
            if (end == std::string::npos) {
                Add(text.substr(start));
                break;
            }
            Add(text.substr(start, end - start));
            start = end + 1;
            if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TStrings::CommaText() const {
    std::string text;
    for (int i = 0, n = Count(); i < n; ++i) {
        if (i) text += ',';
        std::string s = Get(i);
        bool quote = s.empty() && n == 1;
        for (unsigned char c : s)
            if (c <= ' ' || c == ',' || c == '"') quote = true;
        if (!quote) {
            text += s;
            continue;
        }
        text += '"';
        for (char c : s) {
            if (c == '"') text += '"';
            text += c;
        }
        text += '"';
    }
    return text;
}

void TStrings::SetCommaText(const std::string& text) {
    BeginUpdate();
    try {
        Clear();
        size_t i = 0, n = text.size();
        auto skipBlanks = [&] {
            while (i < n && static_cast<unsigned char>(text[i]) <= ' ') ++i;
        };
        skipBlanks();
        while (i < n) {
            std::string item;
            if (text[i] == '"') {
                ++i;
                while (i < n) {
                    if (text[i] == '"') {
                        if (i + 1 < n && text[i + 1] == '"') {
                            item += '"';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    item += text[i++];
                }
            } else {
                while (i < n && text[i] != ',' && static_cast<unsigned char>(text[i]) > ' ') item += text[i++];
            }
            Add(item);
            skipBlanks();
            if (i < n && text[i] == ',') {
                ++i;
                skipBlanks();
                if (i == n) Add(std::string());
            }
        }
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

void TStrings::BeginUpdate() {
    if (updateCount_++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(TPersistent* source) {
    if (auto* strings = dynamic_cast<TStrings*>(source)) {
        if (strings == this) return;
        BeginUpdate();
        try {
            Clear();
            AddStrings(*strings);
        } catch (...) {
            EndUpdate();
            throw;
        }
        EndUpdate();
        return;
    }
    TPersistent::Assign(source);
}

void TStrings::AssignTo(TPersistent* dest) { TPersistent::AssignTo(dest); }

void TStrings::LoadFromStream(TStream& stream) {
    int64_t size = stream.Size() - stream.Position();
    SetText(stream.ReadString(size < 0 ? 0 : size));
}

void TStrings::SaveToStream(TStream& stream) const { stream.WriteString(Text()); }

void TStrings::LoadFromFile(const std::string& fileName) {
    TFileStream stream(fileName, fmOpenRead | fmShareDenyWrite);
    LoadFromStream(stream);
}

void TStrings::SaveToFile(const std::string& fileName) const {
    TFileStream stream(fileName, fmCreate);
    SaveToStream(stream);
}

// ---- TStringList -------------------------------------------------------------------------------------

void TStringList::Check(int index) const {
    if (index < 0 || index >= Count()) ListIndexError(index);
}

std::string TStringList::Get(int index) const {
    Check(index);
    return items_[static_cast<size_t>(index)].s;
}

void TStringList::Put(int index, const std::string& s) {
    if (sorted_) throw EListError("Operation not allowed on sorted list");
    Check(index);
    Changing();
    items_[static_cast<size_t>(index)].s = s;
    Changed();
}

TObject* TStringList::GetObject(int index) const {
    Check(index);
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::PutObject(int index, TObject* object) {
    Check(index);
    Changing();
    items_[static_cast<size_t>(index)].object = object;
    Changed();
}

void TStringList::InsertItem(int index, const std::string& s, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Insert(int index, const std::string& s) {
    if (sorted_) throw EListError("Operation not allowed on sorted list");
    if (index < 0 || index > Count()) ListIndexError(index);
    InsertItem(index, s, nullptr);
}

int TStringList::Add(const std::string& s) {
    if (!sorted_) {
        InsertItem(Count(), s, nullptr);
        return Count() - 1;
    }
    int index = 0;
    if (Find(s, index)) {
        if (duplicates_ == TDuplicates::dupIgnore) return index;
        if (duplicates_ == TDuplicates::dupError) throw EListError("String list does not allow duplicates");
    }
    InsertItem(index, s, nullptr);
    return index;
}

void TStringList::Delete(int index) {
    Check(index);
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

void TStringList::Exchange(int index1, int index2) {
    Check(index1);
    Check(index2);
    Changing();
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
    Changed();
}

bool TStringList::Find(const std::string& s, int& index) const {
    // The first equal string; with duplicates accepted, the place after the last equal one.
    int lo = 0, hi = Count() - 1;
    bool found = false;
    while (lo <= hi) {
        int mid = lo + (hi - lo) / 2;
        int c = CompareStrings(items_[static_cast<size_t>(mid)].s, s);
        if (c == 0) found = true;
        if (c < 0 || (c == 0 && duplicates_ == TDuplicates::dupAccept))
            lo = mid + 1;
        else
            hi = mid - 1;
    }
    index = lo;
    return found;
}

int TStringList::IndexOf(const std::string& s) const {
    if (!sorted_) return TStrings::IndexOf(s);
    // The binary search may stop after an equal run when duplicates are accepted: step back to the first.
    int index = 0;
    if (!Find(s, index)) return -1;
    while (index > 0 && CompareStrings(items_[static_cast<size_t>(index - 1)].s, s) == 0) --index;
    if (index < Count() && CompareStrings(items_[static_cast<size_t>(index)].s, s) == 0) return index;
    return -1;
}

void TStringList::Sort() {
    CustomSort([](TStringList& list, int a, int b) { return list.CompareStrings(list.Get(a), list.Get(b)); });
}

void TStringList::CustomSort(const std::function<int(TStringList&, int, int)>& compare) {
    if (items_.size() < 2) return;
    Changing();
    // Sort an index permutation so that the comparison sees the list as it was.
    std::vector<int> order(items_.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(*this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order) sorted.push_back(items_[static_cast<size_t>(i)]);
    items_ = std::move(sorted);
    Changed();
}

void TStringList::SetSorted(bool sorted) {
    if (sorted_ == sorted) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive_ == caseSensitive) return;
    caseSensitive_ = caseSensitive;
    if (sorted_) Sort();
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
    if (updating)
        Changing();
    else
        Changed();
}

// ---- TCollection -------------------------------------------------------------------------------------

TCollectionItem::TCollectionItem(TCollection* collection) { SetCollection(collection); }

TCollectionItem::~TCollectionItem() {
    if (collection_) collection_->RemoveItem(this);
}

void TCollectionItem::SetCollection(TCollection* collection) {
    if (collection_ == collection) return;
    if (collection_) collection_->RemoveItem(this);
    if (collection) collection->InsertItem(this);
}

int TCollectionItem::Index() const {
    if (!collection_) return -1;
    auto& items = collection_->items_;
    auto it = std::find(items.begin(), items.end(), this);
    return it == items.end() ? -1 : static_cast<int>(it - items.begin());
}

void TCollectionItem::SetIndex(int index) {
    int current = Index();
    if (current < 0 || current == index) return;
    auto& items = collection_->items_;
    if (index < 0 || index >= static_cast<int>(items.size())) ListIndexError(index);
    items.erase(items.begin() + current);
    items.insert(items.begin() + index, this);
    Changed(true);
}

TPersistent* TCollectionItem::GetOwner() { return collection_; }

void TCollectionItem::Changed(bool allItems) {
    if (collection_ && collection_->updateCount_ == 0) collection_->Update(allItems ? nullptr : this);
}

TCollection::TCollection(ItemFactory factory, TPersistent* owner) : factory_(factory), owner_(owner) {}

TCollection::~TCollection() {
    updateCount_ = 1;  // no Update calls into a half-destroyed owner
    Clear();
}

TCollectionItem* TCollection::Items(int index) const {
    if (index < 0 || index >= Count()) ListIndexError(index);
    return items_[static_cast<size_t>(index)];
}

TCollectionItem* TCollection::Add() {
    TCollectionItem* item = factory_(this);
    if (item->collection_ != this) item->SetCollection(this);
    Changed();
    return item;
}

TCollectionItem* TCollection::Insert(int index) {
    TCollectionItem* item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index) { delete Items(index); }

void TCollection::Clear() {
    if (items_.empty()) return;
    BeginUpdate();
    while (!items_.empty()) delete items_.back();
    EndUpdate();
}

TCollectionItem* TCollection::FindItemID(int id) const {
    for (TCollectionItem* item : items_)
        if (item->id_ == id) return item;
    return nullptr;
}

void TCollection::BeginUpdate() { ++updateCount_; }

void TCollection::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TCollection::Changed() {
    if (updateCount_ == 0) Update(nullptr);
}

void TCollection::InsertItem(TCollectionItem* item) {
    items_.push_back(item);
    item->collection_ = this;
    item->id_ = nextId_++;
}

void TCollection::RemoveItem(TCollectionItem* item) {
    auto it = std::find(items_.begin(), items_.end(), item);
    if (it != items_.end()) items_.erase(it);
    item->collection_ = nullptr;
    Changed();
}

void TCollection::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TCollection*>(source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this) return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem* item : other->items_) Add()->Assign(item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

// ---- TBits -------------------------------------------------------------------------------------------

void TBits::SetSize(int size) {
    if (size < 0) throw EListError("Bits index out of range");
    bits_.resize(static_cast<size_t>(size), false);
}

bool TBits::Bits(int index) const {
    if (index < 0 || index >= Size()) throw EListError("Bits index out of range");
    return bits_[static_cast<size_t>(index)];
}

void TBits::SetBits(int index, bool value) {
    if (index < 0) throw EListError("Bits index out of range");
    if (index >= Size()) SetSize(index + 1);
    bits_[static_cast<size_t>(index)] = value;
}

int TBits::OpenBit() const {
    for (size_t i = 0; i < bits_.size(); ++i)
        if (!bits_[i]) return static_cast<int>(i);
    return Size();
}

}  // namespace fw
