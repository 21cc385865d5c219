// The install record: one registry key per setup package below HKEY_LOCAL_MACHINE
// "\SOFTWARE\Quenford\Install", found again by the setup program's date and size, holding where it ran
// from, when, the saved language, the unfinished work and the local copies of downloaded archives.
#pragma once

#include <string>

#include "framework/core/datetime.h"

namespace inst {

constexpr const char* kInstallRecordsKey = "\\SOFTWARE\\Quenford\\Install";

// The full key of the current record ("" until one is found or made).
const std::string& InstallRecordKey();
void SetInstallRecordKey(const std::string& key);
// The start of the current run (0 until a run starts).
fw::TDateTime& RunTimeStamp();
// The setup program's file (default: the running program's own file).
std::string SetupProgramPath();
void SetSetupProgramPath(const std::string& path);
// The self-extracting file's path written with a new record ("" when not started from one).
void SetSelfExtractPath(const std::string& path);

// Finds the record of this setup program (making one with create); returns its key or "".
std::string ReadInstallRecord(bool create);
// Deletes the current record with its downloaded local files, then empty parents.
void RemoveInstallRecord();
// The saved language, or the translator's target (19, qlUser, without a translator).
int ReadSavedLanguage();
// Writes the translator's target as "Language" (failure raises EIRCannotWriteValue).
void SaveLanguage();

}  // namespace inst
