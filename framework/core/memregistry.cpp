#include "framework/core/memregistry.h"

#include <algorithm>

#include "framework/core/sysutils.h"

namespace fw {

struct MemRegistry::Node {
    struct Value {
        std::string name;
        uint32_t type = kRegNone;
        std::string data;
    };
    std::string name;
    // Keyed by the upper-case name, so iteration gives the system's name order.
    std::map<std::string, std::unique_ptr<Node>> children;
    std::vector<Value> values;  // in name order, ignoring case, as the system enumerates them

    Value* FindValue(const std::string& valueName) {
        for (Value& v : values)
            if (SameText(v.name, valueName)) return &v;
        return nullptr;
    }
};

namespace {

std::vector<std::string> SplitPath(const std::string& path) {
    std::vector<std::string> parts;
    size_t i = 0;
    while (i <= path.size()) {
        size_t j = path.find('\\', i);
        if (j == std::string::npos) j = path.size();
        if (j > i) parts.push_back(path.substr(i, j - i));
        i = j + 1;
    }
    return parts;
}

bool KnownRoot(RegRoot root) {
    return root == kHKeyClassesRoot || root == kHKeyCurrentUser || root == kHKeyLocalMachine ||
           root == kHKeyUsers || root == kHKeyCurrentConfig;
}

}  // namespace

MemRegistry::MemRegistry() = default;
MemRegistry::~MemRegistry() = default;

MemRegistry::Node* MemRegistry::Find(RegRoot root, const std::string& path, bool create) {
    if (!KnownRoot(root)) return nullptr;
    std::unique_ptr<Node>& hive = hives_[root];
    if (!hive) hive = std::make_unique<Node>();
    Node* node = hive.get();
    for (const std::string& part : SplitPath(path)) {
        const std::string key = AnsiUpperCase(part);
        auto it = node->children.find(key);
        if (it == node->children.end()) {
            if (!create) return nullptr;
            auto child = std::make_unique<Node>();
            child->name = part;
            it = node->children.emplace(key, std::move(child)).first;
        }
        node = it->second.get();
    }
    return node;
}

bool MemRegistry::KeyExists(RegRoot root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Find(root, path, false) != nullptr;
}

bool MemRegistry::CreateKey(RegRoot root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    return Find(root, path, true) != nullptr;
}

bool MemRegistry::DeleteKey(RegRoot root, const std::string& path) {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::string> parts = SplitPath(path);
    if (parts.empty()) return false;
    const std::string leaf = AnsiUpperCase(parts.back());
    parts.pop_back();
    std::string parentPath;
    for (const std::string& p : parts) parentPath += p + "\\";
    Node* parent = Find(root, parentPath, false);
    if (!parent) return false;
    const auto it = parent->children.find(leaf);
    if (it == parent->children.end() || !it->second->children.empty()) return false;
    parent->children.erase(it);
    return true;
}

bool MemRegistry::QueryValue(RegRoot root, const std::string& path, const std::string& name, uint32_t& type,
                             std::string& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* node = Find(root, path, false);
    if (!node) return false;
    const Node::Value* v = node->FindValue(name);
    if (!v) return false;
    type = v->type;
    data = v->data;
    return true;
}

bool MemRegistry::SetValue(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                           const std::string& data) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* node = Find(root, path, false);
    if (!node) return false;
    Node::Value* v = node->FindValue(name);
    if (!v) {
        const std::string key = AnsiUpperCase(name);
        const auto at = std::find_if(node->values.begin(), node->values.end(),
                                     [&](const Node::Value& x) { return AnsiUpperCase(x.name) > key; });
        node->values.insert(at, Node::Value{name, type, data});
        return true;
    }
    v->type = type;
    v->data = data;
    return true;
}

bool MemRegistry::DeleteValue(RegRoot root, const std::string& path, const std::string& name) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* node = Find(root, path, false);
    if (!node) return false;
    const auto it = std::find_if(node->values.begin(), node->values.end(),
                                 [&](const Node::Value& v) { return SameText(v.name, name); });
    if (it == node->values.end()) return false;
    node->values.erase(it);
    return true;
}

bool MemRegistry::EnumKeys(RegRoot root, const std::string& path, std::vector<std::string>& names) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* node = Find(root, path, false);
    if (!node) return false;
    for (const auto& [key, child] : node->children) names.push_back(child->name);
    return true;
}

bool MemRegistry::EnumValues(RegRoot root, const std::string& path, std::vector<std::string>& names) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* node = Find(root, path, false);
    if (!node) return false;
    for (const Node::Value& v : node->values) names.push_back(v.name);
    return true;
}

bool MemRegistry::KeyInfo(RegRoot root, const std::string& path, RegKeyInfo& info) {
    std::lock_guard<std::mutex> lock(mutex_);
    Node* node = Find(root, path, false);
    if (!node) return false;
    info = RegKeyInfo{};
    info.numSubKeys = static_cast<int>(node->children.size());
    for (const auto& [key, child] : node->children)
        info.maxSubKeyLen = std::max(info.maxSubKeyLen, static_cast<int>(child->name.size()));
    info.numValues = static_cast<int>(node->values.size());
    for (const Node::Value& v : node->values) {
        info.maxValueLen = std::max(info.maxValueLen, static_cast<int>(v.name.size()));
        // The system stores strings as UTF-16 with a terminating zero and reports that size.
        const bool isText = v.type == kRegSz || v.type == kRegExpandSz;
        info.maxDataLen = std::max(info.maxDataLen, static_cast<int>(isText ? (v.data.size() + 1) * 2 : v.data.size()));
    }
    return true;
}

void MemRegistry::Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    hives_.clear();
}

RegistryBackend& MemoryRegistry() {
    static MemRegistry registry;
    return registry;
}

}  // namespace fw
