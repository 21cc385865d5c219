// TKVXIniCtrl: the suite's settings store. Reads and writes named values in an INI file or under a
// registry key with the same calls; every call opens the store, does its one job and closes it.
//
// Sections: with an INI file, Common sections are used as named, per-user ones become
// "<user>.<section>"; in the registry a section is a subkey of RegKeyPath, and "#ROOT" names the key
// itself. A blank section means the last one used ("Common" at first). Numbered list entries
// (prefix + 0, 1, 2, ... or + A, B, C, ...) serve the MRU lists.
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/inifiles.h"
#include "framework/core/lists.h"
#include "widgets/kvxclass.h"
#include "widgets/kvxutils.h"

namespace kvx {

enum class TKVXRegRootKey { rpClassesRoot, rpCurrentUser, rpLocalMachine, rpUsers, rpCurrentConfig, rpDynData };
enum class TKVXIniTarget { itIniFile, itRegistry, itAuto };

// The current login name ("(Unknown)" when the system cannot tell); the Win32 start-up installs the
// system's answer.
void KVXSetUserNameSource(std::function<std::string()> source);
std::string KVXCurrentLoginName();

class TKVXIniCtrl : public TKVXComponent {
public:
    explicit TKVXIniCtrl(TComponent* owner);

    bool Common = true;
    bool NetUser() const { return netUser_; }
    // True also takes the login name into User.
    void SetNetUser(bool value);
    const std::string& IniFile() const { return iniFile_; }
    // A name without extension gets ".INI".
    void SetIniFile(const std::string& value);
    std::string User;
    TKVXPathPrefix IniPrefix = TKVXPathPrefix::ppWindows;
    TKVXRegRootKey RegRoot = TKVXRegRootKey::rpCurrentUser;
    std::string RegPath;
    bool AlphaCounter() const { return alphaCounter_; }
    // True caps MaxEntries at 26.
    void SetAlphaCounter(bool value);
    uint8_t MaxEntries() const { return maxEntries_; }
    void SetMaxEntries(uint8_t value);
    TKVXIniTarget Target() const { return target_; }
    void SetTarget(TKVXIniTarget value);
    // itIniFile or itRegistry (itAuto stores in the registry).
    TKVXIniTarget EffectiveTarget() const { return effective_; }

    bool ReadBool(const std::string& section, const std::string& ident, bool def);
    std::string ReadString(const std::string& section, const std::string& ident, const std::string& def);
    void WriteBool(const std::string& section, const std::string& ident, bool value);
    void WriteString(const std::string& section, const std::string& ident, const std::string& value);
    void DeleteKey(const std::string& section, const std::string& ident);
    // Clears List, then reads Prefix + EntryName(n) for n = 0 .. Count - 1 up to the first empty one.
    void ReadStrings(const std::string& section, const std::string& prefix, uint8_t count, fw::TStrings& list);
    // Removes the old entries, then writes the first min(List.Count, Count) strings. A section of its
    // own is erased whole; in the key itself ("#ROOT") only the prefix's entries are removed.
    void WriteStrings(const std::string& section, const std::string& prefix, uint8_t count, const fw::TStrings& list);

    // Where values go.
    std::string EntryName(int n) const;
    std::string IniFileName();
    std::string RegKeyPath() const;
    // The section a request names (and the new last section); see the header comment.
    std::string ResolveSection(const std::string& section);

    virtual void CurrentUserName(std::string& name);

private:
    std::unique_ptr<fw::TCustomIniFile> OpenStore();

    bool netUser_ = false;
    std::string iniFile_;
    std::string lastSection_;
    bool alphaCounter_ = false;
    uint8_t maxEntries_ = 16;
    TKVXIniTarget effective_ = TKVXIniTarget::itRegistry;
    TKVXIniTarget target_ = TKVXIniTarget::itAuto;
};

// The registry path of a store whose RegPath is blank: "Software\" + company\ + title\ (the
// program's full path\ when the title is blank) + version\ (company and version when not blank).
std::string KVXDefaultRegPath(const std::string& company, const std::string& title, const std::string& version);

}  // namespace kvx
