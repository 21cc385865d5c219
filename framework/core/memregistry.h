// An in-memory registry: the native RegistryBackend, and a fake for tests on every platform. It keeps
// the system's observable rules: names compare ignoring case, subkeys and values enumerate in name
// order, string sizes in key information count UTF-16 bytes, and a key with subkeys cannot be deleted.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "framework/core/platform.h"

namespace fw {

class MemRegistry : public RegistryBackend {
public:
    MemRegistry();
    ~MemRegistry() override;

    bool KeyExists(RegRoot root, const std::string& path) override;
    bool CreateKey(RegRoot root, const std::string& path) override;
    bool DeleteKey(RegRoot root, const std::string& path) override;
    bool QueryValue(RegRoot root, const std::string& path, const std::string& name, uint32_t& type,
                    std::string& data) override;
    bool SetValue(RegRoot root, const std::string& path, const std::string& name, uint32_t type,
                  const std::string& data) override;
    bool DeleteValue(RegRoot root, const std::string& path, const std::string& name) override;
    bool EnumKeys(RegRoot root, const std::string& path, std::vector<std::string>& names) override;
    bool EnumValues(RegRoot root, const std::string& path, std::vector<std::string>& names) override;
    bool KeyInfo(RegRoot root, const std::string& path, RegKeyInfo& info) override;

    // Empties every hive.
    void Clear();

private:
    struct Node;
    Node* Find(RegRoot root, const std::string& path, bool create);

    std::mutex mutex_;
    std::map<RegRoot, std::unique_ptr<Node>> hives_;
};

}  // namespace fw
