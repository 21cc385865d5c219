// The lister and the extractor over archives of other makers from the fixture corpus, and over a
// hostile archive built here; these run natively and under Wine, where paths, dates and attributes go
// through the Win32 seams.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/core/file_routines.h"
#include "engine/formats/zip/unzip/unzip_component.h"
#include "engine/formats/zip/zip_records.h"
#include "engine/lister/krenlo.h"
#include "framework/core/lists.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

struct Recorder {
    int read = 0, pass = 0, fail = 0;
    std::vector<int> errors;
    std::vector<int64_t> sizes;
};

void Bind(TKrenlo& k, Recorder& r)
{
    k.OnRead.Bind(&r, [](void* c, fw::TObject* s, int64_t, int) {
        auto& rec = *static_cast<Recorder*>(c);
        ++rec.read;
        rec.sizes.push_back(static_cast<TKrenlo*>(s)->UnpackedSize);
    });
    k.OnError.Bind(&r, [](void* c, fw::TObject*, const std::string&, const std::string&, const std::string&, int code) {
        static_cast<Recorder*>(c)->errors.push_back(code);
    });
}

void Bind(TUnZIP& u, Recorder& r)
{
    u.OnEnd.Bind(&r, [](void* c, fw::TObject*, const std::string&, bool pass) {
        auto& rec = *static_cast<Recorder*>(c);
        ++(pass ? rec.pass : rec.fail);
    });
    u.OnError.Bind(&r, [](void* c, fw::TObject*, const std::string&, const std::string&, const std::string&, int code) {
        static_cast<Recorder*>(c)->errors.push_back(code);
    });
}

class CorpusTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterListerClasses();
        RegisterUnZipClasses();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        lister_ = fw::Make<TKrenlo>(owner_);
        unzip_ = fw::Make<TUnZIP>(owner_);
        Bind(*lister_, listed_);
        Bind(*unzip_, extracted_);
    }
    void TearDown() override { owner_->Free(); }

    fw::TComponent* owner_ = nullptr;
    TKrenlo* lister_ = nullptr;
    TUnZIP* unzip_ = nullptr;
    Recorder listed_, extracted_;
};

// Every entry the lister reports is extracted with a good CRC, into a file of the listed size.
TEST_F(CorpusTest, ListedEntriesExtractClean)
{
    const std::string root = mx::test::FixtureDir() + "/zip/";
    fw::TStringList list;
    list.Add("test");
    list.Add("12345678");
    unzip_->SetPasswords(&list);
    int n = 0;
    for (const char* name :
         {"commons-compress/SHRUNK.ZIP", "commons-compress/imploding-8Kdict-3trees.zip", "defacto2/HWREDUCE.ZIP",
          "sharpcompress/Zip.deflate.dd.zip", "sharpcompress/Zip.none.datadescriptors.zip",
          "sharpcompress/zipcrypto.zip"}) {
        SCOPED_TRACE(name);
        ASSERT_TRUE(fs::exists(root + name)) << "fixture corpus missing at " << root;
        listed_ = {};
        extracted_ = {};
        lister_->SetArchiveFile(root + name);
        ASSERT_TRUE(IsZipArcType(lister_->ArcType()));
        ASSERT_TRUE(lister_->Activate());
        EXPECT_TRUE(listed_.errors.empty());
        EXPECT_GT(listed_.read, 0);

        const std::string out = mx::test::FreshDir() + "/out" + std::to_string(n++);
        unzip_->SetArchiveFile(root + name);
        unzip_->SetExtractDir(out);
        unzip_->SetUseStoredDirs(false);
        ASSERT_TRUE(unzip_->Extract());
        EXPECT_TRUE(extracted_.errors.empty()) << (extracted_.errors.empty() ? 0 : extracted_.errors[0]);
        EXPECT_EQ(extracted_.pass, listed_.read);
        EXPECT_EQ(extracted_.fail, 0);
        int64_t listedTotal = 0, writtenTotal = 0;
        for (int64_t s : listed_.sizes)
            listedTotal += s;
        for (const auto& e : fs::recursive_directory_iterator(out))
            if (e.is_regular_file())
                writtenTotal += int64_t(e.file_size());
        EXPECT_EQ(writtenTotal, listedTotal);
    }
}

// A stored entry record pair for a hand-built archive.
void AddEntry(std::string& body, std::string& central, const std::string& name, const std::string& data)
{
    uint32_t crc = 0xFFFFFFFFu;
    mx::codec::UpdateCrc32({reinterpret_cast<const uint8_t*>(data.data()), data.size()}, crc);
    zip::LocalHeader local;
    local.versionNeeded = 10;
    local.time = 0x6000;
    local.date = 0x5821;
    local.crc = ~crc;
    local.compressedSize = local.uncompressedSize = uint32_t(data.size());
    local.nameLength = uint16_t(name.size());
    zip::CentralHeader c;
    c.versionMadeBy = 20;
    c.versionNeeded = 10;
    c.time = local.time;
    c.date = local.date;
    c.crc = local.crc;
    c.compressedSize = c.uncompressedSize = local.compressedSize;
    c.nameLength = local.nameLength;
    c.externalAttr = 0x20;
    c.localHeaderOffset = uint32_t(body.size());
    const auto l = local.Encode();
    body.append(reinterpret_cast<const char*>(l.data()), l.size());
    body += name + data;
    const auto ce = c.Encode();
    central.append(reinterpret_cast<const char*>(ce.data()), ce.size());
    central += name;
}

