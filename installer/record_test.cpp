// The install record: found again by the setup program's date and size, numbered, and removed whole.
#include "installer/install_record.h"

#include <gtest/gtest.h>

#include "framework/core/registry.h"
#include "framework/core/sysutils.h"
#include "installer/qnfdregistry.h"
#include "installer/testkit/support.h"
#include "installer/translator.h"

namespace inst {
namespace {

using test::InstallerTest;
using test::Spit;

class Records : public InstallerTest {
protected:
    std::string Setup(const std::string& folder, const std::string& bytes) {
        const std::string path = dir + folder + "/setup.exe";
        Spit(path, bytes);
        fw::FileSetDate(path, fw::DateTimeToFileDate(fw::EncodeDate(2001, 5, 6) + 0.5));
        SetSetupProgramPath(path);
        return path;
    }
    bool KeyExists(const std::string& key) {
        fw::TRegistry reg;
        reg.SetRootKey(fw::kHKeyLocalMachine);
        return reg.KeyExists(key);
    }
};

TEST_F(Records, TheSameProgramFromAnotherFolderFindsItsRecord) {
    Setup("first", "setup program");
    EXPECT_EQ(ReadInstallRecord(false), "") << "nothing to find, nothing made";
    const std::string key = ReadInstallRecord(true);
    EXPECT_EQ(key, std::string(kInstallRecordsKey) + "\\Install0");
    const std::string second = Setup("second", "setup program");
    EXPECT_EQ(ReadInstallRecord(true), key);
    EXPECT_EQ(ReadRegString(TRootKeys::hkLocalMachine, key, "Path", ""), second);
    Setup("rebuilt", "a longer setup program");
    EXPECT_EQ(ReadInstallRecord(true), std::string(kInstallRecordsKey) + "\\Install1");
    EXPECT_TRUE(KeyExists(key));
}

TEST_F(Records, ANewRecordTakesTheFirstFreeNumber) {
    WriteRegString(TRootKeys::hkLocalMachine, std::string(kInstallRecordsKey) + "\\Install0", "Path", "x");
    WriteRegString(TRootKeys::hkLocalMachine, std::string(kInstallRecordsKey) + "\\Install2", "Path", "y");
    Setup("a", "program");
    EXPECT_EQ(ReadInstallRecord(true), std::string(kInstallRecordsKey) + "\\Install1");
}

TEST_F(Records, RemovingTakesEverythingAndEmptyParents) {
    Setup("a", "program");
    const std::string key = ReadInstallRecord(true);
    Spit(dir + "download.1", "downloaded archive");
    WriteRegString(TRootKeys::hkLocalMachine, key + "\\Directory", "LocalFile", dir + "download.1");
    WriteRegString(TRootKeys::hkLocalMachine, key + "\\Unfinished", "InstallFile7", "0");
    RemoveInstallRecord();
    EXPECT_FALSE(fw::FileExists(dir + "download.1"));
    EXPECT_FALSE(KeyExists(key));
    EXPECT_FALSE(KeyExists(kInstallRecordsKey));
    EXPECT_FALSE(KeyExists("\\Software\\Quenford"));
    EXPECT_EQ(InstallRecordKey(), "");
}

TEST_F(Records, TheLanguageSavedBeforeARebootComesBack) {
    Setup("a", "program");
    EXPECT_EQ(ReadSavedLanguage(), 19) << "no translator: the user's language";
    auto* translator = fw::Make<TTranslator>(nullptr);
    ReadInstallRecord(true);
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlFrench);
    SaveLanguage();
    translator->SetTranslateIntoLanguage(TQnfdLanguage::qlUser);
    EXPECT_EQ(ReadSavedLanguage(), 6);
    translator->Free();
}

}  // namespace
}  // namespace inst
