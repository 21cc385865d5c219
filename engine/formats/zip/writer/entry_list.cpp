#include "engine/formats/zip/writer/entry_list.h"

#include "engine/core/routines.h"

namespace engine::zip {

std::string StoredKey(const std::string& storedName) { return ToBackslashes(storedName); }

// ---- EntryList ------------------------------------------------------------------------------------

EntryList::EntryList() : names_(new fw::TStringList) {}

EntryList::~EntryList() { delete names_; }

TZipCompObject& EntryList::Add(const std::string& key)
{
    objects_.push_back(std::make_unique<TZipCompObject>());
    keys_.push_back(key);
    names_->AddObject(key, objects_.back().get());
    return *objects_.back();
}

TZipCompObject* EntryList::Find(const std::string& key) const
{
    const int i = names_->IndexOf(key);
    return i < 0 ? nullptr : objects_[static_cast<size_t>(i)].get();
}

void EntryList::RemoveLast()
{
    if (objects_.empty())
        return;
    names_->Delete(names_->Count() - 1);
    objects_.pop_back();
    keys_.pop_back();
}

void EntryList::Clear()
{
    names_->Clear();
    objects_.clear();
    keys_.clear();
}

}  // namespace engine::zip
