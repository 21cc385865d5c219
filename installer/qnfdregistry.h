// Registry helpers of the install library: the registry class with full key paths and whole-tree
// deletion, one-call readers and writers, and the RunOnce entry.
#pragma once

#include <string>

#include "framework/core/registry.h"

namespace inst {

enum class TRootKeys { hkClassesRoot, hkCurrentConfig, hkCurrentUser, hkDynData, hkLocalMachine, hkUsers };
constexpr fw::RegRoot kHKeyDynData = 0x80000006u;

fw::RegRoot RootHandle(TRootKeys root);

// TRegistry whose DeleteKey removes the whole tree; a path starting with "\" is absolute.
class TqnfdRegistry : public fw::TRegistry {
public:
    TqnfdRegistry() = default;
    // The TRootKeys value of a root handle, or def when it has none.
    static TRootKeys RootKeyOf(fw::RegRoot handle, TRootKeys def);
    // Sets the root from an ordinal of TRootKeys; an unknown one leaves the root as it is.
    void SetRootKeyFrom(int value);
};

// Create the key when needed; failures raise EIRCannotWriteValue.
void WriteRegString(TRootKeys root, const std::string& key, const std::string& name, const std::string& value);
void WriteRegInteger(TRootKeys root, const std::string& key, const std::string& name, int value);
// The value, or def when the key or value is missing or unreadable.
std::string ReadRegString(TRootKeys root, const std::string& key, const std::string& name, const std::string& def);
int ReadRegInteger(TRootKeys root, const std::string& key, const std::string& name, int def);
// Deletes the key and everything below it; errors are ignored.
void DeleteRegTree(TRootKeys root, const std::string& key);
// Adds a RunOnce value (HKEY_LOCAL_MACHINE); with unique, the first of name, name1, name2 ... that is
// free. False when the key cannot be opened or the value not written.
bool AddRunOnce(const std::string& name, const std::string& command, bool unique);

constexpr const char* kRunOnceKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\RunOnce";

}  // namespace inst
