// The lister and the extractor over archives of other makers from the fixture corpus, and over a
// hostile archive built here; these run natively and under Wine, where paths, dates and attributes go
// through the Win32 seams.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/core/file_routines.h"
#include "engine/core/routines.h"
#include "engine/core/testing/fault_fs.h"
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

// One entry of a hand-built archive: stored data unless Method says otherwise. Data is what the
// entry holds; Declared is the uncompressed size its headers state (Data's size when negative) and
// Crc the CRC they state (that of Plain, or of Data when Plain is empty).
struct EntrySpec {
    EntrySpec(std::string n, std::string d, uint16_t f = 0, uint16_t m = 0, int64_t decl = -1, std::string p = {})
        : name(std::move(n)), data(std::move(d)), flags(f), method(m), declared(decl), plain(std::move(p))
    {
    }
    std::string name;
    std::string data;
    uint16_t flags;
    uint16_t method;
    int64_t declared;
    std::string plain;
    uint32_t attributes = 0x20;  // DOS attributes, in the low byte of the external attributes
};

// A stored entry record pair for a hand-built archive; returns the local header's offset.
uint32_t AddEntry(std::string& body, std::string& central, const EntrySpec& spec)
{
    const std::string& plain = spec.plain.empty() ? spec.data : spec.plain;
    uint32_t crc = 0xFFFFFFFFu;
    mx::codec::UpdateCrc32({reinterpret_cast<const uint8_t*>(plain.data()), plain.size()}, crc);
    zip::LocalHeader local;
    local.versionNeeded = 10;
    local.flags = spec.flags;
    local.method = spec.method;
    local.time = 0x6000;
    local.date = 0x5821;
    local.crc = ~crc;
    local.compressedSize = uint32_t(spec.data.size());
    local.uncompressedSize = spec.declared >= 0 ? uint32_t(spec.declared) : uint32_t(plain.size());
    local.nameLength = uint16_t(spec.name.size());
    zip::CentralHeader c;
    c.versionMadeBy = 20;
    c.versionNeeded = 10;
    c.flags = local.flags;
    c.method = local.method;
    c.time = local.time;
    c.date = local.date;
    c.crc = local.crc;
    c.compressedSize = local.compressedSize;
    c.uncompressedSize = local.uncompressedSize;
    c.nameLength = local.nameLength;
    c.externalAttr = spec.attributes;
    c.localHeaderOffset = uint32_t(body.size());
    const auto l = local.Encode();
    body.append(reinterpret_cast<const char*>(l.data()), l.size());
    body += spec.name + spec.data;
    const auto ce = c.Encode();
    central.append(reinterpret_cast<const char*>(ce.data()), ce.size());
    central += spec.name;
    return c.localHeaderOffset;
}

void AddEntry(std::string& body, std::string& central, const std::string& name, const std::string& data)
{
    AddEntry(body, central, EntrySpec{name, data});
}

// Body, directory and an end record that counts Entries records.
std::string FinishZip(const std::string& body, const std::string& central, size_t entries)
{
    zip::EndRecord end;
    end.entriesOnDisk = end.totalEntries = uint16_t(entries);
    end.directorySize = uint32_t(central.size());
    end.directoryOffset = uint32_t(body.size());
    const auto e = end.Encode();
    return body + central + std::string(reinterpret_cast<const char*>(e.data()), e.size());
}

// Data as one raw deflate stored block.
std::string DeflateStored(const std::string& data)
{
    const uint16_t len = uint16_t(data.size());
    std::string out;
    out += char(1);
    out += char(len & 0xFF);
    out += char(len >> 8);
    out += char(~len & 0xFF);
    out += char((~len >> 8) & 0xFF);
    return out + data;
}

