#include "installer/install_record.h"

#include <bit>
#include <cmath>
#include <vector>

#include "framework/core/platform.h"
#include "framework/core/streams.h"
#include "framework/core/sysutils.h"
#include "installer/exceptions.h"
#include "installer/qnfdregistry.h"
#include "installer/translator.h"

namespace inst {

namespace {

std::string g_recordKey;
std::string g_setupPath;
std::string g_selfExtract;

std::string DateBytes(fw::TDateTime date) {
    const auto u = std::bit_cast<uint64_t>(date);
    std::string bytes(8, '\0');
    for (int i = 0; i < 8; ++i) bytes[static_cast<size_t>(i)] = static_cast<char>(u >> (8 * i));
    return bytes;
}

bool ReadDate(TqnfdRegistry& reg, const std::string& name, fw::TDateTime& date) {
    if (reg.GetDataType(name) != fw::TRegDataType::rdBinary || reg.GetDataSize(name) != 8) return false;
    const std::string bytes = reg.ReadBinaryData(name);
    uint64_t u = 0;
    for (int i = 7; i >= 0; --i) u = u << 8 | static_cast<uint8_t>(bytes[static_cast<size_t>(i)]);
    date = std::bit_cast<double>(u);
    return true;
}

// The setup program's size and date, or false when it cannot be opened.
bool SetupFileFacts(int64_t& size, fw::TDateTime& date) {
    const std::string path = SetupProgramPath();
    try {
        fw::TFileStream file(path, fw::fmOpenRead | fw::fmShareDenyNone);
        size = file.Size();
    } catch (const fw::Exception&) {
        return false;
    }
    const int32_t age = fw::FileAge(path);
    date = age == -1 ? 0 : fw::FileDateToDateTime(age);
    return true;
}

void WriteRunValues(TqnfdRegistry& reg) {
    reg.WriteBinaryData("LastRunDate", DateBytes(RunTimeStamp()).data(), 8);
    reg.WriteString("Path", SetupProgramPath());
}

}  // namespace

const std::string& InstallRecordKey() { return g_recordKey; }
void SetInstallRecordKey(const std::string& key) { g_recordKey = key; }

fw::TDateTime& RunTimeStamp() {
    static fw::TDateTime stamp = 0;
    return stamp;
}

std::string SetupProgramPath() {
    if (!g_setupPath.empty()) return g_setupPath;
    return fw::HostSeam().ExeName();
}
void SetSetupProgramPath(const std::string& path) { g_setupPath = path; }
void SetSelfExtractPath(const std::string& path) { g_selfExtract = path; }

std::string ReadInstallRecord(bool create) {
    int64_t size = 0;
    fw::TDateTime date = 0;
    if (!SetupFileFacts(size, date)) return std::string();
    TqnfdRegistry reg;
    reg.SetRootKey(fw::kHKeyLocalMachine);
    std::vector<std::string> names;
    try {
        // Only a search that may make a record makes the key: other starts leave no trace.
        if (!reg.OpenKey(kInstallRecordsKey, create)) return std::string();
        reg.GetKeyNames(names);
    } catch (const fw::Exception&) {
        return std::string();
    }
    for (const std::string& name : names) {
        const std::string key = std::string(kInstallRecordsKey) + "\\" + name;
        TqnfdRegistry rec;
        rec.SetRootKey(fw::kHKeyLocalMachine);
        try {
            if (!rec.OpenKey(key, false) || !rec.ValueExists("Path")) continue;
            fw::TDateTime created = 0;
            if (!ReadDate(rec, "CreationDate", created) || rec.GetDataType("Size") != fw::TRegDataType::rdInteger)
                continue;
            const int64_t recorded = static_cast<uint32_t>(rec.ReadInteger("Size"));
            if (!(std::fabs(created - date) < 1e-7) || recorded != size) continue;
        } catch (const fw::Exception&) {
            continue;
        }
        try {
            WriteRunValues(rec);
        } catch (const fw::Exception&) {
            return std::string();
        }
        g_recordKey = key;
        return key;
    }
    if (!create) return std::string();
    int n = 0;
    for (;; ++n) {
        bool used = false;
        for (const std::string& name : names)
            if (fw::SameText(name, "Install" + std::to_string(n))) used = true;
        if (!used) break;
    }
    const std::string key = std::string(kInstallRecordsKey) + "\\Install" + std::to_string(n);
    TqnfdRegistry rec;
    rec.SetRootKey(fw::kHKeyLocalMachine);
    try {
        if (!rec.OpenKey(key, true)) return std::string();
        rec.WriteString("Path", SetupProgramPath());
        rec.WriteBinaryData("LastRunDate", DateBytes(RunTimeStamp()).data(), 8);
        rec.WriteBinaryData("CreationDate", DateBytes(date).data(), 8);
        rec.WriteInteger("Size", static_cast<int>(static_cast<uint32_t>(size)));
        if (!g_selfExtract.empty()) rec.WriteString("SelfExtract", g_selfExtract);
    } catch (const fw::Exception&) {
        return std::string();
    }
    g_recordKey = key;
    return key;
}

void RemoveInstallRecord() {
    if (g_recordKey.empty()) return;
    try {
        TqnfdRegistry reg;
        reg.SetRootKey(fw::kHKeyLocalMachine);
        if (!reg.OpenKey(g_recordKey, false)) return;
        std::vector<std::string> subkeys;
        reg.GetKeyNames(subkeys);
        reg.CloseKey();
        for (const std::string& sub : subkeys) {
            const std::string key = g_recordKey + "\\" + sub;
            const std::string local = fw::Trim(ReadRegString(TRootKeys::hkLocalMachine, key, "LocalFile", ""));
            if (!local.empty()) {
                fw::DeleteFile(local);
                // A download's name was taken from a reserved temporary file of the same stem.
                const std::string reserved = fw::ChangeFileExt(local, ".tmp");
                if (fw::SameText(fw::ExtractFileExt(local), ".1") && fw::FileExists(reserved)) fw::DeleteFile(reserved);
            }
            DeleteRegTree(TRootKeys::hkLocalMachine, key);
        }
        DeleteRegTree(TRootKeys::hkLocalMachine, g_recordKey);
        // Empty parents go too.
        const char* parents[] = {kInstallRecordsKey, "\\Software\\Quenford"};
        for (const char* parent : parents) {
            TqnfdRegistry p;
            p.SetRootKey(fw::kHKeyLocalMachine);
            if (!p.OpenKey(parent, false)) break;
            std::vector<std::string> left;
            p.GetKeyNames(left);
            p.CloseKey();
            if (!left.empty()) break;
            p.DeleteKey(parent);
        }
    } catch (const fw::Exception&) {
    }
    g_recordKey.clear();
}

int ReadSavedLanguage() {
    TTranslator* t = GlobalTranslator();
    const int def = t ? static_cast<int>(t->TranslateIntoLanguage()) : static_cast<int>(TQnfdLanguage::qlUser);
    if (g_recordKey.empty()) return def;
    const int saved = ReadRegInteger(TRootKeys::hkLocalMachine, g_recordKey, "Language", def);
    return IsValidLanguage(saved) ? saved : def;
}

void SaveLanguage() {
    TTranslator* t = GlobalTranslator();
    if (!t || g_recordKey.empty()) return;
    WriteRegInteger(TRootKeys::hkLocalMachine, g_recordKey, "Language", static_cast<int>(t->TranslateIntoLanguage()));
}

}  // namespace inst
