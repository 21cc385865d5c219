// Test fixture of the RAR extractor's tests: a TUnRAR bound to our library, its events recorded,
// and helpers to write archives and compare extracted trees.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/core/file_routines.h"
#include "engine/formats/rar/testdata/rar_writer.h"
#include "engine/formats/rar/unrar_binding.h"
#include "engine/formats/rar/unrar_component.h"
#include "framework/core/rtti.h"
#include "testing/test_env.h"
#include "testing/unix_script.h"

namespace engine::test {

namespace fs = std::filesystem;

inline std::string Bytes(size_t n, uint32_t seed)
{
    std::string s;
    for (size_t i = 0; i < n; ++i) {
        seed = seed * 1103515245u + 12345u;
        s += char(seed >> 24);
    }
    return s;
}

// Size and CRC of some bytes, which keeps failure messages short.
inline std::string Digest(const std::string& bytes)
{
    return std::to_string(bytes.size()) + ":" +
           std::to_string(mx::codec::Crc32(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size())));
}

// The digest of a file, read in blocks (extracted files reach hundreds of megabytes). Opened by its
// path object: under Windows a name beyond the ANSI code page has no narrow form.
inline std::string FileDigest(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return "unreadable";
    std::vector<char> block(1 << 20);
    mx::codec::Crc32Register crc;
    uint64_t size = 0;
    while (in.read(block.data(), std::streamsize(block.size())) || in.gcount() > 0) {
        const size_t n = size_t(in.gcount());
        crc.Update(std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(block.data()), n));
        size += n;
    }
    return std::to_string(size) + ":" + std::to_string(crc.Value());
}

inline std::map<std::string, std::string> Tree(const std::string& root)
{
    std::map<std::string, std::string> out;
    if (!fs::exists(root))
        return out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file() && !e.is_symlink())
            out[fs::relative(e.path(), root).generic_string()] = FileDigest(e.path());
    return out;
}

// The case folder as the Unix tools see it (the same folder as FreshDir gives this process).
inline std::string UnixCaseDir(const std::string& dir)
{
#ifdef _WIN32
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    return std::string(std::getenv("MX_TEST_TMP")) + "/" + info->test_suite_name() + "." + info->name();
#else
    return dir;
#endif
}

// Runs a shell script in the case folder; under Wine as a Unix process. Its exit code.
inline int RunUnix(const std::string& dir, const std::string& script)
{
    const std::string unixDir = UnixCaseDir(dir);
#ifdef _WIN32
    return mx::test::RunUnixScript(unixDir, dir, "cd '" + unixDir + "' && " + script);
#else
    return std::system(("cd '" + unixDir + "' && (" + script + ") >/dev/null 2>&1").c_str()) == 0 ? 0 : 1;
#endif
}

// Extracts every entry through the library's entry points, as an application of the library would;
// the result of each entry.
inline std::vector<int> ExtractWithLibrary(std::string archive, const std::string& outDir)
{
    const UnRARFunctions& lib = UnRAR();
    std::vector<int> results;
    RAROpenArchiveData open{};
    open.ArcName = archive.data();
    open.OpenMode = RAR_OM_EXTRACT;
    void* handle = lib.OpenArchive(&open);
    if (!handle)
        return {int(open.OpenResult)};
    RARHeaderData header{};
    while (lib.ReadHeader(handle, &header) == ERAR_SUCCESS) {
        std::string name = header.FileName;
        std::replace(name.begin(), name.end(), '\\', '/');
        const fs::path dest = fs::path(outDir) / name;
        fs::create_directories(dest.parent_path());
        std::string destName = dest.string();
        results.push_back(lib.ProcessFile(handle, RAR_EXTRACT, nullptr, destName.data()));
    }
    lib.CloseArchive(handle);
    return results;
}

// Removes a folder of extracted files, some of which carry the read-only attribute they had in the
// archive.
inline void RemoveTree(const std::string& dir)
{
    std::error_code ec;
    if (!fs::exists(dir, ec))
        return;
    for (const auto& e : fs::recursive_directory_iterator(dir, ec))
        fs::permissions(e.path(), fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove_all(dir, ec);
}

// By name, as the engine binds it at start: under Wine our unrar.dll sits beside the test program,
// as a user's copy sits beside the application.
inline void BindOurLibrary() { BindUnRAR("UnRAR"); }

class UnRarTest : public ::testing::Test {
public:
    void SetUp() override
    {
        RegisterUnRARClasses();
        BindOurLibrary();
        dir_ = mx::test::FreshDir();
        owner_ = fw::Make<fw::TComponent>(nullptr);
        rar_ = fw::Make<TUnRAR>(owner_);
        rar_->OnBegin.Bind(this, &UnRarTest::Begin);
        rar_->OnEnd.Bind(this, &UnRarTest::End);
        rar_->OnError.Bind(this, &UnRarTest::Error);
        rar_->OnNextVolume.Bind(this, &UnRarTest::NextVolume);
        rar_->OnProgress.Bind(this, &UnRarTest::Progress);
    }
    void TearDown() override { owner_->Free(); }

    void Begin(fw::TObject*, const std::string& fn, int, bool&) { events_.push_back("begin " + Name(fn)); }
    void End(fw::TObject*, const std::string& fn, bool pass) { events_.push_back((pass ? "pass " : "FAIL ") + Name(fn)); }
    void Error(fw::TObject*, const std::string&, const std::string&, const std::string&, int code)
    {
        errors_.push_back(code);
    }
    void NextVolume(fw::TObject*, std::string& dir, std::string& fn, const std::string&, bool exists, bool& cancel)
    {
        events_.push_back(std::string(exists ? "volume " : "missing ") + Name(fn));
        // A handler that keeps answering a volume that is not there is asked again: give up after
        // a few rounds rather than hang the test.
        cancel = !exists && (refuseVolumes_ || ++asked_ > 20);
        if (!exists && !volumeFolder_.empty())
            dir = volumeFolder_;
    }
    void Progress(fw::TObject*, uint8_t percent) { lastProgress_ = percent; }
    static std::string Name(const std::string& path) { return path.substr(path.find_last_of("\\/") + 1); }

    std::string Write(const std::string& base, const std::vector<RarTestEntry>& entries, size_t volumeData = 0,
                      bool newNumbering = false)
    {
        const auto volumes = RarTestWriter::Make(dir_ + "/" + base, entries, volumeData, newNumbering);
        for (const auto& [name, bytes] : volumes)
            mx::test::WriteFile(name, bytes);
        return volumes.front().first;
    }
    bool Run(const std::string& archive, bool test = false)
    {
        rar_->SetArchiveFile(archive);
        rar_->SetExtractDir(dir_ + "/out");
        asked_ = 0;
        return test ? rar_->Test() : rar_->Extract();
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TUnRAR* rar_ = nullptr;
    std::vector<std::string> events_;
    std::vector<int> errors_;
    bool refuseVolumes_ = false;
    std::string volumeFolder_;  // the answer to a question for a missing volume
    int asked_ = 0;
    uint8_t lastProgress_ = 0;
};

}  // namespace engine::test
