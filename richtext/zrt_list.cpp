#include "richtext/zrt_list.h"

#include <algorithm>
#include <cctype>

namespace rt {

namespace {

bool SameText(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) == std::toupper(static_cast<unsigned char>(y));
           });
}

}  // namespace

const TZrtList::Node* TZrtList::Find(int key) const {
    for (const Node& n : nodes_)
        if (n.key == key) return &n;
    return nullptr;
}

TZrtList::Node* TZrtList::Find(int key) {
    for (Node& n : nodes_)
        if (n.key == key) return &n;
    return nullptr;
}

void TZrtList::Clear() {
    for (Node& n : nodes_)
        if (OnFree && !n.data.empty()) OnFree(n.data.data(), 0);
    nodes_.clear();
    maxKey_ = 0;
}

int TZrtList::Add(const std::string& name, const void* data) {
    const int key = maxKey_ + 1;
    AddKeyed(key, name, data);
    return key;
}

void TZrtList::AddKeyed(int key, const std::string& name, const void* data) {
    Node n;
    n.key = key;
    n.name = name;
    if (recordSize_ > 0) {
        n.data.assign(static_cast<size_t>(recordSize_), 0);
        if (data) std::memcpy(n.data.data(), data, static_cast<size_t>(recordSize_));
    }
    lastKey_ = key;
    maxKey_ = std::max(maxKey_, key);
    nodes_.push_front(std::move(n));
}

void TZrtList::Rename(int key, const std::string& name) {
    if (Node* n = Find(key)) n->name = name;
}

bool TZrtList::Get(std::string& name, void* data, int key) const {
    const Node* n = Find(key);
    if (!n) return false;
    name = n->name;
    if (data && !n->data.empty()) std::memcpy(data, n->data.data(), n->data.size());
    return true;
}

bool TZrtList::FindByName(std::string& name, void* data, int& key) const {
    for (const Node& n : nodes_) {
        if (!SameText(n.name, name)) continue;
        name = n.name;
        key = n.key;
        if (data && !n.data.empty()) std::memcpy(data, n.data.data(), n.data.size());
        return true;
    }
    return false;
}

bool TZrtList::Update(const std::string* name, const void* data, int key) {
    Node* n = Find(key);
    if (!n) return false;
    if (data && !n->data.empty()) std::memcpy(n->data.data(), data, n->data.size());
    if (name) n->name = *name;
    return true;
}

void TZrtList::Delete(int key, int arg) {
    for (auto it = nodes_.begin(); it != nodes_.end(); ++it) {
        if (it->key != key) continue;
        if (OnFree && !it->data.empty()) OnFree(it->data.data(), arg);
        nodes_.erase(it);
        if (key == maxKey_) {
            maxKey_ = 0;
            for (const Node& rest : nodes_) maxKey_ = std::max(maxKey_, rest.key);
        }
        return;
    }
}

void TZrtList::Assign(const TZrtList& list) {
    if (&list == this) return;
    Clear();
    recordSize_ = list.recordSize_;
    nodes_ = list.nodes_;
    lastKey_ = list.lastKey_;
    maxKey_ = list.maxKey_;
}

std::string TZrtList::NameOfKey(int key) const {
    const Node* n = Find(key);
    return n ? n->name : std::string();
}

int TZrtList::KeyOfName(const std::string& name) const {
    for (const Node& n : nodes_)
        if (SameText(n.name, name)) return n.key;
    return 0;
}

bool TZrtStyleList::FindStyle(int number, int kind, TStyleRecord& style) const {
    for (const Node& n : nodes_) {
        if (n.data.size() != sizeof(TStyleRecord)) continue;
        TStyleRecord r;
        std::memcpy(&r, n.data.data(), sizeof r);
        const int value = kind == 0 ? r.CharStyle : kind == 1 ? r.ParStyle : r.SectionStyle;
        if (value == number) {
            style = r;
            return true;
        }
    }
    return false;
}

}  // namespace rt