TEST_F(CorpusTest, HostileNamesWriteNothingOutside)
{
    std::string body, central;
    const std::vector<std::string> names = {"../up.txt",      "..\\back.txt", "a/../../up2.txt", "C:\\drive.txt",
                                            "\\\\srv\\s\\x.txt", "/abs/root.txt", "dir/ok.txt",     "AUX.txt"};
    for (const auto& n : names)
        AddEntry(body, central, n, "payload");
    zip::EndRecord end;
    end.entriesOnDisk = end.totalEntries = uint16_t(names.size());
    end.directorySize = uint32_t(central.size());
    end.directoryOffset = uint32_t(body.size());
    const auto e = end.Encode();
    const std::string dir = mx::test::FreshDir();
    mx::test::WriteFile(dir + "/evil.zip", body + central + std::string(reinterpret_cast<const char*>(e.data()), e.size()));
    fs::create_directories(dir + "/box/out");

    unzip_->SetArchiveFile(dir + "/evil.zip");
    unzip_->SetExtractDir(dir + "/box/out");
    ASSERT_TRUE(unzip_->Extract());
    std::vector<std::string> files;
    for (const auto& f : fs::recursive_directory_iterator(dir))
        if (f.is_regular_file())
            files.push_back(fs::relative(f.path(), dir).generic_string());
    std::sort(files.begin(), files.end());
    // Names with a root or drive lose it and stay below the extract folder; the others are refused.
    for (const auto& f : files)
        EXPECT_TRUE(f == "evil.zip" || f.rfind("box/out/", 0) == 0) << f;
    EXPECT_TRUE(fs::exists(dir + "/box/out/dir/ok.txt"));
    EXPECT_FALSE(extracted_.errors.empty());
}

// Names written in the Cyrillic DOS code page (866) by an archiver on a Russian system, without the
// UTF-8 flag. The engine reads them in the code page of its own system, so each letter becomes some
// other character; every entry must still be extracted, under a name made of the converted
// characters, or be reported.
TEST_F(CorpusTest, ForeignOemNamesExtract)
{
    std::string body, central;
    std::vector<std::string> names;
    // "тест.txt", "Привет.txt", the upper- and lower-case alphabets, and "ёЁ" (0xF0, 0xF1).
    names.push_back(std::string("\xE2\xA5\xE1\xE2.txt"));
    names.push_back(std::string("\x8F\xE0\xA8\xA2\xA5\xE2.txt"));
    std::string upper, lower;
    for (int c = 0x80; c <= 0x9F; ++c)
        upper += char(c);
    for (int c = 0xA0; c <= 0xAF; ++c)
        lower += char(c);
    for (int c = 0xE0; c <= 0xEF; ++c)
        lower += char(c);
    names.push_back(upper + ".txt");
    names.push_back(lower + ".txt");
    names.push_back(std::string("\xF0\xF1.txt"));
    names.push_back(std::string("\xAF\xA0\xAF\xAA\xA0/\xE4\xA0\xA9\xAB.txt"));  // "папка/файл.txt"
    for (size_t i = 0; i < names.size(); ++i)
        AddEntry(body, central, names[i], "payload " + std::to_string(i));
    zip::EndRecord end;
    end.entriesOnDisk = end.totalEntries = uint16_t(names.size());
    end.directorySize = uint32_t(central.size());
    end.directoryOffset = uint32_t(body.size());
    const auto e = end.Encode();
    const std::string dir = mx::test::FreshDir();
    mx::test::WriteFile(dir + "/cyr.zip", body + central + std::string(reinterpret_cast<const char*>(e.data()), e.size()));

    unzip_->SetArchiveFile(dir + "/cyr.zip");
    unzip_->SetExtractDir(dir + "/out");
    ASSERT_TRUE(unzip_->Extract());
    EXPECT_EQ(extracted_.errors, std::vector<int>{});
    EXPECT_EQ(extracted_.pass, int(names.size()));
    EXPECT_EQ(extracted_.fail, 0);
    int files = 0;
    for (const auto& f : fs::recursive_directory_iterator(dir + "/out"))
        files += f.is_regular_file();
    EXPECT_EQ(files, int(names.size()));
    // Each under its converted name ("\xE2\xA5\xE1\xE2" reads "G\xD1\xDFG" in code pages 437 and 1252).
    EXPECT_EQ(OemToAnsiPath(names[0]), "G\xD1\xDFG.txt");
    for (size_t i = 0; i < names.size(); ++i) {
        std::string ansi = OemToAnsiPath(names[i]);
        std::replace(ansi.begin(), ansi.end(), '\\', '/');
        EXPECT_EQ(mx::test::ReadFile(dir + "/out/" + ansi), "payload " + std::to_string(i)) << i;
    }
}

}  // namespace
}  // namespace engine
