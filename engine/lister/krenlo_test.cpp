// The lister over archives that Info-ZIP and Python's zipfile make at test time: every reported entry
// field by field against zipfile's view, the order of the events, selection, folders, the local-header
// fallback, damaged and empty archives and a cancel from inside OnRead.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "engine/core/run_context.h"
#include "engine/formats/common/testdata/tool_runner.h"
#include "engine/lister/krenlo.h"
#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"

namespace engine {
namespace {

using test::RunIn;

// zipfile's view of each entry, one line each, in the form Row() gives ours.
constexpr const char* kDumpScript = R"PY(
import sys, zipfile
zf = zipfile.ZipFile(sys.argv[1])
print('COMMENT', zf.comment.hex() or '-')
for i in zf.infolist():
    print(i.filename.replace('/', '\\'), i.header_offset, i.compress_type, i.flag_bits & 1, '%08x' % i.CRC,
          i.compress_size, i.file_size, '%d-%d-%d %d:%d:%d' % i.date_time, i.external_attr, i.internal_attr,
          (i.create_system << 8) | i.create_version, i.extract_version, i.comment.hex() or '-')
)PY";

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty())
            out.push_back(line);
    return out;
}

std::string Hex(const std::string& s)
{
    if (s.empty())
        return "-";
    static const char* d = "0123456789abcdef";
    std::string out;
    for (unsigned char c : s) {
        out += d[c >> 4];
        out += d[c & 15];
    }
    return out;
}

class ListerTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterListerClasses();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        lister_ = fw::Make<TKrenlo>(owner_);
        lister_->OnRead.Bind(this, &ListerTest::Read);
        lister_->OnReadFile.Bind(this, &ListerTest::ReadFile);
        lister_->OnTotals.Bind(this, &ListerTest::Totals);
        lister_->OnError.Bind(this, &ListerTest::Error);
        lister_->OnActivate.Bind(this, &ListerTest::Activated);
        lister_->OnDeactivate.Bind(this, &ListerTest::Deactivated);
        lister_->OnElapsedTime.Bind(this, &ListerTest::Elapsed);
    }
    void TearDown() override { owner_->Free(); }

    void Read(fw::TObject*, int64_t offset, int filenum)
    {
        TKrenlo& k = *lister_;
        int y, mo, d, h, mi, s;
        DecodeDateTime(k.Date, y, mo, d, h, mi, s);
        std::ostringstream o;
        char crc[9];
        std::snprintf(crc, sizeof crc, "%08x", k.CRC);
        o << k.FileName << ' ' << offset << ' ' << k.MethodNum << ' ' << int(k.Encrypted) << ' ' << crc << ' '
          << k.PackedSize << ' ' << k.UnpackedSize << ' ' << y << '-' << mo << '-' << d << ' ' << h << ':' << mi
          << ':' << s << ' ' << k.ExternalAttr << ' ' << k.InternalAttr << ' ' << k.VersionMadeBy << ' '
          << k.VersionNeeded << ' ' << Hex(k.FileComment);
        rows_.push_back(o.str());
        filenums_.push_back(filenum);
        events_.push_back("read " + std::to_string(filenum));
        if (cancelAt_ == filenum)
            TAwkMain::Cancel(lister_, true);
    }
    void ReadFile(fw::TObject*, const std::string& name) { seen_.push_back(name); }
    void Totals(fw::TObject*, int n)
    {
        events_.push_back("totals " + std::to_string(n));
        commentAtTotals_ = lister_->ArchiveComment;
    }
    void Error(fw::TObject*, const std::string&, const std::string& msgEx, const std::string&, int code)
    {
        errors_.push_back(code);
        errorEx_.push_back(msgEx);
    }
    void Activated(fw::TObject*) { events_.push_back("activate"); }
    void Deactivated(fw::TObject*) { events_.push_back("deactivate"); }
    void Elapsed(fw::TObject*, float) { events_.push_back("elapsed"); }

    std::vector<std::string> PythonRows(const std::string& zipPath, std::string* comment = nullptr)
    {
        mx::test::WriteFile(dir_ + "/dump.py", kDumpScript);
        auto lines = Lines(test::CaptureIn(dir_, test::Python() + " dump.py '" + zipPath + "'"));
        EXPECT_FALSE(lines.empty());
        if (!lines.empty()) {
            if (comment)
                *comment = lines[0].substr(8);
            lines.erase(lines.begin());
        }
        return lines;
    }

    bool List(const std::string& path)
    {
        lister_->SetArchiveFile(path);
        return lister_->Activate();
    }

    void MakeTree()
    {
        std::filesystem::create_directories(dir_ + "/src/sub/empty");
        mx::test::WriteFile(dir_ + "/src/a.txt", std::string(5000, 'a') + "tail");
        mx::test::WriteFile(dir_ + "/src/b.bin", std::string("\x01\x02\x03", 3));
        std::string text;
        for (int i = 0; i < 3000; ++i)
            text += "line " + std::to_string(i * 7919 % 1000) + "\n";
        mx::test::WriteFile(dir_ + "/src/sub/c.txt", text);
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TKrenlo* lister_ = nullptr;
    std::vector<std::string> rows_, seen_, events_, errorEx_;
    std::vector<int> filenums_, errors_;
    std::string commentAtTotals_;
    int cancelAt_ = -1;
};

