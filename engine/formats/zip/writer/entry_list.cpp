#include "engine/formats/zip/writer/entry_list.h"

#include "engine/core/routines.h"
#include "framework/core/sysutils.h"

namespace engine::zip {

namespace {

std::string Folded(const std::string& key)
{
    std::string out = key;
    for (char& c : out)
        c = fw::AnsiUpperChar(c);
    return out;
}

}  // namespace

std::string StoredKey(const std::string& storedName) { return ToBackslashes(storedName); }

// ---- EntryList ------------------------------------------------------------------------------------

EntryList::EntryList() : names_(new fw::TStringList) {}

EntryList::~EntryList() { delete names_; }

TZipCompObject& EntryList::Add(const std::string& key)
{
    objects_.push_back(std::make_unique<TZipCompObject>());
    keys_.push_back(key);
    names_->AddObject(key, objects_.back().get());
    index_.emplace(Folded(key), static_cast<int>(keys_.size()) - 1);
    return *objects_.back();
}

int EntryList::IndexOf(const std::string& key) const
{
    const auto it = index_.find(Folded(key));
    return it == index_.end() ? -1 : it->second;
}

TZipCompObject* EntryList::Find(const std::string& key) const
{
    const int i = IndexOf(key);
    return i < 0 ? nullptr : objects_[static_cast<size_t>(i)].get();
}

void EntryList::RemoveLast()
{
    if (objects_.empty())
        return;
    names_->Delete(names_->Count() - 1);
    const auto it = index_.find(Folded(keys_.back()));
    if (it != index_.end() && it->second == static_cast<int>(keys_.size()) - 1)
        index_.erase(it);
    objects_.pop_back();
    keys_.pop_back();
}

void EntryList::Clear()
{
    names_->Clear();
    objects_.clear();
    keys_.clear();
    index_.clear();
}

}  // namespace engine::zip
