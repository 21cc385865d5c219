// The file control under Wine: attributes against attrib, times against the Unix stat, sizes past
// 4 GiB, the shell's file operations (delete goes to the XDG trash) and type names from HKCR.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "framework/core/datetime.h"
#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/graphics.h"
#include "framework/win32/winapi.h"
#include "testing/test_env.h"
#include "testing/unix_script.h"
#include "widgets/win32/filectrl.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

using A = TKVXFileCtrlAttribute;

using test::CaseDir;
using test::NewCaseDir;

std::string Make(const CaseDir& d, const std::string& name, const std::string& bytes = "data") {
    const std::string path = d.win + "\\" + name;
    mx::test::WriteFile(path, bytes);
    return path;
}

class FileCtrl : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        ctrl = new TKVXFileCtrl(nullptr);
        d = NewCaseDir();
    }
    void TearDown() override {
        ctrl->Free();
        fw::DoneApplication();
    }
    TKVXFileCtrl* ctrl = nullptr;
    CaseDir d;
};

TEST_F(FileCtrl, NamesAndAttributesAgreeWithAttrib) {
    const std::string path = Make(d, "a.txt");
    ctrl->SetFileName(d.win + "\\missing.txt");
    EXPECT_EQ(ctrl->FileName(), "");
    fw::SetCurrentDir(d.win);
    ctrl->SetFileName("a.txt");
    EXPECT_TRUE(fw::SameText(ctrl->FileName(), path)) << ctrl->FileName();
    ctrl->SetFileName(d.win + "\\missing.txt");
    EXPECT_TRUE(fw::SameText(ctrl->FileName(), path)) << "a missing file keeps the previous name";

    ctrl->SetAttributes({A::fcaArchive, A::fcaReadonly, A::fcaHidden});
    EXPECT_EQ(ctrl->Attributes(), (TKVXFileCtrlAttributes{A::fcaArchive, A::fcaReadonly, A::fcaHidden}));
    std::string out;
    test::RunCommand("attrib \"" + path + "\"", d.win, out);
    EXPECT_EQ(out.substr(0, 9).find('A'), 0u) << out;
    EXPECT_NE(out.substr(0, 9).find('R'), std::string::npos) << out;
    EXPECT_NE(out.substr(0, 9).find('H'), std::string::npos) << out;

    // The same value again does not reach the system, even when the file changed in between.
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_ARCHIVE);
    ctrl->SetAttributes({A::fcaArchive, A::fcaReadonly, A::fcaHidden});
    EXPECT_EQ(ctrl->Attributes(), (TKVXFileCtrlAttributes{A::fcaArchive}));
    ctrl->SetAttributes({A::fcaArchive, A::fcaCompressed});  // compressed cannot be written
    EXPECT_EQ(ctrl->Attributes(), (TKVXFileCtrlAttributes{A::fcaArchive}));
}