// Info-ZIP archives with folders, methods store and deflate, and encryption; Python archives with
// entry and archive comments: every entry's fields as zipfile sees them.
TEST_F(ListerTest, FieldsMatchPythonZipfile)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q -r ../info.zip a.txt b.bin sub", "zip", "zip"));
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q -0 -P secret ../crypt.zip a.txt b.bin", "zip", "zip"));
    ASSERT_TRUE(RunIn(dir_,
                      test::Python() + " -c \"import zipfile\n"
                                       "z = zipfile.ZipFile('py.zip', 'w', zipfile.ZIP_DEFLATED)\n"
                                       "z.comment = b'archive comment'\n"
                                       "i = zipfile.ZipInfo('x/one.txt', (2001, 2, 3, 4, 5, 6))\n"
                                       "i.comment = b'first'\n"
                                       "z.writestr(i, 'hello ' * 100)\n"
                                       "z.writestr(zipfile.ZipInfo('two.dat', (2020, 12, 31, 23, 59, 58)), b'')\n"
                                       "z.close()\"",
                      "python3", "python3"));
    // A self-extractor: an executable prefix with offsets adjusted by zip -A.
    mx::test::WriteFile(dir_ + "/stub.exe", "MZ" + std::string(1022, '\x90'));
    ASSERT_TRUE(RunIn(dir_, "cat stub.exe info.zip > sfx.exe && zip -q -A sfx.exe", "zip", "zip"));
    for (const char* name : {"info.zip", "crypt.zip", "py.zip", "sfx.exe"}) {
        SCOPED_TRACE(name);
        rows_.clear();
        filenums_.clear();
        std::string comment;
        // Folders are reported only with ShowBlankDirs.
        std::vector<std::string> expected;
        for (const auto& row : PythonRows(dir_ + "/" + name, &comment))
            if (row.substr(0, row.find(' ')).back() != '\\')
                expected.push_back(row);
        ASSERT_TRUE(List(dir_ + "/" + name));
        EXPECT_EQ(rows_, expected);
        std::vector<int> want;
        for (size_t i = 1; i <= expected.size(); ++i)
            want.push_back(int(i));
        EXPECT_EQ(filenums_, want);
        EXPECT_EQ(lister_->FileCount, int(expected.size()));
        EXPECT_EQ(Hex(commentAtTotals_), comment);
        EXPECT_TRUE(lister_->ArchiveComment.empty());
        EXPECT_TRUE(errors_.empty());
    }
    EXPECT_EQ(lister_->ArcType(), TArcType::atZipExe);
}

