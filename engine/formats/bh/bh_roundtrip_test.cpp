// TBlakHole writes, TUnBH reads back: {stored, fused, incompressible} x {password, none} x {add,
// update, delete, move}; a cancelled update leaves the archive as it was; deleting every entry removes
// the archive. Natively and under Wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <random>
#include <string>
#include <tuple>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/core/testing/engine_test_env.h"
#include "engine/formats/bh/bh_extract.h"
#include "engine/formats/bh/bh_header.h"
#include "engine/formats/bh/bh_writer.h"
#include "engine/core/file_attr.h"
#include "engine/core/testing/fault_fs.h"
#include "engine/formats/common/read_source.h"
#include "engine/formats/common/testdata/byte_patch.h"
#include "engine/formats/common/testdata/file_stamp.h"
#include "engine/formats/entrystream/testing/extract_recorder.h"
#include "framework/core/lists.h"
#include "testing/test_env.h"

namespace engine {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> FilesBelow(const std::string& dir)
{
    std::map<std::string, std::string> files;
    if (fs::exists(dir))
        for (const auto& e : fs::recursive_directory_iterator(dir))
            if (e.is_regular_file())
                files[fs::relative(e.path(), dir).generic_string()] = mx::test::ReadFile(e.path().string());
    return files;
}

// The entries of the archive as our header reader finds them.
std::vector<bh::Header> Entries(const std::string& bytes)
{
    SpanSource source(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
    std::vector<bh::Header> out;
    uint64_t pos = 0;
    bh::Header h;
    while (bh::ReadHeader(source, pos, h) == bh::Read::Ok) {
        out.push_back(h);
        pos = h.DataPos() + h.packedSize;
    }
    return out;
}

// The method and flags of each entry, by name.
std::map<std::string, std::pair<int, int>> Methods(const std::string& path)
{
    std::map<std::string, std::pair<int, int>> out;
    for (const bh::Header& h : Entries(mx::test::ReadFile(path)))
        out[h.name] = {h.method, h.flags};
    return out;
}

class BhRoundTrip : public ::testing::Test {
public:
    void SetUp() override
    {
        engine::test::SetUpEngineTests();
        RegisterUnBhClasses();
        RegisterBhWriterClasses();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        dir_ = mx::test::FreshDir();
        std::mt19937 rng(3);
        for (int i = 0; i < 40000; ++i)
            files_["text.txt"] += "Black holes swallow everything they meet. "[i % 42];
        for (int i = 0; i < 20000; ++i)
            files_["noise.bin"] += char(rng());
        files_["empty.dat"] = "";
        fs::create_directories(dir_ + "/src");
        for (const auto& [name, bytes] : files_)
            mx::test::WriteFile(dir_ + "/src/" + name, bytes);
    }
    void TearDown() override { owner_->Free(); }

    TBlakHole* Writer(const std::string& archive, TSwitch sw, TCompressMethod method, const std::string& password,
                      std::initializer_list<std::string> spec)
    {
        TBlakHole* w = fw::Make<TBlakHole>(owner_);
        w->SetArchiveFile(mx::test::HostPath(archive));
        w->SetSwitch(sw);
        w->SetCompressMethod(method);
        w->Password = password;
        w->SetStoredDirNames(TStoredDirNames::sdNone);
        for (const std::string& s : spec)
            w->FileSpecList()->Add(mx::test::HostPath(dir_ + "/src/") + s);
        w->OnError.Bind(&errors_, [](void* c, fw::TObject*, const std::string&, const std::string&, const std::string&,
                                     int code) { static_cast<std::vector<int>*>(c)->push_back(code); });
        return w;
    }

    engine::test::ExtractRecorder Extract(const std::string& archive, const std::string& out,
                                          const std::string& password)
    {
        TUnBH* u = fw::Make<TUnBH>(owner_);
        engine::test::ExtractRecorder rec;
        rec.Attach(*u);
        fw::TStringList list;
        if (!password.empty())
            list.Add(password);
        u->SetPasswords(&list);
        u->SetArchiveFile(mx::test::HostPath(archive));
        EXPECT_EQ(u->ArcType(), TArcType::atBh);
        u->SetExtractDir(mx::test::HostPath(out));
        EXPECT_TRUE(u->Extract());
        return rec;
    }

    // Each method with and without Password, and a tag that names the pair.
    static std::vector<std::tuple<TCompressMethod, std::string, std::string>> Variants(const std::string& password)
    {
        std::vector<std::tuple<TCompressMethod, std::string, std::string>> out;
        for (TCompressMethod method : {TCompressMethod::cmStore, TCompressMethod::cmFuse})
            for (const std::string& p : {std::string(), password})
                out.emplace_back(method, p,
                                 std::string(method == TCompressMethod::cmFuse ? "fused" : "stored") +
                                     (p.empty() ? "_plain" : "_encrypted"));
        return out;
    }

    fw::TComponent* owner_ = nullptr;
    std::string dir_;
    std::map<std::string, std::string> files_;
    std::vector<int> errors_;
};

TEST_F(BhRoundTrip, MethodsPasswordsAndSwitches)
{
    for (const auto& [method, password, tag] : Variants("black hole")) {
        SCOPED_TRACE(tag);
        const std::string archive = dir_ + "/a" + tag + ".bh";
        errors_.clear();
        ASSERT_TRUE(Writer(archive, TSwitch::swAdd, method, password, {"*.*"})->Activate());
        EXPECT_TRUE(errors_.empty());
        // The archive ends with its own length.
        const std::string bytes = mx::test::ReadFile(archive);
        ASSERT_GE(bytes.size(), 4u);
        EXPECT_EQ(uint32_t(uint8_t(bytes[bytes.size() - 4])) | uint32_t(uint8_t(bytes[bytes.size() - 3])) << 8 |
                      uint32_t(uint8_t(bytes[bytes.size() - 2])) << 16,
                  uint32_t(bytes.size()));
        const auto methods = Methods(archive);
        const int fused = method == TCompressMethod::cmFuse ? 1 : 0;
        EXPECT_EQ(methods.at("text.txt").first, fused);
        EXPECT_EQ(methods.at("noise.bin").first, 0);  // incompressible: stored
        EXPECT_EQ(methods.at("empty.dat"), std::make_pair(0, 0));  // never encrypted
        EXPECT_EQ(methods.at("text.txt").second, password.empty() ? 0 : 1);

        auto rec = Extract(archive, dir_ + "/out" + tag, password);
        EXPECT_EQ(rec.Passed(), 3);
        EXPECT_EQ(FilesBelow(dir_ + "/out" + tag), files_);
        if (!password.empty()) {
            // Without the password no encrypted entry comes out.
            rec = Extract(archive, dir_ + "/nopw" + tag, "wrong");
            EXPECT_FALSE(fs::exists(dir_ + "/nopw" + tag + "/text.txt"));
            EXPECT_LE(rec.Passed(), 1);  // the empty file at most
        }

        // Update: a changed file replaces its entry when OnReplaceFile agrees.
        mx::test::WriteFile(dir_ + "/src/text.txt", files_["text.txt"] + "more");
        TBlakHole* w = Writer(archive, TSwitch::swAdd, method, password, {"text.txt"});
        w->OnReplaceFile.Bind(nullptr, [](void*, fw::TObject*, const std::string&, const std::string&, double,
                                          double, int64_t, int64_t, int, int, bool& replace) { replace = true; });
        ASSERT_TRUE(w->Activate());
        rec = Extract(archive, dir_ + "/upd" + tag, password);
        auto want = files_;
        want["text.txt"] += "more";
        EXPECT_EQ(FilesBelow(dir_ + "/upd" + tag), want);
        mx::test::WriteFile(dir_ + "/src/text.txt", files_["text.txt"]);

        // Delete one entry.
        w = Writer(archive, TSwitch::swDelete, method, password, {"noise.bin"});
        fw::TStringList names;
        names.Add("noise.bin");
        w->SetFileSpecList(&names);
        ASSERT_TRUE(w->Activate());
        want.erase("noise.bin");
        rec = Extract(archive, dir_ + "/del" + tag, password);
        EXPECT_EQ(FilesBelow(dir_ + "/del" + tag), want);

        // Move: a new file goes into the archive and leaves the disk.
        want["moved.txt"] = files_["text.txt"].substr(0, 5000);
        mx::test::WriteFile(dir_ + "/src/moved.txt", want["moved.txt"]);
        ASSERT_TRUE(Writer(archive, TSwitch::swMove, method, password, {"moved.txt"})->Activate());
        EXPECT_FALSE(fs::exists(dir_ + "/src/moved.txt"));
        EXPECT_EQ(Methods(archive).at("moved.txt"), std::make_pair(method == TCompressMethod::cmFuse ? 1 : 0,
                                                                   password.empty() ? 0 : 1));
        rec = Extract(archive, dir_ + "/mov" + tag, password);
        EXPECT_EQ(FilesBelow(dir_ + "/mov" + tag), want);
        EXPECT_EQ(rec.Failed(), 0);
    }
}

TEST_F(BhRoundTrip, MoveDeletesOnlyWhatWasAdded)
{
    const std::string archive = dir_ + "/m.bh";
    TBlakHole* w = Writer(archive, TSwitch::swMove, TCompressMethod::cmFuse, "", {"*.*"});
    // The noise file is declined: it stays on disk.
    w->OnBegin.Bind(nullptr, [](void*, fw::TObject*, const std::string& fn, int, bool& accept) {
        accept = fn.find("noise") == std::string::npos;
    });
    ASSERT_TRUE(w->Activate());
    EXPECT_FALSE(fs::exists(dir_ + "/src/text.txt"));
    EXPECT_FALSE(fs::exists(dir_ + "/src/empty.dat"));
    EXPECT_TRUE(fs::exists(dir_ + "/src/noise.bin"));
    const auto rec = Extract(archive, dir_ + "/out", "");
    EXPECT_EQ(rec.Passed(), 2);
}

// An update that fails leaves the archive as it was: a write that fails part-way (a full disk) ends
// the run with 25136 and the archive unchanged byte for byte; a source that cannot be read is
// reported with 25236 and left out, and the entry it was to replace stays whole. Stored and fused.
TEST_F(BhRoundTrip, FailedUpdatesLeaveTheArchive)
{
    for (TCompressMethod method : {TCompressMethod::cmStore, TCompressMethod::cmFuse}) {
        const std::string tag = method == TCompressMethod::cmFuse ? "fused" : "stored";
        SCOPED_TRACE(tag);
        const std::string archive = dir_ + "/" + tag + ".bh";
        mx::test::WriteFile(dir_ + "/src/text.txt", files_["text.txt"]);
        ASSERT_TRUE(Writer(archive, TSwitch::swAdd, method, "", {"text.txt", "noise.bin"})->Activate());
        const std::string before = mx::test::ReadFile(archive);
        mx::test::WriteFile(dir_ + "/src/text.txt", "changed since");
        mx::test::WriteFile(dir_ + "/src/extra.txt", "a new file");
        const auto update = [&] {
            errors_.clear();
            TBlakHole* w = Writer(archive, TSwitch::swAdd, method, "", {"text.txt", "extra.txt"});
            w->OnReplaceFile.Bind(nullptr, [](void*, fw::TObject*, const std::string&, const std::string&, double,
                                              double, int64_t, int64_t, int, int, bool& replace) { replace = true; });
            return w->Activate();
        };
        {
            test::FaultFs faults;
            faults.writeBudget = 3000;
            EXPECT_FALSE(update());
        }
        EXPECT_NE(std::find(errors_.begin(), errors_.end(), 25136), errors_.end());
        EXPECT_TRUE(mx::test::ReadFile(archive) == before);
        {
            test::FaultFs faults;
            faults.failReadsOf = "text.txt";
            EXPECT_TRUE(update());
        }
        EXPECT_EQ(errors_, std::vector<int>{25236});
        const auto rec = Extract(archive, dir_ + "/out_" + tag, "");
        EXPECT_EQ(rec.Failed(), 0);
        EXPECT_EQ(FilesBelow(dir_ + "/out_" + tag),
                  (std::map<std::string, std::string>{
                      {"text.txt", files_["text.txt"]}, {"noise.bin", files_["noise.bin"]}, {"extra.txt", "a new file"}}));
        fs::remove(dir_ + "/src/extra.txt");
    }
    mx::test::WriteFile(dir_ + "/src/text.txt", files_["text.txt"]);
}

// Each failure is reported and the run goes on with the other files: a source that vanishes during
// the run (25235), a stored name over 255 bytes (25243, natively: Windows paths are shorter), a move
// whose file keeps its older entry (OnReplaceFile says No: the file stays on disk).
TEST_F(BhRoundTrip, ErrorPaths)
{
    const std::string archive = dir_ + "/e.bh";
    fs::create_directories(dir_ + "/gone");
    mx::test::WriteFile(dir_ + "/gone/one.txt", "one");
    mx::test::WriteFile(dir_ + "/gone/two.txt", "two");
    errors_.clear();
    TBlakHole* w = Writer(archive, TSwitch::swAdd, TCompressMethod::cmFuse, "", {});
    w->FileSpecList()->Add(mx::test::HostPath(dir_ + "/gone/*.txt"));
    // The first file begun is removed before it is opened.
    bool removed = false;
    struct Ctx {
        std::string dir;
        bool* removed;
    } ctx{dir_, &removed};
    w->OnBegin.Bind(&ctx, [](void* c, fw::TObject*, const std::string& fn, int, bool&) {
        auto* x = static_cast<Ctx*>(c);
        if (!*x->removed)
            *x->removed = fs::remove(x->dir + "/gone/" + fn);
    });
    ASSERT_TRUE(w->Activate());
    EXPECT_TRUE(removed);
    EXPECT_EQ(errors_, std::vector<int>{25235});
    EXPECT_EQ(Entries(mx::test::ReadFile(archive)).size(), 1u);
    ASSERT_TRUE(Writer(archive, TSwitch::swAdd, TCompressMethod::cmFuse, "", {"*.*"})->Activate());

#ifndef _WIN32
    const std::string deep = dir_ + "/src/" + std::string(200, 'd');
    fs::create_directories(deep);
    mx::test::WriteFile(deep + "/" + std::string(60, 'f'), "too long a stored name");
    mx::test::WriteFile(dir_ + "/src/extra.txt", "extra");
    errors_.clear();
    w = Writer(archive, TSwitch::swAdd, TCompressMethod::cmStore, "", {"*.*"});
    w->SetStoredDirNames(TStoredDirNames::sdRelative);
    w->SetRecurseDirs(true);
    ASSERT_TRUE(w->Activate());
    EXPECT_EQ(errors_, std::vector<int>{25243});
    EXPECT_EQ(Entries(mx::test::ReadFile(archive)).size(), 5u);
    fs::remove_all(deep);
    fs::remove(dir_ + "/src/extra.txt");
#endif

    // Moving text.txt again, changed: the older entry is kept, so the file stays on disk.
    mx::test::WriteFile(dir_ + "/src/text.txt", "changed since it was archived");
    mx::test::WriteFile(dir_ + "/src/new.txt", "new");
    w = Writer(archive, TSwitch::swMove, TCompressMethod::cmFuse, "", {"text.txt", "new.txt"});
    int asked = 0;
    w->OnReplaceFile.Bind(&asked, [](void* c, fw::TObject*, const std::string&, const std::string&, double, double,
                                     int64_t, int64_t, int, int, bool& replace) {
        ++*static_cast<int*>(c);
        replace = false;
    });
    ASSERT_TRUE(w->Activate());
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(fs::exists(dir_ + "/src/text.txt"));
    EXPECT_FALSE(fs::exists(dir_ + "/src/new.txt"));
    const auto rec = Extract(archive, dir_ + "/moved", "");
    EXPECT_EQ(rec.Failed(), 0);
    EXPECT_EQ(FilesBelow(dir_ + "/moved").at("text.txt"), files_["text.txt"]);
    EXPECT_EQ(FilesBelow(dir_ + "/moved").at("new.txt"), "new");
    mx::test::WriteFile(dir_ + "/src/text.txt", files_["text.txt"]);
}

TEST_F(BhRoundTrip, CancelAndDeleteAll)
{
    const std::string archive = dir_ + "/c.bh";
    ASSERT_TRUE(Writer(archive, TSwitch::swAdd, TCompressMethod::cmFuse, "", {"text.txt"})->Activate());
    const std::string before = mx::test::ReadFile(archive);
    // A run cancelled in the middle leaves the archive as it was.
    TBlakHole* w = Writer(archive, TSwitch::swAdd, TCompressMethod::cmFuse, "", {"*.*"});
    w->OnBegin.Bind(w, [](void* self, fw::TObject*, const std::string&, int, bool&) {
        TAwkMain::Cancel(static_cast<TBlakHole*>(self), true);
    });
    EXPECT_FALSE(w->Activate());
    EXPECT_TRUE(mx::test::ReadFile(archive) == before);

    // Deleting every entry removes the archive.
    w = Writer(archive, TSwitch::swDelete, TCompressMethod::cmFuse, "", {});
    fw::TStringList names;
    names.Add("*.*");
    w->SetFileSpecList(&names);
    w->Activate();
    EXPECT_FALSE(fs::exists(archive));
    EXPECT_TRUE(w->ArchiveFile().empty());

    // Deleting from a missing archive has nothing to do.
    errors_.clear();
    w = Writer(dir_ + "/none.bh", TSwitch::swDelete, TCompressMethod::cmFuse, "", {});
    w->SetFileSpecList(&names);
    EXPECT_FALSE(w->Activate());
    EXPECT_EQ(errors_, std::vector<int>{26999});
}

// A damaged entry (stored or fused, with or without a password) fails its CRC report and the entries
// after it still pass.
TEST_F(BhRoundTrip, DamagedEntryThenGoodEntries)
{
    for (const auto& [method, password, tag] : Variants("pw")) {
        SCOPED_TRACE(tag);
        const std::string archive = dir_ + "/b" + tag + ".bh";
        ASSERT_TRUE(Writer(archive, TSwitch::swAdd, method, password, {"text.txt", "noise.bin", "empty.dat"})->Activate());
        std::string bytes = mx::test::ReadFile(archive);
        const auto entries = Entries(bytes);
        ASSERT_EQ(entries.size(), 3u);
        ASSERT_EQ(entries[0].name, "text.txt");
        // Past the 12-byte encryption header, so that the password still fits.
        bytes[entries[0].DataPos() + 12 + (entries[0].packedSize - 12) / 2] ^= 0x5A;
        mx::test::WriteFile(archive, bytes);
        const auto rec = Extract(archive, dir_ + "/out" + tag, password);
        ASSERT_EQ(rec.ended.size(), 3u);
        EXPECT_FALSE(rec.ended[0].second);
        EXPECT_TRUE(rec.ended[1].second);
        EXPECT_TRUE(rec.ended[2].second);
        EXPECT_EQ(FilesBelow(dir_ + "/out" + tag).at("noise.bin"), files_["noise.bin"]);
    }
}

// The sources' dates and attributes come back with the files, stored and fused, with and without a
// password.
TEST_F(BhRoundTrip, DatesAndAttributes)
{
    // 2017-08-09 10:11:12 and 1999-12-31 23:59:58.
    const uint32_t text = (37u << 25) | (8u << 21) | (9u << 16) | (10u << 11) | (11u << 5) | 6u;
    const uint32_t noise = (19u << 25) | (12u << 21) | (31u << 16) | (23u << 11) | (59u << 5) | 29u;
    ASSERT_TRUE(fw::Fs().SetFileTime(mx::test::HostPath(dir_ + "/src/text.txt"), fw::DosTimeToFileTime(text)));
    ASSERT_TRUE(fw::Fs().SetFileTime(mx::test::HostPath(dir_ + "/src/noise.bin"), fw::DosTimeToFileTime(noise)));
    ASSERT_TRUE(FileSetAttr(mx::test::HostPath(dir_ + "/src/noise.bin"), kAttrHidden | kAttrArchive));
    for (const auto& [method, password, tag] : Variants("pw")) {
        SCOPED_TRACE(tag);
        const std::string archive = dir_ + "/d" + tag + ".bh";
        TBlakHole* w = Writer(archive, TSwitch::swAdd, method, password, {"*.*"});
        w->FileAttribute()->SetAttr(TqlvFileAttr::ftHidden, true);
        ASSERT_TRUE(w->Activate());
        const auto rec = Extract(archive, dir_ + "/out" + tag, password);
        EXPECT_EQ(rec.Passed(), 3);
        const std::string out = mx::test::HostPath(dir_ + "/out" + tag + "/");
        EXPECT_EQ(test::FileStamp(out + "text.txt"), test::Stamp(test::DosStampText(text), 0x20));
        EXPECT_EQ(test::FileStamp(out + "noise.bin"), test::Stamp(test::DosStampText(noise), 0x22));
    }
}

// An encrypted entry added after an old entry whose flags carry bit 3 reads back: every header is
// written fresh.
TEST_F(BhRoundTrip, NoHeaderResidue)
{
    const std::string archive = dir_ + "/r.bh";
    ASSERT_TRUE(Writer(archive, TSwitch::swAdd, TCompressMethod::cmStore, "", {"empty.dat"})->Activate());
    std::string bytes = mx::test::ReadFile(archive);
    bytes[9] = char(bytes[9] | bh::kFlagTimeCheck);
    mx::test::WriteFile(archive, bytes);
    ASSERT_TRUE(Writer(archive, TSwitch::swAdd, TCompressMethod::cmFuse, "pw", {"text.txt"})->Activate());
    const auto rec = Extract(archive, dir_ + "/out", "pw");
    EXPECT_EQ(FilesBelow(dir_ + "/out").at("text.txt"), files_["text.txt"]);
    EXPECT_EQ(rec.Failed(), 0);
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

TEST(BhWriter, DefaultExtRules)
{
    RegisterBhWriterClasses();
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    TBlakHole* w = fw::Make<TBlakHole>(owner);
    for (const auto& [in, out] : std::vector<std::pair<std::string, std::string>>{
             {"tar.gz", "gz"}, {"abcde", "abc"}, {"", "BH"}, {"   ", "BH"}, {" lzh ", "lzh"}}) {
        w->SetDefaultExt(in);
        EXPECT_EQ(w->GetDefaultExt(), out) << in;
    }
    EXPECT_EQ(w->ArcType(), TArcType::atBh);
    owner->Free();
}

}  // namespace
}  // namespace engine

namespace engine {
namespace {

// A packed size that is negative as a signed number or runs past the end: the entry fails (its data
// is cut short) and the walk ends there instead of going backwards or on into nothing.
TEST(BhExtract, OversizedSizesEndTheWalk)
{
    engine::test::SetUpEngineTests();
    RegisterUnBhClasses();
    const std::string dir = mx::test::FreshDir();
    std::string original;
    for (const std::string name : {"a.txt", "b.txt"}) {
        bh::Header h;
        h.name = name;
        h.headerSize = uint16_t(bh::kHeaderSize + name.size());
        h.packedSize = h.unpackedSize = 4;
        h.dosStamp = 0x58216000;
        h.crc = 0xFFFFFFFFu;
        mx::codec::UpdateCrc32(std::span(reinterpret_cast<const uint8_t*>("data"), 4), h.crc);
        const auto raw = h.Encode();
        original += std::string(reinterpret_cast<const char*>(raw.data()), raw.size()) + name + "data";
    }
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    TUnBH* u = fw::Make<TUnBH>(owner);
    for (const uint32_t packed : {0xFFFFFFF0u, 0x80000000u, uint32_t(original.size())}) {
        SCOPED_TRACE(packed);
        std::string a = original;
        test::PutLe32(a, 15, packed);
        mx::test::WriteFile(dir + "/big.bh", a);
        engine::test::ExtractRecorder rec;
        rec.Attach(*u);
        u->SetArchiveFile(mx::test::HostPath(dir + "/big.bh"));
        ASSERT_TRUE(u->Test());
        ASSERT_EQ(rec.ended.size(), 1u);
        EXPECT_FALSE(rec.ended[0].second);
    }
    owner->Free();
}

// Names that climb out of the extract folder write nothing outside it; the walk goes on.
TEST(BhExtract, HostileNames)
{
    engine::test::SetUpEngineTests();
    RegisterUnBhClasses();
    const std::string dir = mx::test::FreshDir();
    std::string archive;
    for (const std::string name : {"..\\..\\evil.txt", "\\abs.txt", "good.txt"}) {
        bh::Header h;
        h.name = name;
        h.headerSize = uint16_t(bh::kHeaderSize + name.size());
        h.packedSize = h.unpackedSize = 4;
        h.dosStamp = 0x58216000;
        uint32_t crc = 0xFFFFFFFFu;
        mx::codec::UpdateCrc32(std::span(reinterpret_cast<const uint8_t*>("data"), 4), crc);
        h.crc = crc;
        const auto raw = h.Encode();
        archive += std::string(reinterpret_cast<const char*>(raw.data()), raw.size()) + name + "data";
    }
    mx::test::WriteFile(dir + "/h.bh", archive);
    fw::TComponent* owner = fw::Make<fw::TComponent>(nullptr);
    TUnBH* u = fw::Make<TUnBH>(owner);
    engine::test::ExtractRecorder rec;
    rec.Attach(*u);
    u->SetArchiveFile(mx::test::HostPath(dir + "/h.bh"));
    u->SetExtractDir(mx::test::HostPath(dir + "/box/in"));
    ASSERT_TRUE(u->Extract());
    for (const auto& e : fs::recursive_directory_iterator(dir + "/box"))
        if (e.is_regular_file()) {
            EXPECT_EQ(e.path().parent_path(), fs::path(dir + "/box/in")) << e.path();
        }
    EXPECT_FALSE(fs::exists(dir + "/evil.txt"));
    EXPECT_TRUE(fs::exists(dir + "/box/in/good.txt"));
    EXPECT_GE(rec.Passed(), 1);
    owner->Free();
}

}  // namespace
}  // namespace engine