TEST_F(FileCtrl, WriteTimeMatchesTheUnixStat) {
    ctrl->SetFileName(Make(d, "t.txt"));
    // The tests run with TZ=UTC: local time is UTC.
    const std::string stamp = fw::DateTimeToStr(fw::EncodeDate(2021, 7, 9) + fw::EncodeTime(13, 14, 15, 0));
    ctrl->SetStamp(2, stamp);
    EXPECT_EQ(ctrl->FileWriteStamp(), stamp);
    // (The script runs inside double quotes: it uses single quotes only.)
    const std::string script = "test $(stat -c %Y t.txt) = 1625836455";
    EXPECT_EQ(test::RunUnix(d, script), 0);
    EXPECT_THROW(ctrl->SetStamp(2, "not a date"), fw::EConvertError);

    // Held open by another opener: empty stamps, size 0.
    HANDLE h = CreateFileA(ctrl->FileName().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    EXPECT_EQ(ctrl->FileWriteStamp(), "");
    EXPECT_EQ(ctrl->FileSize(), 0);
    CloseHandle(h);
    EXPECT_EQ(ctrl->FileSize(), 4);
}

TEST_F(FileCtrl, SizesPast4GiB) {
    const std::string path = d.win + "\\big.bin";
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    LARGE_INTEGER size;
    size.QuadPart = (5LL << 30) + 3;  // sparse on the Unix side: nothing is written
    SetFilePointerEx(h, size, nullptr, FILE_BEGIN);
    SetEndOfFile(h);
    CloseHandle(h);
    ctrl->SetFileName(path);
    EXPECT_EQ(ctrl->FileSize(), (5LL << 30) + 3);
    fw::DeleteFile(path);
}

TEST_F(FileCtrl, ShellOperationsAndTheTrash) {
    ctrl->Options.Include(TKVXFileOpFlag::ffNoActionConfirm).Include(TKVXFileOpFlag::ffShowNoProgress);
    const std::string a = Make(d, "a.txt", "alpha");
    EXPECT_TRUE(ctrl->CopyFile(a, d.win + "\\b.txt"));
    EXPECT_EQ(mx::test::ReadFile(d.win + "\\b.txt"), "alpha");
    EXPECT_TRUE(ctrl->MoveFile(d.win + "\\b.txt", d.win + "\\c.txt"));
    EXPECT_FALSE(fw::FileExists(d.win + "\\b.txt"));
    EXPECT_TRUE(ctrl->RenameFile(d.win + "\\c.txt", d.win + "\\d.txt"));
    EXPECT_TRUE(fw::FileExists(d.win + "\\d.txt"));
    EXPECT_FALSE(ctrl->CopyFile("", d.win + "\\x.txt"));

    // Several names in one list.
    const std::string list = d.win + "\\a.txt" + '\0' + d.win + "\\d.txt" + '\0';
    fw::ForceDirectories(d.win + "\\sub");
    EXPECT_TRUE(ctrl->CopyFile(list, d.win + "\\sub"));
    EXPECT_TRUE(fw::FileExists(d.win + "\\sub\\a.txt"));
    EXPECT_TRUE(fw::FileExists(d.win + "\\sub\\d.txt"));

    // With the recycle bin (the default option) a delete lands in the XDG trash.
    char unique[64];
    std::snprintf(unique, sizeof(unique), "kvx-trash-%lu.txt", GetTickCount());
    const std::string doomed = Make(d, unique, "bye");
    EXPECT_TRUE(ctrl->DeleteFile(doomed));
    EXPECT_FALSE(fw::FileExists(doomed));
    const std::string trash = "${XDG_DATA_HOME:-$HOME/.local/share}/Trash";
    EXPECT_EQ(mx::test::RunUnixScript(d.unix, d.win, "test -f " + trash + "/files/" + unique + " && rm -f " + trash +
                                                         "/files/" + unique + " " + trash + "/info/" + unique +
                                                         ".trashinfo"),
              0)
        << "not in the trash";
}

TEST_F(FileCtrl, TypeNamesAndIcons) {
    HKEY key;
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, ".kvxtest", &key), ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("KVXTest.Document"), 17);
    RegCloseKey(key);
    ASSERT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "KVXTest.Document", &key), ERROR_SUCCESS);
    RegSetValueExA(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>("KVX Test Document"), 18);
    RegCloseKey(key);
    ctrl->SetFileName(Make(d, "one.kvxtest"));
    EXPECT_EQ(ctrl->FileType(), "KVX Test Document");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, "KVXTest.Document");
    RegDeleteKeyA(HKEY_CLASSES_ROOT, ".kvxtest");

    fw::TIcon icon;
    ctrl->GetFileIcon(&icon);
    EXPECT_FALSE(icon.Empty());

    TKVXFileCtrl* none = new TKVXFileCtrl(nullptr);
    EXPECT_EQ(none->FileType(), "");
    EXPECT_EQ(none->FileSize(), 0);
    EXPECT_EQ(none->FileWriteStamp(), "");
    EXPECT_TRUE(none->Attributes().Empty());
    none->Free();
}

TEST(FileCtrlFlags, ShellFlagsOfTheOptions) {
    EXPECT_EQ(TKVXFileCtrl::ShellFlags({TKVXFileOpFlag::ffFilesOnly, TKVXFileOpFlag::ffUseRecycleBin}), 0xC0u);
    EXPECT_EQ(TKVXFileCtrl::ShellFlags({TKVXFileOpFlag::ffNoActionConfirm, TKVXFileOpFlag::ffNoMKDIRConfirm,
                                        TKVXFileOpFlag::ffRenameFileOnCollision, TKVXFileOpFlag::ffShowNoErrors,
                                        TKVXFileOpFlag::ffShowNoProgress, TKVXFileOpFlag::ffSimpleProgress}),
              0x10u | 0x200u | 0x8u | 0x400u | 0x4u | 0x100u);
}

}  // namespace
}  // namespace kvx::win32