// Sizes read from damaged headers: totals stop at the largest number instead of wrapping, and a
// negative size takes nothing away.
TEST_F(ListerTest, TotalsOfDamagedSizesNeitherWrapNorShrink)
{
    lister_->TotalPackedSize = lister_->TotalUnpackedSize = 0;
    lister_->AddTotals(2314885782286814514, 10);
    lister_->AddTotals(8434335030551396352, -5);
    EXPECT_EQ(lister_->TotalPackedSize, INT64_MAX);
    EXPECT_EQ(lister_->TotalUnpackedSize, 10);
}

TEST_F(ListerTest, EventOrderTotalsAndSelection)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q ../three.zip a.txt b.bin sub/c.txt", "zip", "zip"));
    ASSERT_TRUE(List(dir_ + "/three.zip"));
    EXPECT_EQ(events_, (std::vector<std::string>{"activate", "read 1", "read 2", "read 3", "totals 3", "deactivate",
                                                 "elapsed"}));
    const int64_t packed = lister_->TotalPackedSize, unpacked = lister_->TotalUnpackedSize;
    EXPECT_EQ(unpacked, 5004 + 3 + int64_t(std::filesystem::file_size(dir_ + "/src/sub/c.txt")));
    EXPECT_LT(packed, unpacked);
    EXPECT_EQ(lister_->TotalRatio, CalcRatio(packed, unpacked));

    // One name: every header is seen, only the match is reported.
    events_.clear();
    seen_.clear();
    lister_->SetFileSpec("c.txt");
    ASSERT_TRUE(List(dir_ + "/three.zip"));
    EXPECT_EQ(seen_, (std::vector<std::string>{"a.txt", "b.bin", "sub\\c.txt"}));
    EXPECT_EQ(events_, (std::vector<std::string>{"activate", "read 1", "totals 1", "deactivate", "elapsed"}));
    EXPECT_EQ(lister_->FileName, "sub\\c.txt");
    EXPECT_EQ(lister_->TotalUnpackedSize, lister_->UnpackedSize);
}

TEST_F(ListerTest, FolderEntriesOnlyWithShowBlankDirs)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q -r ../dirs.zip a.txt sub", "zip", "zip"));
    // zip -r stores: a.txt, sub/, sub/empty/, sub/c.txt
    lister_->SetFileSpec("*.txt");
    ASSERT_TRUE(List(dir_ + "/dirs.zip"));
    EXPECT_EQ(filenums_, (std::vector<int>{1, 2}));
    filenums_.clear();
    rows_.clear();
    lister_->SetShowBlankDirs(true);
    ASSERT_TRUE(List(dir_ + "/dirs.zip"));
    EXPECT_EQ(filenums_, (std::vector<int>{1, 1, 1, 2}));
    EXPECT_EQ(lister_->FileCount, 2);
    ASSERT_EQ(rows_.size(), 4u);
    EXPECT_EQ(rows_[1].substr(0, 4), "sub\\");
}

// Without its central directory an archive is listed from its local headers; a pointer to a wrong
// place is recovered by the scan of the tail.
TEST_F(ListerTest, DamagedDirectories)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q ../full.zip a.txt b.bin sub/c.txt", "zip", "zip"));
    const std::string full = mx::test::ReadFile(dir_ + "/full.zip");
    const size_t central = full.find("PK\x01\x02");
    ASSERT_NE(central, std::string::npos);

    mx::test::WriteFile(dir_ + "/local.zip", full.substr(0, central));
    ASSERT_TRUE(List(dir_ + "/local.zip"));
    EXPECT_TRUE(lister_->LocalWalk);
    EXPECT_EQ(filenums_, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(errors_, std::vector<int>{25238});
    ASSERT_EQ(rows_.size(), 3u);
    EXPECT_EQ(rows_[0].substr(0, 8), "a.txt 0 ");

    // The end record's directory offset points into the data.
    std::string moved = full;
    const size_t end = moved.rfind("PK\x05\x06");
    moved[end + 16] = 7;
    moved[end + 17] = moved[end + 18] = moved[end + 19] = 0;
    mx::test::WriteFile(dir_ + "/moved.zip", moved);
    filenums_.clear();
    errors_.clear();
    ASSERT_TRUE(List(dir_ + "/moved.zip"));
    EXPECT_FALSE(lister_->LocalWalk);
    EXPECT_EQ(filenums_, (std::vector<int>{1, 2, 3}));
    EXPECT_EQ(errors_, std::vector<int>{25238});

    // Garbage behind a ZIP name, and an empty archive.
    mx::test::WriteFile(dir_ + "/empty.zip", std::string("PK\x05\x06", 4) + std::string(18, '\0'));
    errors_.clear();
    filenums_.clear();
    ASSERT_TRUE(List(dir_ + "/empty.zip"));
    EXPECT_EQ(errors_, (std::vector<int>{25238, 25108}));
    EXPECT_TRUE(filenums_.empty());
}

