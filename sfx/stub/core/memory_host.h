// A WalkHost that keeps the list and the extracted files in memory, for tests and fuzzing.
#pragma once

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <string>
#include <vector>

#include "sfx/stub/core/archive_walk.h"

namespace sfx {

class MemoryFile final : public StubFile {
public:
    explicit MemoryFile(std::string bytes) : bytes_(std::move(bytes)) {}
    bool Seek(uint64_t pos) override {
        if (pos > bytes_.size()) return false;
        pos_ = pos;
        return true;
    }
    uint32_t Read(void* buf, uint32_t n) override {
        const uint64_t left = bytes_.size() - pos_;
        const uint32_t k = static_cast<uint32_t>(std::min<uint64_t>(n, left));
        std::memcpy(buf, bytes_.data() + pos_, k);
        pos_ += k;
        return k;
    }

private:
    std::string bytes_;
    uint64_t pos_ = 0;
};

class MemoryHost : public WalkHost {
public:
    struct Item {
        std::string name;
        bool selected = true;
    };
    std::vector<Item> list;
    std::map<std::string, std::string> files;    // target path -> content
    std::vector<std::string> folders;            // folders made
    std::vector<std::pair<std::string, std::string>> messages;  // text, caption
    std::vector<std::string> passwordsToGive;    // answers of the password dialog, in order
    int passwordAsks = 0;
    std::vector<std::string> overwriteAsks;
    bool overwriteAnswer = true;
    int mode = kModeOverwrite;
    std::string ownFile;
    std::string status;

    void SelectAll() {
        for (Item& i : list) i.selected = true;
    }

    void ListClear() override { list.clear(); }
    void ListAdd(const char* name) override { list.push_back({name, false}); }
    int ListCount() override { return static_cast<int>(list.size()); }
    int ListFind(int after, const char* name) override {
        const int n = ListCount();
        for (int k = 1; k <= n; ++k) {
            const int i = ((after + k) % n + n) % n;
            if (SameText(list[static_cast<size_t>(i)].name, name)) return i;
        }
        return -1;
    }
    bool ListSelected(int i) override { return list[static_cast<size_t>(i)].selected; }
    void ListDeselect(int i) override { list[static_cast<size_t>(i)].selected = false; }
    int ListSelectedCount() override {
        return static_cast<int>(std::count_if(list.begin(), list.end(), [](const Item& i) { return i.selected; }));
    }
    void AskPassword(char* buf, uint32_t cap) override {
        const std::string pw = passwordAsks < static_cast<int>(passwordsToGive.size())
                                   ? passwordsToGive[static_cast<size_t>(passwordAsks)]
                                   : std::string();
        ++passwordAsks;
        std::strncpy(buf, pw.c_str(), cap - 1);
        buf[cap - 1] = '\0';
    }
    bool AskOverwrite(const char* fileName) override {
        overwriteAsks.push_back(fileName);
        return overwriteAnswer;
    }
    int OverwriteMode() override { return mode; }
    bool PathExists(const char* path) override {
        const std::string p = path;
        return files.count(p) || std::find(folders.begin(), folders.end(), p) != folders.end();
    }
    bool MakeFolders(const char* folder) override {
        folders.push_back(folder);
        return true;
    }
    bool IsOwnFile(const char* path) override { return !ownFile.empty() && SameText(ownFile, path); }
    bool CreateTarget(const char* path) override {
        open_ = path;
        files[open_].clear();
        return true;
    }
    bool WriteTarget(const void* data, uint32_t n) override {
        files[open_].append(static_cast<const char*>(data), n);
        return true;
    }
    bool CloseTarget() override {
        open_.clear();
        return true;
    }
    void RemoveTarget(const char* path) override { files.erase(path); }
    void Message(const char* text, const char* caption) override { messages.emplace_back(text, caption); }
    void Status(const char* text) override { status = text; }
    void Pump() override {}

    static bool SameText(const std::string& a, const std::string& b) {
        return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
                   return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
               });
    }

private:
    std::string open_;
};

}  // namespace sfx
