// The store layer of the form placement and storage: one interface over an ini file and a registry key,
// and the texts of the placement values.
//
// Registry: the key is the file name below HKEY_CURRENT_USER; a section is a sub-key (a section holding
// "\" is a deeper path); every value is a string (REG_SZ), integers as decimal text and the placement's
// own Booleans as "1"/"0"; erasing a section deletes its sub-key with all keys below it.
// Ini file: sections and values are the file's own; a string value that begins and ends with the same
// quote character (both double or both single) is written inside one more pair of double quotes, so
// that reading it back keeps its quotes.
#pragma once

#include <memory>
#include <string>

#include "framework/core/inifiles.h"

namespace uis {

// "Software\<program>" for the registry, "<program>.INI" for an ini file, from the program's path.
std::string DefaultStoreName(const std::string& exeName, bool useRegistry);
// A new store object (TRegIniFile or TIniFile) for `fileName`.
std::unique_ptr<fw::TCustomIniFile> CreateStore(const std::string& fileName, bool useRegistry);

// The ini variant's quoting of string values.
std::string QuoteStoreValue(const std::string& value);

std::string StoreReadString(fw::TCustomIniFile& store, const std::string& section, const std::string& ident,
                            const std::string& def);
void StoreWriteString(fw::TCustomIniFile& store, const std::string& section, const std::string& ident,
                      const std::string& value);
// The text converted; the default when the value is missing or not a number.
int StoreReadInteger(fw::TCustomIniFile& store, const std::string& section, const std::string& ident, int def);
void StoreWriteInteger(fw::TCustomIniFile& store, const std::string& section, const std::string& ident, int value);
// An integer, non-zero meaning true; written "1"/"0".
bool StoreReadBool(fw::TCustomIniFile& store, const std::string& section, const std::string& ident, bool def);
void StoreWriteBool(fw::TCustomIniFile& store, const std::string& section, const std::string& ident, bool value);
void StoreEraseSection(fw::TCustomIniFile& store, const std::string& section);
void StoreDeleteKey(fw::TCustomIniFile& store, const std::string& section, const std::string& ident);

// ---- placement value texts ----------------------------------------------------------------------

// "(1024x768)": the suffix of the position values saved on a screen of that size.
std::string ScreenSuffix(int width, int height);
// "%d,%d,%d,%d".
std::string PositionText(int a, int b, int c, int d);
// The first four numbers of `text` (separated by commas or blanks, runs of separators counting as one)
// replace values[0..3]; a number that is missing or not a number gives `defaults` there.
void ParsePositionText(const std::string& text, const int (&defaults)[4], int (&values)[4]);

// The window state a stored show command stands for.
enum class TStoredState { Default, Normal, Minimized, Maximized };
// 1, 5 and 9 normal; 2, 6 and 7 minimised; 3 maximised; anything else the default.
TStoredState StateOfShowCmd(int showCmd);

}  // namespace uis