TEST_F(ListerTest, CancelFromOnReadStopsAfterThatEntry)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q ../three.zip a.txt b.bin sub/c.txt", "zip", "zip"));
    cancelAt_ = 2;
    ASSERT_TRUE(List(dir_ + "/three.zip"));
    EXPECT_EQ(events_, (std::vector<std::string>{"activate", "read 1", "read 2", "totals 2", "deactivate", "elapsed"}));
    EXPECT_TRUE(errors_.empty());
    // The next run starts with its flag cleared.
    cancelAt_ = -1;
    filenums_.clear();
    ASSERT_TRUE(List(dir_ + "/three.zip"));
    EXPECT_EQ(filenums_.size(), 3u);
}

TEST_F(ListerTest, PreconditionsAndUnreadFormats)
{
    MakeTree();
    ASSERT_TRUE(RunIn(dir_ + "/src", "zip -q ../one.zip a.txt", "zip", "zip"));
    EXPECT_FALSE(lister_->Activate());  // no archive: nothing at all
    EXPECT_TRUE(errors_.empty());

    lister_->OnRead = {};
    EXPECT_FALSE(List(dir_ + "/one.zip"));
    EXPECT_EQ(errors_, std::vector<int>{25270});
    EXPECT_EQ(errorEx_, std::vector<std::string>{"OnRead"});
    lister_->OnRead.Bind(this, &ListerTest::Read);

    errors_.clear();
    mx::test::WriteFile(dir_ + "/plain.txt", "just some words, not an archive");
    EXPECT_FALSE(List(dir_ + "/plain.txt"));
    EXPECT_EQ(errors_, std::vector<int>{25302});

    errors_.clear();
    EXPECT_FALSE(List(dir_ + "/missing.zip"));
    EXPECT_EQ(lister_->ArcType(), TArcType::atFileOpenErr);
    EXPECT_EQ(errors_, std::vector<int>{25238});

    // Formats other than ZIP go through the same run.
    errors_.clear();
    events_.clear();
    ASSERT_TRUE(RunIn(dir_ + "/src", "tar cf ../t.tar a.txt", "tar", "tar"));
    EXPECT_TRUE(List(dir_ + "/t.tar"));
    EXPECT_EQ(lister_->ArcType(), TArcType::atTar);
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(events_, (std::vector<std::string>{"activate", "read 1", "totals 1", "deactivate", "elapsed"}));
}

// The lister is made and bound from form text like any component of a form.
TEST_F(ListerTest, BindableFromFormText)
{
    const fw::TClassInfo* info = fw::FindClass("TKrenlo");
    ASSERT_NE(info, nullptr);
    ASSERT_TRUE(info->CanCreate());
    fw::TComponent* made = info->Create(owner_);
    ASSERT_NE(dynamic_cast<TKrenlo*>(made), nullptr);
    for (const char* prop : {"ArchiveFile", "ArcType", "FileSpec", "ShowBlankDirs", "ZipCmntBufSize", "OnRead",
                             "OnReadFile", "OnReadBegin", "OnReadEnd", "OnTotals", "OnError", "OnActivate",
                             "OnDeactivate", "OnNextVolume", "OnElapsedTime"})
        EXPECT_NE(fw::FindProp(made, prop), nullptr) << prop;
}

}  // namespace
}  // namespace engine
