#include "installer/qnfdregistry.h"

#include <vector>

#include "framework/core/format.h"
#include "installer/exceptions.h"

namespace inst {

namespace {
const fw::RegRoot kRoots[] = {fw::kHKeyClassesRoot, fw::kHKeyCurrentConfig, fw::kHKeyCurrentUser,
                              kHKeyDynData,          fw::kHKeyLocalMachine,   fw::kHKeyUsers};
}  // namespace

fw::RegRoot RootHandle(TRootKeys root) { return kRoots[static_cast<int>(root)]; }

TRootKeys TqnfdRegistry::RootKeyOf(fw::RegRoot handle, TRootKeys def) {
    for (int i = 0; i < 6; ++i)
        if (kRoots[i] == handle) return static_cast<TRootKeys>(i);
    return def;
}

void TqnfdRegistry::SetRootKeyFrom(int value) {
    if (value >= 0 && value < 6) SetRootKey(kRoots[value]);
}

namespace {

// Opens (creating) the key and writes one value; any failure raises with `message`.
template <class Write>
void WriteValue(TRootKeys root, const std::string& key, Write write, const std::string& message) {
    TqnfdRegistry reg;
    reg.SetRootKey(RootHandle(root));
    try {
        if (reg.OpenKey(key, true)) {
            write(reg);
            return;
        }
    } catch (const fw::Exception&) {
    }
    throw EIRCannotWriteValue(message);
}

}  // namespace

void WriteRegString(TRootKeys root, const std::string& key, const std::string& name, const std::string& value) {
    WriteValue(root, key, [&](TqnfdRegistry& reg) { reg.WriteString(name, value); },
               fw::Format("Cannot install into registry. Key: %s Ident: %s Value %s", {key, name, value}));
}

void WriteRegInteger(TRootKeys root, const std::string& key, const std::string& name, int value) {
    WriteValue(root, key, [&](TqnfdRegistry& reg) { reg.WriteInteger(name, value); }, key);
}

std::string ReadRegString(TRootKeys root, const std::string& key, const std::string& name, const std::string& def) {
    TqnfdRegistry reg;
    reg.SetRootKey(RootHandle(root));
    try {
        if (reg.OpenKeyReadOnly(key) && reg.ValueExists(name)) return reg.ReadString(name);
    } catch (const fw::Exception&) {
    }
    return def;
}

int ReadRegInteger(TRootKeys root, const std::string& key, const std::string& name, int def) {
    TqnfdRegistry reg;
    reg.SetRootKey(RootHandle(root));
    try {
        if (reg.OpenKeyReadOnly(key) && reg.ValueExists(name)) return reg.ReadInteger(name);
    } catch (const fw::Exception&) {
    }
    return def;
}

void DeleteRegTree(TRootKeys root, const std::string& key) {
    try {
        std::vector<std::string> names;
        {
            TqnfdRegistry reg;
            reg.SetRootKey(RootHandle(root));
            if (!reg.OpenKey(key, false)) return;
            reg.GetKeyNames(names);
            reg.CloseKey();
        }
        for (const std::string& n : names) DeleteRegTree(root, key + "\\" + n);
        TqnfdRegistry reg;
        reg.SetRootKey(RootHandle(root));
        reg.DeleteKey(key);
    } catch (const fw::Exception&) {
    }
}

bool AddRunOnce(const std::string& name, const std::string& command, bool unique) {
    TqnfdRegistry reg;
    reg.SetRootKey(fw::kHKeyLocalMachine);
    try {
        if (!reg.OpenKey(kRunOnceKey, true)) return false;
        std::string valueName = name;
        for (int n = 1; unique && reg.ValueExists(valueName); ++n) valueName = name + std::to_string(n);
        reg.WriteString(valueName, command);
        return true;
    } catch (const fw::Exception&) {
        return false;
    }
}

}  // namespace inst
