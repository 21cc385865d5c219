// Shared pieces of the install library's native tests: a fixture that resets the library's globals and
// the native seams, and helpers for files and the independent Python checks.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "installer/install_root.h"
#include "installer/system.h"

namespace inst::test {

// Every test starts with an empty registry, a fresh scripted system (its Windows folder in the
// test's own folder), no install component, no record and a free id table.
class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string dir;  // the test's fresh folder, with a trailing separator
    NativeSystem& sys();
};

// An install definition in the test's folder, which is also the current folder (entries are named by
// short relative source paths): the install component "Install1" of "Morvix Zip", its archive in
// build\, its destination target\.
class DefinitionTest : public InstallerTest {
protected:
    void SetUp() override;
    void TearDown() override;
    // Writes src\name and adds it to `to` as a file named after it ("a.txt" -> "a_txt").
    TInstallFile* AddFile(TInstallContainer* to, const std::string& name, const std::string& bytes);

    TInstallDefinition* def = nullptr;
    TInstallRoot* root = nullptr;

private:
    std::string saved_;
};

std::string Slurp(const std::string& path);
void Spit(const std::string& path, const std::string& bytes);
// A reproducible byte pattern: text-like when `text`, else noise that does not compress.
std::string Pattern(size_t size, unsigned seed, bool text);
// Runs /usr/bin/python3 with the arguments (shell-quoted here); returns the exit code, output in `out`.
int Python(const std::string& args, std::string* out = nullptr);
// The installer's test data folder (installer/testkit).
std::string TestData();

}  // namespace inst::test

#include <set>

#include "framework/core/platform.h"
#include "framework/core/streams.h"

namespace inst::test {

// The native file system with staged failures: files that cannot be deleted (in use) or opened.
class StagedFileSystem : public fw::FileSystem {
public:
    StagedFileSystem();
    ~StagedFileSystem() override;
    std::set<std::string> undeletable;  // compared ignoring "\" and "/" differences
    std::set<std::string> unopenable;

    fw::FileHandle Open(const std::string& path, fw::FileAccess access, fw::FileShare share, fw::FileCreate create,
                        int* error) override;
    void Close(fw::FileHandle h) override { base_.Close(h); }
    int64_t Read(fw::FileHandle h, void* b, int64_t n) override { return base_.Read(h, b, n); }
    int64_t Write(fw::FileHandle h, const void* b, int64_t n) override { return base_.Write(h, b, n); }
    int64_t Seek(fw::FileHandle h, int64_t o, fw::SeekOrigin s) override { return base_.Seek(h, o, s); }
    bool SetSize(fw::FileHandle h, int64_t size) override { return base_.SetSize(h, size); }
    bool Flush(fw::FileHandle h) override { return base_.Flush(h); }
    bool GetHandleTime(fw::FileHandle h, int64_t& t) override { return base_.GetHandleTime(h, t); }
    bool SetHandleTime(fw::FileHandle h, int64_t t) override { return base_.SetHandleTime(h, t); }
    bool Stat(const std::string& path, fw::FileEntry& e) override { return base_.Stat(path, e); }
    bool SetAttributes(const std::string& path, uint32_t a) override { return base_.SetAttributes(path, a); }
    bool SetFileTime(const std::string& path, int64_t t) override { return base_.SetFileTime(path, t); }
    bool DeleteFile(const std::string& path) override;
    bool MoveFile(const std::string& from, const std::string& to, bool replace) override;
    bool CopyFile(const std::string& from, const std::string& to, bool f) override { return base_.CopyFile(from, to, f); }
    bool CreateDirectory(const std::string& path) override { return base_.CreateDirectory(path); }
    bool RemoveDirectory(const std::string& path) override { return base_.RemoveDirectory(path); }
    bool List(const std::string& folder, const std::string& mask, std::vector<fw::FileEntry>& out) override {
        return base_.List(folder, mask, out);
    }
    std::string GetCurrentDir() override { return base_.GetCurrentDir(); }
    bool SetCurrentDir(const std::string& path) override { return base_.SetCurrentDir(path); }
    std::string FullPathName(const std::string& path) override { return base_.FullPathName(path); }
    std::string TempFolder() override { return base_.TempFolder(); }
    std::string TempFileName(const std::string& folder, const std::string& prefix) override {
        return base_.TempFileName(folder, prefix);
    }
    int64_t FreeSpace(const std::string& path) override { return base_.FreeSpace(path); }
    int LastError() override { return lastError_ ? lastError_ : base_.LastError(); }

private:
    bool Listed(const std::set<std::string>& set, const std::string& path) const;
    fw::FileSystem& base_;
    int lastError_ = 0;
};

// A file stream that takes at most `room` bytes in all (a small disk; -1: no limit), or hands out one
// byte per read.
class StagedStream : public fw::TStream {
public:
    StagedStream(const std::string& path, uint32_t mode, int64_t room, bool trickle)
        : file_(path, mode), room_(room), trickle_(trickle) {}
    int64_t Read(void* buffer, int64_t count) override;
    int64_t Write(const void* buffer, int64_t count) override;
    int64_t Seek(int64_t offset, int origin) override { return file_.Seek(offset, origin); }
    void SetSize(int64_t size) override { file_.SetSize(size); }

private:
    fw::TFileStream file_;
    int64_t room_;
    bool trickle_;
};

}  // namespace inst::test
