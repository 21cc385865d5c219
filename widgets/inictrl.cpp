#include "widgets/inictrl.h"

#include <functional>
#include <memory>

#include "framework/core/platform.h"
#include "framework/core/registry.h"
#include "framework/core/sysutils.h"
#include "widgets/kvxapplication.h"

namespace kvx {

namespace {
std::function<std::string()>& UserNameSource() {
    static std::function<std::string()> source;
    return source;
}

fw::RegRoot RootOf(TKVXRegRootKey key) {
    switch (key) {
    case TKVXRegRootKey::rpClassesRoot: return fw::kHKeyClassesRoot;
    case TKVXRegRootKey::rpCurrentUser: return fw::kHKeyCurrentUser;
    case TKVXRegRootKey::rpLocalMachine: return fw::kHKeyLocalMachine;
    case TKVXRegRootKey::rpUsers: return fw::kHKeyUsers;
    case TKVXRegRootKey::rpCurrentConfig: return fw::kHKeyCurrentConfig;
    case TKVXRegRootKey::rpDynData: return 0x80000006u;  // HKEY_DYN_DATA
    }
    return fw::kHKeyCurrentUser;
}

// Whether `name` is `prefix` followed by an entry number (digits) or entry letter.
bool IsEntryName(const std::string& name, const std::string& prefix, bool alpha) {
    if (name.size() <= prefix.size() || !fw::SameText(name.substr(0, prefix.size()), prefix)) return false;
    const std::string rest = name.substr(prefix.size());
    if (alpha) return rest.size() == 1 && fw::AnsiUpperChar(rest[0]) >= 'A' && fw::AnsiUpperChar(rest[0]) <= 'Z';
    for (char c : rest)
        if (c < '0' || c > '9') return false;
    return true;
}
}  // namespace

void KVXSetUserNameSource(std::function<std::string()> source) { UserNameSource() = std::move(source); }

std::string KVXCurrentLoginName() {
    const auto& source = UserNameSource();
    return source ? source() : std::string("(Unknown)");
}

std::string KVXDefaultRegPath(const std::string& company, const std::string& title, const std::string& version) {
    std::string path = "Software\\";
    if (!KVXIsBlank(company)) path += company + "\\";
    path += (KVXIsBlank(title) ? KVXProgramPath() : title) + "\\";
    if (!KVXIsBlank(version)) path += version + "\\";
    return path;
}

TKVXIniCtrl::TKVXIniCtrl(TComponent* owner) : TKVXComponent(owner) {}

void TKVXIniCtrl::SetNetUser(bool value) {
    if (value == netUser_) return;
    netUser_ = value;
    if (value) CurrentUserName(User);
}

void TKVXIniCtrl::SetIniFile(const std::string& value) {
    iniFile_ = !value.empty() && fw::ExtractFileExt(value).empty() ? value + ".INI" : value;
}

void TKVXIniCtrl::SetAlphaCounter(bool value) {
    if (value == alphaCounter_) return;
    alphaCounter_ = value;
    if (value && maxEntries_ > 26) maxEntries_ = 26;
}

void TKVXIniCtrl::SetMaxEntries(uint8_t value) {
    if (value == maxEntries_ || (alphaCounter_ && value > 26)) return;
    maxEntries_ = value;
}

void TKVXIniCtrl::SetTarget(TKVXIniTarget value) {
    target_ = value;
    effective_ = value == TKVXIniTarget::itAuto ? TKVXIniTarget::itRegistry : value;
}

void TKVXIniCtrl::CurrentUserName(std::string& name) { name = KVXCurrentLoginName(); }

std::string TKVXIniCtrl::EntryName(int n) const {
    return alphaCounter_ ? std::string(1, static_cast<char>('A' + n)) : std::to_string(n);
}

std::string TKVXIniCtrl::IniFileName() {
    if (iniFile_.empty()) iniFile_ = fw::ChangeFileExt(KVXProgramPath(), ".INI");
    if (IniPrefix == TKVXPathPrefix::ppFixed) return iniFile_;
    return KVXPrefixFolder(IniPrefix, true) + fw::ExtractFileName(iniFile_);
}

std::string TKVXIniCtrl::RegKeyPath() const {
    if (KVXIsBlank(RegPath)) {
        if (KVXApplication) return KVXApplication->DefaultRegPath();
        return KVXDefaultRegPath("", fw::HostSeam().Title(), "");
    }
    return KVXAddBackslash(RegPath);
}

std::string TKVXIniCtrl::ResolveSection(const std::string& section) {
    if (KVXIsBlank(section)) return KVXIsBlank(lastSection_) ? std::string("Common") : lastSection_;
    std::string result;
    if (effective_ == TKVXIniTarget::itIniFile) {
        if (Common)
            result = section;
        else if (netUser_)
            result = KVXCurrentLoginName() + "." + section;
        else
            result = User + "." + section;
    } else {
        result = section == "#ROOT" ? std::string() : section;
    }
    lastSection_ = result;
    return result;
}

std::unique_ptr<fw::TCustomIniFile> TKVXIniCtrl::OpenStore() {
    if (effective_ == TKVXIniTarget::itIniFile) return std::make_unique<fw::TIniFile>(IniFileName());
    // The key path is created when missing, so even a read creates it; writes are lazy.
    auto store = std::make_unique<fw::TRegIniFile>(KVXRemoveBackslash(RegKeyPath()), fw::Registry(), RootOf(RegRoot));
    store->SetLazyWrite(true);
    return store;
}

bool TKVXIniCtrl::ReadBool(const std::string& section, const std::string& ident, bool def) {
    auto store = OpenStore();
    return store->ReadBool(ResolveSection(section), ident, def);
}

std::string TKVXIniCtrl::ReadString(const std::string& section, const std::string& ident, const std::string& def) {
    auto store = OpenStore();
    return store->ReadString(ResolveSection(section), ident, def);
}

void TKVXIniCtrl::WriteBool(const std::string& section, const std::string& ident, bool value) {
    auto store = OpenStore();
    store->WriteBool(ResolveSection(section), ident, value);
}

void TKVXIniCtrl::WriteString(const std::string& section, const std::string& ident, const std::string& value) {
    auto store = OpenStore();
    store->WriteString(ResolveSection(section), ident, value);
}

void TKVXIniCtrl::DeleteKey(const std::string& section, const std::string& ident) {
    auto store = OpenStore();
    store->DeleteKey(ResolveSection(section), ident);
}

void TKVXIniCtrl::ReadStrings(const std::string& section, const std::string& prefix, uint8_t count,
                              fw::TStrings& list) {
    list.Clear();
    auto store = OpenStore();
    const std::string resolved = ResolveSection(section);
    for (int n = 0; n < count; ++n) {
        const std::string value = store->ReadString(resolved, prefix + EntryName(n), "");
        if (value.empty()) break;
        list.Add(value);
    }
}

void TKVXIniCtrl::WriteStrings(const std::string& section, const std::string& prefix, uint8_t count,
                               const fw::TStrings& list) {
    auto store = OpenStore();
    const std::string resolved = ResolveSection(section);
    if (resolved.empty()) {
        // The component's own key: erasing it would take every other setting (and subkey) with it.
        std::vector<std::string> names;
        store->ReadSection(resolved, names);
        for (const std::string& name : names)
            if (IsEntryName(name, prefix, alphaCounter_)) store->DeleteKey(resolved, name);
    } else {
        store->EraseSection(resolved);
    }
    const int n = std::min<int>(list.Count(), count);
    for (int i = 0; i < n; ++i) store->WriteString(resolved, prefix + EntryName(i), list.Strings(i));
}

}  // namespace kvx