std::vector<std::string> FilesBelow(const std::string& dir)
{
    std::vector<std::string> files;
    if (!fs::exists(dir))
        return files;
    for (const auto& f : fs::recursive_directory_iterator(dir))
        if (f.is_regular_file())
            files.push_back(fs::relative(f.path(), dir).generic_string());
    std::sort(files.begin(), files.end());
    return files;
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

namespace engine {
namespace {

// Many central records that point at the same local entry (the overlapping-entry bomb), and one whose
// data starts inside another entry's data: each entry after the first to claim the bytes is refused
// with 25248 and the walk goes on to the good entry behind them.
TEST_F(CorpusTest, OverlappingEntriesAreRefused)
{
    std::string body, central;
    const std::string payload(5000, 'A');
    AddEntry(body, central, {"first.txt", payload});
    std::string copies = central;
    for (int i = 0; i < 5; ++i) {
        std::string name = "copy" + std::to_string(i) + ".txt";
        std::string record = copies;
        record.replace(46, 9, name);  // the same length as "first.txt"
        central += record;
    }
    // A local header hidden in the first entry's data, claimed by a record of its own.
    std::string inner, innerCentral;
    AddEntry(inner, innerCentral, {"inner.txt", "hidden"});
    body.replace(100, inner.size(), inner);
    uint32_t crc = 0xFFFFFFFFu;
    mx::codec::UpdateCrc32({reinterpret_cast<const uint8_t*>(body.data() + 30 + 9), payload.size()}, crc);
    for (int k = 0; k < 4; ++k) {
        central[16 + k] = char(~crc >> (8 * k));     // the first entry's CRC over the changed data
        innerCentral[42 + k] = char(100 >> (8 * k));  // the hidden entry's local header offset
    }
    central += innerCentral;
    AddEntry(body, central, {"good.txt", "good data"});
    const std::string dir = mx::test::FreshDir();
    mx::test::WriteFile(dir + "/overlap.zip", FinishZip(body, central, 8));

    unzip_->SetArchiveFile(dir + "/overlap.zip");
    unzip_->SetExtractDir(dir + "/out");
    ASSERT_TRUE(unzip_->Extract());
    EXPECT_EQ(extracted_.errors, std::vector<int>(6, 25248));
    EXPECT_EQ(extracted_.pass, 2);
    EXPECT_EQ(extracted_.fail, 0);
    EXPECT_EQ(FilesBelow(dir + "/out"), (std::vector<std::string>{"first.txt", "good.txt"}));
}

// Entries whose data yields fewer (or more) bytes than they declare fail their check, although the
// stored CRC is that of the bytes the data really holds.
TEST_F(CorpusTest, DecodedSizeMustMatchTheDeclaredSize)
{
    std::string body, central;
    const std::string text = "short text that claims to be much longer";
    AddEntry(body, central, {"deflate_short.txt", DeflateStored(text), 0, 8, 100000, text});
    AddEntry(body, central, {"stored_short.txt", text, 0, 0, 100000});
    AddEntry(body, central, {"deflate_long.txt", DeflateStored(text), 0, 8, 10, text});
    AddEntry(body, central, {"stored_long.txt", text, 0, 0, 10});
    AddEntry(body, central, {"honest.txt", DeflateStored(text), 0, 8, int64_t(text.size()), text});
    const std::string dir = mx::test::FreshDir();
    mx::test::WriteFile(dir + "/sizes.zip", FinishZip(body, central, 5));

    std::vector<std::pair<std::string, bool>> ends;
    unzip_->OnEnd.Bind(&ends, [](void* c, fw::TObject*, const std::string& fn, bool pass) {
        static_cast<std::vector<std::pair<std::string, bool>>*>(c)->emplace_back(ExtractFileName(fn), pass);
    });
    unzip_->SetArchiveFile(dir + "/sizes.zip");
    unzip_->SetExtractDir(dir + "/out");
    ASSERT_TRUE(unzip_->Test());
    EXPECT_EQ(ends, (std::vector<std::pair<std::string, bool>>{{"deflate_short.txt", false},
                                                               {"stored_short.txt", false},
                                                               {"deflate_long.txt", false},
                                                               {"stored_long.txt", false},
                                                               {"honest.txt", true}}));
    EXPECT_FALSE(fs::exists(dir + "/out"));
}

// A directory that cannot be walked to the number of records its end record states: the entries
// before the damage are extracted, then 25108.
TEST_F(CorpusTest, DamagedDirectoryReportsAfterTheEntriesBeforeIt)
{
    struct Case {
        const char* what;
        size_t damagedRecord;  // whose comment length runs past the end record; 0: none
        size_t declared;
    };
    for (const Case& c : {Case{"record runs past the end record", 2, 3}, Case{"fewer records than counted", 0, 5}}) {
        SCOPED_TRACE(c.what);
        std::string body, central;
        std::vector<size_t> starts;
        for (int i = 1; i <= 3; ++i) {
            starts.push_back(central.size());
            AddEntry(body, central, "e" + std::to_string(i) + ".txt", "entry " + std::to_string(i));
        }
        if (c.damagedRecord)
            central[starts[c.damagedRecord - 1] + 32] = char(0x40);  // comment length 64
        const std::string dir = mx::test::FreshDir();
        mx::test::WriteFile(dir + "/damaged.zip", FinishZip(body, central, c.declared));
        extracted_ = {};
        unzip_->SetArchiveFile(dir + "/damaged.zip");
        unzip_->SetExtractDir(dir + "/out");
        ASSERT_TRUE(unzip_->Extract());
        EXPECT_EQ(extracted_.errors, std::vector<int>{25108});
        const int good = c.damagedRecord ? int(c.damagedRecord) - 1 : 3;
        EXPECT_EQ(extracted_.pass, good);
        EXPECT_EQ(int(FilesBelow(dir + "/out").size()), good);
    }
}

// Names with the UTF-8 flag (bit 11) are read as UTF-8 and shown and written in the ANSI code page;
// a character that code page lacks becomes "_" (no best fit: "\u0101" is not "a"). The same bytes
// without the flag are OEM text as before.
TEST_F(CorpusTest, Utf8NamesAreConvertedToAnsi)
{
    struct Case {
        std::string stored;
        uint16_t flags;
        std::string ansi;
    };
    const std::vector<Case> cases = {
        {"Gr\xC3\xBC\xC3\x9F" "e.txt", zip::kFlagUtf8, "Gr\xFC\xDF" "e.txt"},
        {"\xE2\x82\xACuro.txt", zip::kFlagUtf8, "\x80uro.txt"},
        {"\xE6\x97\xA5\xE6\x9C\xAC.txt", zip::kFlagUtf8, "__.txt"},
        {"\xC4\x81\xF0\x9F\x98\x80.txt", zip::kFlagUtf8, "__.txt"},
        {"bad\xC3(\xE0\x80\x80.txt", zip::kFlagUtf8, "bad_(___.txt"},
        {"d\xC3\xA9j\xC3\xA0/f\xC3\xAAte.txt", zip::kFlagUtf8, "d\xE9j\xE0\\f\xEAte.txt"},
        {"\x81" "ber.txt", 0, "\xFC" "ber.txt"},
    };
    std::string body, central;
    for (size_t i = 0; i < cases.size(); ++i)
        AddEntry(body, central, {cases[i].stored, "payload " + std::to_string(i), cases[i].flags});
    const std::string dir = mx::test::FreshDir();
    mx::test::WriteFile(dir + "/utf8.zip", FinishZip(body, central, cases.size()));

    std::vector<std::string> listed;
    lister_->OnRead.Bind(&listed, [](void* c, fw::TObject* s, int64_t, int) {
        static_cast<std::vector<std::string>*>(c)->push_back(static_cast<TKrenlo*>(s)->FileName);
    });
    lister_->SetArchiveFile(dir + "/utf8.zip");
    ASSERT_TRUE(lister_->Activate());
    ASSERT_EQ(listed.size(), cases.size());
    for (size_t i = 0; i < cases.size(); ++i)
        EXPECT_EQ(listed[i], cases[i].ansi) << i;

    unzip_->SetArchiveFile(dir + "/utf8.zip");
    unzip_->SetExtractDir(dir + "/out");
    ASSERT_TRUE(unzip_->Extract());
    EXPECT_EQ(extracted_.errors, std::vector<int>{});
    // Two names meet in "__.txt": the second overwrites the first.
    EXPECT_EQ(extracted_.pass, int(cases.size()));
    for (size_t i = 0; i < cases.size(); ++i) {
        if (i == 2)
            continue;
        std::string path = cases[i].ansi;
        std::replace(path.begin(), path.end(), '\\', '/');
        EXPECT_EQ(mx::test::ReadFile(dir + "/out/" + path), "payload " + std::to_string(i)) << i;
    }
}

// An existing read-only, hidden or system file that the user agrees to overwrite is replaced and ends
// with its entry's attributes, also where the system refuses to cut such a file as Windows does.
TEST_F(CorpusTest, AnsweredOverwriteReplacesMarkedFiles)
{
    struct Case {
        const char* name;
        uint32_t onDisk;
        uint32_t stored;
    };
    const std::vector<Case> cases = {
        {"hidden.txt", kAttrHidden | kAttrArchive, kAttrArchive},
        {"system.txt", kAttrSysFile | kAttrArchive, kAttrArchive},
        {"ro.txt", kAttrReadOnly | kAttrArchive, kAttrArchive},
        {"hidden-ro.txt", kAttrHidden | kAttrReadOnly | kAttrArchive, kAttrArchive},
        {"stays-hidden.txt", kAttrHidden | kAttrArchive, kAttrHidden | kAttrArchive},
        {"becomes-ro.txt", kAttrSysFile | kAttrArchive, kAttrReadOnly | kAttrArchive},
    };
    std::string body, central;
    for (const Case& c : cases) {
        EntrySpec entry{c.name, std::string("new ") + c.name};
        entry.attributes = c.stored;
        AddEntry(body, central, entry);
    }
    const std::string dir = mx::test::FreshDir();
    mx::test::WriteFile(dir + "/marked.zip", FinishZip(body, central, cases.size()));
    std::vector<std::string> asked;
    unzip_->OnFileExists.Bind(&asked, [](void* a, fw::TObject*, const std::string& fn, TDateTime, bool& accept) {
        static_cast<std::vector<std::string>*>(a)->push_back(ExtractFileName(fn));
        accept = true;
    });
    for (const bool refuse : {false, true}) {
        const std::string out = dir + (refuse ? "/refused" : "/cut");
        fs::create_directories(out);
        for (const Case& c : cases) {
            mx::test::WriteFile(out + "/" + c.name, "old");
            ASSERT_TRUE(FileSetAttr(out + "/" + c.name, c.onDisk)) << c.name;
        }
        test::FaultFs faults;
        faults.refuseMarkedTargets = refuse;
        asked.clear();
        extracted_ = {};
        unzip_->SetArchiveFile(dir + "/marked.zip");
        unzip_->SetExtractDir(out);
        ASSERT_TRUE(unzip_->Extract());
        EXPECT_EQ(extracted_.errors, std::vector<int>{}) << out;
        EXPECT_EQ(extracted_.pass, int(cases.size())) << out;
        EXPECT_EQ(asked.size(), cases.size()) << out;
        for (const Case& c : cases) {
            const std::string path = out + "/" + c.name;
            EXPECT_EQ(mx::test::ReadFile(path), std::string("new ") + c.name) << path;
            EXPECT_EQ(FileGetAttr(path) & 0x27, int64_t(c.stored)) << path;
            FileSetAttr(path, kAttrArchive);  // a read-only file would keep the next run from clearing the folder
        }
    }
}

}  // namespace
}  // namespace engine
