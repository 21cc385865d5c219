// The ZIP writer's lists of stored names (the old archive's entries and the files added in a run),
// each name owning the TZipCompObject that describes its entry.
#pragma once

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/formats/zip/writer/comp_object.h"
#include "framework/core/lists.h"

namespace engine::zip {

// The key under which both lists file an entry: its stored bytes (OEM code page) with "\" separators.
// Names read back from an archive and names made by the stored-name rule meet in this one form.
std::string StoredKey(const std::string& storedName);

// A list of stored names, each owning its TZipCompObject. Lookups ignore case like the system's file
// names; the first of two equal names wins.
class EntryList {
public:
    EntryList();
    ~EntryList();
    EntryList(const EntryList&) = delete;
    EntryList& operator=(const EntryList&) = delete;

    TZipCompObject& Add(const std::string& key);
    int IndexOf(const std::string& key) const;
    TZipCompObject* Find(const std::string& key) const;
    int Count() const { return static_cast<int>(objects_.size()); }
    TZipCompObject& At(int index) const { return *objects_[static_cast<size_t>(index)]; }
    const std::string& KeyAt(int index) const { return keys_[static_cast<size_t>(index)]; }
    void Clear();
    // Drops the entry added last.
    void RemoveLast();
    // The names with their objects, as MayAddFile expects them.
    fw::TStringList* Strings() const { return names_; }

private:
    fw::TStringList* names_;
    std::vector<std::unique_ptr<TZipCompObject>> objects_;
    std::vector<std::string> keys_;
    // The first index of each key in the upper case of the ANSI code page, as the string list
    // compares names: lookups stay constant-time however many files a run adds.
    std::unordered_map<std::string, int> index_;
};

}  // namespace engine::zip
