#include "framework/core/registry.h"

#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/core/sysutils.h"

namespace fw {

namespace {

// Joins and tidies a key path: no leading, trailing or doubled "\".
std::string Normalise(const std::string& path) {
    std::string out;
    for (size_t i = 0; i < path.size(); ++i) {
        if (path[i] == '\\') {
            if (!out.empty() && out.back() != '\\') out += '\\';
        } else {
            out += path[i];
        }
    }
    if (!out.empty() && out.back() == '\\') out.pop_back();
    return out;
}

std::string Join(const std::string& a, const std::string& b) {
    if (a.empty()) return Normalise(b);
    if (b.empty()) return Normalise(a);
    return Normalise(a + "\\" + b);
}

std::string Dword(uint32_t v) {
    std::string d(4, '\0');
    for (int i = 0; i < 4; ++i) d[static_cast<size_t>(i)] = static_cast<char>((v >> (8 * i)) & 0xFF);
    return d;
}

}  // namespace

TRegistry::TRegistry() : backend_(Registry()) {}
TRegistry::TRegistry(RegistryBackend& backend) : backend_(backend) {}

void TRegistry::SetRootKey(RegRoot root) {
    CloseKey();
    root_ = root;
}

std::string TRegistry::Resolve(const std::string& key) const {
    if (!key.empty() && key[0] == '\\') return Normalise(key);
    return open_ ? Join(currentPath_, key) : Normalise(key);
}

bool TRegistry::OpenKey(const std::string& key, bool canCreate) {
    const std::string path = Resolve(key);
    const bool ok = canCreate ? backend_.CreateKey(root_, path) : backend_.KeyExists(root_, path);
    if (ok) {
        open_ = true;
        readOnly_ = false;
        currentPath_ = path;
    }
    return ok;
}

bool TRegistry::OpenKeyReadOnly(const std::string& key) {
    const std::string path = Resolve(key);
    if (!backend_.KeyExists(root_, path)) return false;
    open_ = true;
    readOnly_ = true;
    currentPath_ = path;
    return true;
}

void TRegistry::CloseKey() {
    open_ = false;
    readOnly_ = false;
    currentPath_.clear();
}

bool TRegistry::CreateKey(const std::string& key) {
    if (!backend_.CreateKey(root_, Resolve(key)))
        throw ERegistryException("Failed to create key " + key);
    return true;
}

bool TRegistry::KeyExists(const std::string& key) { return backend_.KeyExists(root_, Resolve(key)); }

bool TRegistry::DeleteTree(const std::string& path) {
    std::vector<std::string> children;
    if (!backend_.EnumKeys(root_, path, children)) return false;
    for (const std::string& child : children) DeleteTree(Join(path, child));
    return backend_.DeleteKey(root_, path);
}

bool TRegistry::DeleteKey(const std::string& key) {
    const std::string path = Resolve(key);
    if (path.empty()) return false;  // never the root itself
    const bool ok = DeleteTree(path);
    // Deleting the open key (or one above it) leaves nothing open.
    if (ok && open_ && (SameText(currentPath_, path) || SameText(currentPath_.substr(0, path.size() + 1), path + "\\")))
        CloseKey();
    return ok;
}

bool TRegistry::Get(const std::string& name, uint32_t& type, std::string& data) {
    return backend_.QueryValue(root_, currentPath_, name, type, data);
}

void TRegistry::Put(const std::string& name, uint32_t type, const std::string& data) {
    if (readOnly_ || !backend_.SetValue(root_, currentPath_, name, type, data))
        throw ERegistryException("Failed to set data for '" + name + "'");
}

bool TRegistry::ValueExists(const std::string& name) {
    uint32_t type;
    std::string data;
    return Get(name, type, data);
}

bool TRegistry::DeleteValue(const std::string& name) {
    return !readOnly_ && backend_.DeleteValue(root_, currentPath_, name);
}

int TRegistry::GetDataSize(const std::string& name) {
    uint32_t type;
    std::string data;
    if (!Get(name, type, data)) return -1;
    // Strings count their terminating zero, as the system reports them.
    return static_cast<int>(data.size()) + ((type == kRegSz || type == kRegExpandSz) ? 1 : 0);
}

TRegDataType TRegistry::GetDataType(const std::string& name) {
    uint32_t type;
    std::string data;
    if (!Get(name, type, data)) return TRegDataType::rdUnknown;
    switch (type) {
        case kRegSz: return TRegDataType::rdString;
        case kRegExpandSz: return TRegDataType::rdExpandString;
        case kRegDword: return TRegDataType::rdInteger;
        case kRegBinary: return TRegDataType::rdBinary;
        default: return TRegDataType::rdUnknown;
    }
}

std::string TRegistry::ReadString(const std::string& name) {
    uint32_t type;
    std::string data;
    if (!Get(name, type, data)) return std::string();
    if (type != kRegSz && type != kRegExpandSz) throw ERegistryException("Invalid data type for '" + name + "'");
    // A string stops at its first zero, however the data was stored.
    const size_t zero = data.find('\0');
    if (zero != std::string::npos) data.resize(zero);
    return data;
}

void TRegistry::WriteString(const std::string& name, const std::string& value) { Put(name, kRegSz, value); }
void TRegistry::WriteExpandString(const std::string& name, const std::string& value) { Put(name, kRegExpandSz, value); }

int TRegistry::ReadInteger(const std::string& name) {
    uint32_t type;
    std::string data;
    if (!Get(name, type, data)) throw ERegistryException("Failed to get data for '" + name + "'");
    if (type != kRegDword || data.size() != 4) throw ERegistryException("Invalid data type for '" + name + "'");
    uint32_t v = 0;
    for (int i = 3; i >= 0; --i) v = (v << 8) | static_cast<uint8_t>(data[static_cast<size_t>(i)]);
    return static_cast<int32_t>(v);
}

void TRegistry::WriteInteger(const std::string& name, int value) { Put(name, kRegDword, Dword(static_cast<uint32_t>(value))); }

bool TRegistry::ReadBool(const std::string& name) { return ReadInteger(name) != 0; }
void TRegistry::WriteBool(const std::string& name, bool value) { WriteInteger(name, value ? 1 : 0); }

std::string TRegistry::ReadBinaryData(const std::string& name) {
    uint32_t type;
    std::string data;
    if (!Get(name, type, data)) throw ERegistryException("Failed to get data for '" + name + "'");
    if (type != kRegBinary && type != kRegNone) throw ERegistryException("Invalid data type for '" + name + "'");
    return data;
}

int TRegistry::ReadBinaryData(const std::string& name, void* buffer, int bufSize) {
    const std::string data = ReadBinaryData(name);
    if (static_cast<int64_t>(data.size()) > bufSize) throw ERegistryException("Failed to get data for '" + name + "'");
    if (!data.empty()) std::memcpy(buffer, data.data(), data.size());
    return static_cast<int>(data.size());
}

void TRegistry::WriteBinaryData(const std::string& name, const void* buffer, int size) {
    if (size < 0) throw ERegistryException("Failed to set data for '" + name + "'");
    Put(name, kRegBinary, std::string(static_cast<const char*>(buffer), static_cast<size_t>(size)));
}

void TRegistry::GetKeyNames(std::vector<std::string>& names) {
    names.clear();
    backend_.EnumKeys(root_, currentPath_, names);
}

void TRegistry::GetValueNames(std::vector<std::string>& names) {
    names.clear();
    backend_.EnumValues(root_, currentPath_, names);
}

void TRegistry::GetKeyNames(TStrings& strings) {
    std::vector<std::string> names;
    GetKeyNames(names);
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& n : names) strings.Add(n);
    strings.EndUpdate();
}

