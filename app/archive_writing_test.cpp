#include "app/archive_writing.h"

#include <gtest/gtest.h>

#include <set>

#include "framework/core/datetime.h"

namespace {

using engine::TArcType;
using engine::TCompressMethod;
using namespace app;

TEST(ArchiveWriting, CabinetsAndReadOnlyTypesHaveNoUpdateWriter) {
    EXPECT_EQ(UpdateWriterFor(TArcType::atZip), "Zip1");
    EXPECT_EQ(UpdateWriterFor(TArcType::atLha), "Lha1");
    EXPECT_EQ(UpdateWriterFor(TArcType::atLzh), "Lha1");
    EXPECT_EQ(UpdateWriterFor(TArcType::atBh), "BlakHole1");
    // A cabinet writer only ever makes a new cabinet: an add or delete would drop what it holds.
    for (TArcType t : {TArcType::atCab, TArcType::atUue, TArcType::atArj, TArcType::atRar, TArcType::atZipExe,
                       TArcType::atTar, TArcType::atNA})
        EXPECT_EQ(UpdateWriterFor(t), "") << static_cast<int>(t);
}

TEST(ArchiveWriting, MethodListsAndTheirMethods) {
    EXPECT_EQ(MethodNames(TArcType::atZip), (std::vector<std::string>{"Store", "Deflate"}));
    EXPECT_EQ(MethodNames(TArcType::atLzh), (std::vector<std::string>{"Store", "Freeze"}));
    EXPECT_EQ(MethodNames(TArcType::atBh), (std::vector<std::string>{"Store", "Fuse"}));
    EXPECT_EQ(MethodNames(TArcType::atCab), (std::vector<std::string>{"Store", "MsZip", "Lzx", "Quantum"}));
    EXPECT_TRUE(MethodNames(TArcType::atArj).empty());
    EXPECT_EQ(MethodAt(TArcType::atZip, 1), TCompressMethod::cmDeflate);
    EXPECT_EQ(MethodAt(TArcType::atLha, 1), TCompressMethod::cmFrozen);
    EXPECT_EQ(MethodAt(TArcType::atBh, 1), TCompressMethod::cmFuse);
    EXPECT_EQ(MethodAt(TArcType::atCab, 2), TCompressMethod::cmLzx);
    EXPECT_EQ(MethodAt(TArcType::atCab, 3), TCompressMethod::cmQuantum);
    EXPECT_EQ(MethodAt(TArcType::atZip, 0), TCompressMethod::cmStore);
    EXPECT_EQ(MethodAt(TArcType::atZip, -1), TCompressMethod::cmStore);
    EXPECT_EQ(MethodAt(TArcType::atZip, 5), TCompressMethod::cmStore);
    EXPECT_EQ(SwitchAt(0), engine::TSwitch::swAdd);
    EXPECT_EQ(SwitchAt(1), engine::TSwitch::swMove);
    EXPECT_EQ(StoredDirsAt(0), engine::TStoredDirNames::sdNone);
    EXPECT_EQ(StoredDirsAt(1), engine::TStoredDirNames::sdAbsolute);
    EXPECT_EQ(StoredDirsAt(2), engine::TStoredDirNames::sdAbsoluteNoDrv);
    EXPECT_EQ(StoredDirsAt(3), engine::TStoredDirNames::sdRelative);
}

TEST(ArchiveWriting, NewArchiveNamesGetTheirTypesExtension) {
    struct Case {
        const char* name;
        int type;
        const char* want;
    } cases[] = {
        {"x", 3, "x.cab"},         {"a.zip", 1, "a.lha"},       {"a.ZIP", 0, "a.ZIP"},
        {"b.Bh", 2, "b.Bh"},       {"c.lzh", 1, "c.lha"},       {"v1.2", 0, "v1.zip"},
        {"x.cab", 3, "x.cab"},     {"x.tar.gz", 0, "x.tar.zip"},
    };
    for (const Case& c : cases) EXPECT_EQ(NewArchiveName(c.name, c.type), c.want) << c.name << " " << c.type;
    EXPECT_EQ(NewArchiveTypeAt(3)->writer, std::string("MakeCAB1"));
    EXPECT_EQ(NewArchiveTypeAt(4), nullptr);
}

TEST(ArchiveWriting, OpenFilters) {
    EXPECT_EQ(ArchiveFilterFor("Zip"), "*.zip");
    EXPECT_EQ(ArchiveFilterFor("Blackhole"), "*.bh");
    EXPECT_EQ(ArchiveFilterFor("UUEncoded"), "*.UUE;*.ENC;*XXE");
    EXPECT_EQ(ArchiveFilterFor("All archives"), "*.zip;*.arc;*.arj;*.bh;*.rar;*.cab;*.lha;*.lzh;*.uue");
    EXPECT_EQ(ArchiveFilterFor(""), ArchiveFilterFor("All archives"));
}

TEST(ArchiveWriting, AddPlanAsksOnceAndQueuesFolders) {
    const std::set<std::string> folders{"C:\\d1", "C:\\d2", "C:\\d.x"};
    auto isFolder = [&](const std::string& n) { return folders.count(n) > 0; };
    int asked = 0;
    auto yes = [&](const std::string&) { ++asked; return true; };
    auto no = [&](const std::string&) { ++asked; return false; };
    const std::vector<std::string> names{"C:\\a.txt", "C:\\d1", "C:\\d.x", "C:\\d2", "C:\\b"};

    AddPlan plan = PlanAdd(names, false, isFolder, yes);
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(plan.files, (std::vector<std::string>{"C:\\a.txt", "C:\\d.x", "C:\\b"}));
    EXPECT_EQ(plan.folders, (std::vector<std::string>{"C:\\d1", "C:\\d2"}));
    EXPECT_TRUE(plan.addFolderContents);

    asked = 0;
    plan = PlanAdd(names, false, isFolder, no);
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(plan.folders.empty());
    EXPECT_FALSE(plan.addFolderContents);

    asked = 0;
    plan = PlanAdd(names, true, isFolder, no);
    EXPECT_EQ(asked, 0);
    EXPECT_EQ(plan.folders.size(), 2u);
}

TEST(ArchiveWriting, QuestionTexts) {
    EXPECT_EQ(AddFolderQuestion("C:\\d"), "Do you wish to add the entire directory \r\n-> C:\\d <-\r\nto this archive?");
    const double date = fw::EncodeDate(2001, 2, 3) + fw::EncodeTime(4, 5, 0, 0);
    EXPECT_EQ(ReplaceQuestion({"a.txt", 10, date, 32}, {"C:\\src\\a.txt", 20, date, 33}, '-', ':'),
              "Replace:\ra.txt\rSize: 10\rDate: 02-03-01 04:05\rAttr: 32\r\rWith:\rC:\\src\\a.txt\rSize: 20\r"
              "Date: 02-03-01 04:05\rAttr: 33");
}

TEST(ArchiveWriting, FoundLines) {
    EXPECT_EQ(FoundLinePath("C:\\src\\;a.txt;12;x;y;z;"), "C:\\src\\a.txt");
    EXPECT_EQ(FoundLinePath("C:\\src;a.txt;"), "C:\\src\\a.txt");
    EXPECT_EQ(FoundLinePath("C:\\src\\;a.txt"), "C:\\src\\a.txt");
    EXPECT_EQ(FoundLinePath("no delimiter"), "");
}

}  // namespace
