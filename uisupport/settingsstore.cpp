#include "uisupport/settingsstore.h"

#include "framework/core/registry.h"
#include "framework/core/sysutils.h"
#include "uisupport/textutils.h"

namespace uis {

std::string DefaultStoreName(const std::string& exeName, bool useRegistry) {
    const std::string name = fw::ExtractFileName(exeName);
    if (useRegistry) return "Software\\" + fw::ChangeFileExt(name, "");
    return fw::ChangeFileExt(name, ".INI");
}

std::unique_ptr<fw::TCustomIniFile> CreateStore(const std::string& fileName, bool useRegistry) {
    if (useRegistry) return std::make_unique<fw::TRegIniFile>(fileName);
    return std::make_unique<fw::TIniFile>(fileName);
}

namespace {

bool IsRegistry(fw::TCustomIniFile& store) { return dynamic_cast<fw::TRegIniFile*>(&store) != nullptr; }

}  // namespace

std::string QuoteStoreValue(const std::string& value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.front() == value.back())
        return '"' + value + '"';
    return value;
}

std::string StoreReadString(fw::TCustomIniFile& store, const std::string& section, const std::string& ident,
                            const std::string& def) {
    return store.ReadString(section, ident, def);
}

void StoreWriteString(fw::TCustomIniFile& store, const std::string& section, const std::string& ident,
                      const std::string& value) {
    store.WriteString(section, ident, IsRegistry(store) ? value : QuoteStoreValue(value));
}

int StoreReadInteger(fw::TCustomIniFile& store, const std::string& section, const std::string& ident, int def) {
    return fw::StrToIntDef(fw::Trim(store.ReadString(section, ident, std::to_string(def))), def);
}

void StoreWriteInteger(fw::TCustomIniFile& store, const std::string& section, const std::string& ident, int value) {
    store.WriteString(section, ident, std::to_string(value));
}

bool StoreReadBool(fw::TCustomIniFile& store, const std::string& section, const std::string& ident, bool def) {
    return StoreReadInteger(store, section, ident, def ? 1 : 0) != 0;
}

void StoreWriteBool(fw::TCustomIniFile& store, const std::string& section, const std::string& ident, bool value) {
    store.WriteString(section, ident, value ? "1" : "0");
}

void StoreEraseSection(fw::TCustomIniFile& store, const std::string& section) { store.EraseSection(section); }

void StoreDeleteKey(fw::TCustomIniFile& store, const std::string& section, const std::string& ident) {
    store.DeleteKey(section, ident);
}

std::string ScreenSuffix(int width, int height) {
    return "(" + std::to_string(width) + "x" + std::to_string(height) + ")";
}

std::string PositionText(int a, int b, int c, int d) {
    return std::to_string(a) + "," + std::to_string(b) + "," + std::to_string(c) + "," + std::to_string(d);
}

void ParsePositionText(const std::string& text, const int (&defaults)[4], int (&values)[4]) {
    static const CharSet separators = MakeCharSet(", ");
    for (int i = 0; i < 4; ++i) values[i] = fw::StrToIntDef(WordAt(i + 1, text, separators), defaults[i]);
}

TStoredState StateOfShowCmd(int showCmd) {
    switch (showCmd) {
    case 1: case 5: case 9: return TStoredState::Normal;
    case 2: case 6: case 7: return TStoredState::Minimized;
    case 3: return TStoredState::Maximized;
    default: return TStoredState::Default;
    }
}

}  // namespace uis