void TRegistry::GetValueNames(TStrings& strings) {
    std::vector<std::string> names;
    GetValueNames(names);
    strings.BeginUpdate();
    strings.Clear();
    for (const std::string& n : names) strings.Add(n);
    strings.EndUpdate();
}

bool TRegistry::GetKeyInfo(RegKeyInfo& info) {
    info = RegKeyInfo{};
    return backend_.KeyInfo(root_, currentPath_, info);
}

// ---- TRegIniFile -------------------------------------------------------------------------------

TRegIniFile::TRegIniFile(const std::string& fileName) : TRegIniFile(fileName, ::fw::Registry(), kHKeyCurrentUser) {}

TRegIniFile::TRegIniFile(const std::string& fileName, RegistryBackend& backend, RegRoot root)
    : TCustomIniFile(fileName), registry_(backend), keyPath_(Normalise(fileName)) {
    registry_.SetRootKey(root);
    registry_.OpenKey("\\" + keyPath_, true);
}

std::string TRegIniFile::SectionPath(const std::string& section) const {
    return "\\" + Join(keyPath_, section);
}

std::string TRegIniFile::ReadString(const std::string& section, const std::string& ident, const std::string& def) {
    TRegistry& r = registry_;
    if (!r.OpenKeyReadOnly(SectionPath(section))) return def;
    std::string result = def;
    switch (r.GetDataType(ident)) {
        case TRegDataType::rdString:
        case TRegDataType::rdExpandString: result = r.ReadString(ident); break;
        case TRegDataType::rdInteger: result = IntToStr(r.ReadInteger(ident)); break;
        default: break;
    }
    r.OpenKey("\\" + keyPath_, false);
    return result;
}

void TRegIniFile::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    TRegistry& r = registry_;
    if (!r.OpenKey(SectionPath(section), true)) throw ERegistryException("Failed to create key " + section);
    try {
        r.WriteString(ident, value);
    } catch (...) {
        r.OpenKey("\\" + keyPath_, false);
        throw;
    }
    r.OpenKey("\\" + keyPath_, false);
}

int TRegIniFile::ReadInteger(const std::string& section, const std::string& ident, int def) {
    return StrToIntDef(ReadString(section, ident, std::string()), def);
}

bool TRegIniFile::ReadBool(const std::string& section, const std::string& ident, bool def) {
    return TCustomIniFile::ReadBool(section, ident, def);
}

void TRegIniFile::ReadSection(const std::string& section, std::vector<std::string>& keys) {
    keys.clear();
    if (registry_.OpenKeyReadOnly(SectionPath(section))) registry_.GetValueNames(keys);
    registry_.OpenKey("\\" + keyPath_, false);
}

void TRegIniFile::ReadSections(std::vector<std::string>& sections) {
    sections.clear();
    if (registry_.OpenKeyReadOnly("\\" + keyPath_)) registry_.GetKeyNames(sections);
}

void TRegIniFile::EraseSection(const std::string& section) {
    if (Normalise(section).empty()) {
        std::vector<std::string> names;
        if (registry_.OpenKey("\\" + keyPath_, false)) {
            registry_.GetValueNames(names);
            for (const std::string& n : names) registry_.DeleteValue(n);
        }
        return;
    }
    registry_.DeleteKey(SectionPath(section));
    registry_.OpenKey("\\" + keyPath_, false);
}

void TRegIniFile::DeleteKey(const std::string& section, const std::string& ident) {
    if (registry_.OpenKey(SectionPath(section), false)) registry_.DeleteValue(ident);
    registry_.OpenKey("\\" + keyPath_, false);
}

}  // namespace fw
