// The registry: TRegistry (keys, typed values, enumeration) and TRegIniFile (the ini-file interface
// over one key). Both work through the RegistryBackend seam: advapi32 on Win32, an in-memory tree
// natively (memregistry.h). Settings stores write only kRegSz; TRegistry also writes kRegDword and
// kRegBinary.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/inifiles.h"
#include "framework/core/lists.h"
#include "framework/core/platform.h"

namespace fw {

enum class TRegDataType { rdUnknown, rdString, rdExpandString, rdInteger, rdBinary };

class TRegistry {
public:
    // RootKey starts as kHKeyCurrentUser. The backend defaults to the installed seam.
    TRegistry();
    explicit TRegistry(RegistryBackend& backend);
    virtual ~TRegistry() = default;
    TRegistry(const TRegistry&) = delete;
    TRegistry& operator=(const TRegistry&) = delete;

    RegRoot RootKey() const { return root_; }
    // Changing the root closes the current key.
    void SetRootKey(RegRoot root);

    // A key path starting with "\" is absolute (from RootKey); otherwise it is relative to the current
    // key when one is open. True when the key is open afterwards.
    bool OpenKey(const std::string& key, bool canCreate);
    bool OpenKeyReadOnly(const std::string& key);
    void CloseKey();
    bool HasCurrentKey() const { return open_; }
    // The open key's path from RootKey, without a leading "\".
    const std::string& CurrentPath() const { return currentPath_; }

    bool CreateKey(const std::string& key);
    bool KeyExists(const std::string& key);
    // Deletes the key with every subkey below it.
    bool DeleteKey(const std::string& key);
    bool ValueExists(const std::string& name);
    bool DeleteValue(const std::string& name);
    // -1 when the value does not exist.
    int GetDataSize(const std::string& name);
    TRegDataType GetDataType(const std::string& name);

    // A missing value reads as "" (string) ; a value of another type raises ERegistryException
    // "Invalid data type for '<name>'"; a missing integer raises "Failed to get data for '<name>'".
    std::string ReadString(const std::string& name);
    void WriteString(const std::string& name, const std::string& value);
    void WriteExpandString(const std::string& name, const std::string& value);
    int ReadInteger(const std::string& name);
    void WriteInteger(const std::string& name, int value);  // kRegDword
    // Booleans of TRegistry are kRegDword 1/0; read as "not 0".
    bool ReadBool(const std::string& name);
    void WriteBool(const std::string& name, bool value);
    // Copies at most bufSize bytes; returns the value's size. Raises when the value is missing, not
    // binary, or larger than the buffer.
    int ReadBinaryData(const std::string& name, void* buffer, int bufSize);
    std::string ReadBinaryData(const std::string& name);
    void WriteBinaryData(const std::string& name, const void* buffer, int size);

    // Names of the open key's subkeys and values, in the system's order (by name).
    void GetKeyNames(std::vector<std::string>& names);
    void GetValueNames(std::vector<std::string>& names);
    void GetKeyNames(TStrings& strings);
    void GetValueNames(TStrings& strings);
    bool GetKeyInfo(RegKeyInfo& info);

    bool LazyWrite() const { return lazyWrite_; }
    void SetLazyWrite(bool lazy) { lazyWrite_ = lazy; }

    RegistryBackend& Backend() { return backend_; }

private:
    // The absolute path a key argument names, and whether it was relative.
    std::string Resolve(const std::string& key) const;
    bool DeleteTree(const std::string& path);
    bool Get(const std::string& name, uint32_t& type, std::string& data);
    void Put(const std::string& name, uint32_t type, const std::string& data);

    RegistryBackend& backend_;
    RegRoot root_ = kHKeyCurrentUser;
    bool open_ = false;
    bool readOnly_ = false;
    bool lazyWrite_ = true;
    std::string currentPath_;
};

// The ini-file interface over the key FileName below kHKeyCurrentUser (created when missing): a
// section is a subkey, the empty section is the key itself. Values are kRegSz (integers and
// booleans as decimal text, "1"/"0"); integers and booleans stored as kRegDword are read too.
// EraseSection deletes the subkey with everything below it; EraseSection("") deletes the key's own
// values and keeps its sections.
class TRegIniFile : public TCustomIniFile {
public:
    explicit TRegIniFile(const std::string& fileName);
    TRegIniFile(const std::string& fileName, RegistryBackend& backend, RegRoot root = kHKeyCurrentUser);

    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def) override;
    void WriteString(const std::string& section, const std::string& ident, const std::string& value) override;
    int ReadInteger(const std::string& section, const std::string& ident, int def) override;
    bool ReadBool(const std::string& section, const std::string& ident, bool def) override;
    using TCustomIniFile::ReadSection;
    using TCustomIniFile::ReadSections;
    void ReadSection(const std::string& section, std::vector<std::string>& keys) override;
    void ReadSections(std::vector<std::string>& sections) override;
    void EraseSection(const std::string& section) override;
    void DeleteKey(const std::string& section, const std::string& ident) override;

    TRegistry& Registry() { return registry_; }
    bool LazyWrite() const { return registry_.LazyWrite(); }
    void SetLazyWrite(bool lazy) { registry_.SetLazyWrite(lazy); }

private:
    // The absolute path of a section's key.
    std::string SectionPath(const std::string& section) const;

    TRegistry registry_;
    std::string keyPath_;
};

}  // namespace fw
