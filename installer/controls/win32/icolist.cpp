#include "installer/controls/win32/icolist.h"

#include <algorithm>

#include "framework/core/exceptions.h"
#include "framework/core/filer.h"
#include "installer/controls/le_bytes.h"

namespace inst {

namespace {

// Runs BeginUpdate/EndUpdate around a scope, also when it throws.
class UpdateScope {
public:
    explicit UpdateScope(TIconList& list) : list_(list) { list_.BeginUpdate(); }
    ~UpdateScope() { list_.EndUpdate(); }
    UpdateScope(const UpdateScope&) = delete;
    UpdateScope& operator=(const UpdateScope&) = delete;

private:
    TIconList& list_;
};

}  // namespace

TIconList::~TIconList() {
    OnChange = {};
    for (auto& e : entries_)
        if (e) e->OnChange = {};
}

void TIconList::Changed() {
    if (updateCount_ == 0 && OnChange) OnChange(this);
}

void TIconList::BeginUpdate() { ++updateCount_; }

void TIconList::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) Changed();
}

void TIconList::IconChanged(fw::TObject*) { Changed(); }

void TIconList::CheckIndex(int index, int count) const {
    if (index < 0 || index >= count) throw fw::EListError("List index out of bounds (" + std::to_string(index) + ")");
}

std::unique_ptr<fw::TIcon> TIconList::NewEntry(fw::TIcon* from) {
    auto icon = std::make_unique<fw::TIcon>();
    if (from) icon->Assign(from);
    icon->OnChange.Bind(this, &TIconList::IconChanged);
    return icon;
}

fw::TIcon* TIconList::Get(int index) const {
    CheckIndex(index, Count());
    return entries_[static_cast<size_t>(index)].get();
}

void TIconList::Put(int index, fw::TIcon* icon) {
    CheckIndex(index, Count() + 1);
    UpdateScope update(*this);
    if (index == Count()) entries_.emplace_back();
    auto& entry = entries_[static_cast<size_t>(index)];
    if (!entry) entry = NewEntry(nullptr);
    entry->Assign(icon);
    Changed();
}

int TIconList::Add(fw::TIcon* icon) {
    const int index = Count();
    Insert(index, icon);
    return index;
}

int TIconList::AddResource(HINSTANCE instance, const std::string& name) {
    const int index = Count();
    InsertResource(index, instance, name);
    return index;
}

void TIconList::Clear() {
    UpdateScope update(*this);
    for (int i = Count() - 1; i >= 0; --i) Delete(i);
}

void TIconList::Delete(int index) {
    CheckIndex(index, Count());
    std::unique_ptr<fw::TIcon> gone = std::move(entries_[static_cast<size_t>(index)]);
    if (gone) gone->OnChange = {};
    entries_.erase(entries_.begin() + index);
    Changed();
}

void TIconList::Exchange(int index1, int index2) {
    CheckIndex(index1, Count());
    CheckIndex(index2, Count());
    std::swap(entries_[static_cast<size_t>(index1)], entries_[static_cast<size_t>(index2)]);
    Changed();
}

int TIconList::IndexOf(fw::TIcon* icon) const {
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].get() == icon) return static_cast<int>(i);
    return -1;
}

void TIconList::Insert(int index, fw::TIcon* icon) {
    CheckIndex(index, Count() + 1);
    entries_.insert(entries_.begin() + index, NewEntry(icon));
    Changed();
}

void TIconList::InsertResource(int index, HINSTANCE instance, const std::string& name) {
    CheckIndex(index, Count() + 1);
    auto icon = NewEntry(nullptr);
    icon->LoadFromResourceName(instance, name);
    entries_.insert(entries_.begin() + index, std::move(icon));
    Changed();
}

void TIconList::Move(int from, int to) {
    CheckIndex(from, Count());
    CheckIndex(to, Count());
    if (from == to) return;
    std::unique_ptr<fw::TIcon> moving = std::move(entries_[static_cast<size_t>(from)]);
    entries_.erase(entries_.begin() + from);
    entries_.insert(entries_.begin() + to, std::move(moving));
    Changed();
}

void TIconList::LoadFromStream(fw::TStream& stream) {
    UpdateScope update(*this);
    Clear();
    const uint32_t count = ReadLe32(stream);
    // Each entry takes at least its 4-byte size.
    if (count > (stream.Size() - stream.Position()) / 4) throw fw::EReadError(fw::SReadError);
    for (uint32_t i = 0; i < count; ++i) {
        const int32_t size = static_cast<int32_t>(ReadLe32(stream));
        if (size <= 0) {
            entries_.emplace_back();
            Changed();
            continue;
        }
        if (size > stream.Size() - stream.Position()) throw fw::EReadError(fw::SReadError);
        std::vector<uint8_t> image(static_cast<size_t>(size));
        stream.ReadBuffer(image.data(), size);
        auto icon = NewEntry(nullptr);
        icon->LoadFromBytes(image);
        entries_.push_back(std::move(icon));
        Changed();
    }
}

void TIconList::SaveToStream(fw::TStream& stream) {
    WriteLe32(stream, static_cast<uint32_t>(entries_.size()));
    for (const auto& e : entries_) {
        const std::vector<uint8_t> image = e && !e->Empty() ? e->SaveToBytes() : std::vector<uint8_t>{};
        WriteLe32(stream, static_cast<uint32_t>(image.size()));
        if (!image.empty()) stream.WriteBuffer(image.data(), static_cast<int64_t>(image.size()));
    }
}

void TIconList::DefineProperties(fw::TFiler& filer) {
    filer.DefineBinaryProperty(
        "Icons", [this](fw::TStream& s) { LoadFromStream(s); }, [this](fw::TStream& s) { SaveToStream(s); },
        !entries_.empty());
}

void TIconList::Assign(fw::TPersistent* source) {
    if (!source) {
        Clear();
        return;
    }
    if (auto* list = dynamic_cast<TIconList*>(source)) {
        if (list == this) return;
        UpdateScope update(*this);
        Clear();
        for (const auto& e : list->entries_) {
            if (e)
                Add(e.get());
            else
                entries_.emplace_back();
        }
        return;
    }
    if (auto* icon = dynamic_cast<fw::TIcon*>(source)) {
        UpdateScope update(*this);
        Clear();
        Add(icon);
        return;
    }
    fw::TPersistent::Assign(source);
}

}  // namespace inst
