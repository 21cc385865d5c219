// Test fixture of the RAR extractor's tests: a TUnRAR bound to our library, its events recorded,
// and helpers to write archives and compare extracted trees.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
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

// The digest of a file, read in blocks (extracted files reach hundreds of megabytes).
inline std::string FileDigest(const std::string& path)
{
    std::FILE* f = std::fopen(path.c_str(), "rb");
    if (!f)
        return "unreadable";
    std::vector<uint8_t> block(1 << 20);
    mx::codec::Crc32Register crc;
    uint64_t size = 0;
    for (size_t n; (n = std::fread(block.data(), 1, block.size(), f)) > 0; size += n)
        crc.Update(std::span<const uint8_t>(block.data(), n));
    std::fclose(f);
    return std::to_string(size) + ":" + std::to_string(crc.Value());
}

inline std::map<std::string, std::string> Tree(const std::string& root)
{
    std::map<std::string, std::string> out;
    if (!fs::exists(root))
        return out;
    for (const auto& e : fs::recursive_directory_iterator(root))
        if (e.is_regular_file() && !e.is_symlink())
            out[fs::relative(e.path(), root).generic_string()] = FileDigest(e.path().string());
    return out;
}

inline void BindOurLibrary()
{
#ifdef _WIN32
    BindUnRAR(mx::test::HostPath(mx::test::BuildDir() + "/bin/unrar.dll"));
#else
    BindUnRAR("UnRAR");
#endif
}

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
    void NextVolume(fw::TObject*, std::string&, std::string& fn, const std::string&, bool exists, bool& cancel)
    {
        events_.push_back(std::string(exists ? "volume " : "missing ") + Name(fn));
        cancel = refuseVolumes_ && !exists;
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
        return test ? rar_->Test() : rar_->Extract();
    }

    std::string dir_;
    fw::TComponent* owner_ = nullptr;
    TUnRAR* rar_ = nullptr;
    std::vector<std::string> events_;
    std::vector<int> errors_;
    bool refuseVolumes_ = false;
    uint8_t lastProgress_ = 0;
};

}  // namespace engine::test
