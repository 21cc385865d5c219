// Test helper: a file system that passes every call to the installed one and fails chosen calls on
// purpose (a full disk, an unreadable source, a rename that is refused, a file Windows will not cut),
// installed for one scope.
#pragma once

#include <string>
#include <vector>

#include "framework/core/platform.h"

namespace engine::test {

class FaultFs final : public fw::FileSystem {
public:
    FaultFs() : base_(fw::Fs()) { fw::SetFileSystem(this); }
    ~FaultFs() override { fw::SetFileSystem(&base_); }

    // Writes fail once this many more bytes have been written (negative: never).
    int64_t writeBudget = -1;
    // Reads of a handle opened on a path containing this text fail (empty: never).
    std::string failReadsOf;
    // Renames onto a path containing this text fail (empty: never).
    std::string failMovesOnto;
    // Creating a file on a path containing this text fails, access denied (empty: never).
    std::string failCreatesOf;
    // Flushes fail.
    bool failFlush = false;
    // Creating over an existing read-only, hidden or system file is refused (access denied) as Windows
    // refuses it; Wine, and a privileged user anywhere, let it through.
    bool refuseMarkedTargets = false;

    fw::FileHandle Open(const std::string& path, fw::FileAccess access, fw::FileShare share, fw::FileCreate create,
                        int* error) override
    {
        if (create == fw::FileCreate::CreateAlways && Refused(path, error))
            return fw::kInvalidFile;
        const fw::FileHandle h = base_.Open(path, access, share, create, error);
        if (h != fw::kInvalidFile && !failReadsOf.empty() && path.find(failReadsOf) != std::string::npos)
            badReads_.push_back(h);
        return h;
    }
    fw::FileHandle CreateOutput(const std::string& path, fw::FileShare share, bool& existed, int* error) override
    {
        existed = false;
        if (Refused(path, error))
            return fw::kInvalidFile;
        return base_.CreateOutput(path, share, existed, error);
    }
    bool SetHandleAttributes(fw::FileHandle h, const std::string& path, uint32_t attr) override
    {
        return base_.SetHandleAttributes(h, path, attr);
    }
    void Close(fw::FileHandle h) override
    {
        std::erase(badReads_, h);
        base_.Close(h);
    }
    int64_t Read(fw::FileHandle h, void* buffer, int64_t count) override
    {
        for (fw::FileHandle b : badReads_)
            if (b == h)
                return -1;
        return base_.Read(h, buffer, count);
    }
    int64_t Write(fw::FileHandle h, const void* buffer, int64_t count) override
    {
        if (writeBudget >= 0) {
            if (count > writeBudget)
                count = writeBudget;
            writeBudget -= count;
            if (count == 0)
                return 0;
        }
        return base_.Write(h, buffer, count);
    }
    int64_t Seek(fw::FileHandle h, int64_t offset, fw::SeekOrigin origin) override { return base_.Seek(h, offset, origin); }
    bool SetSize(fw::FileHandle h, int64_t size) override { return base_.SetSize(h, size); }
    bool Flush(fw::FileHandle h) override { return !failFlush && base_.Flush(h); }
    bool GetHandleTime(fw::FileHandle h, int64_t& t) override { return base_.GetHandleTime(h, t); }
    bool SetHandleTime(fw::FileHandle h, int64_t t) override { return base_.SetHandleTime(h, t); }
    bool Stat(const std::string& path, fw::FileEntry& entry) override { return base_.Stat(path, entry); }
    bool SetAttributes(const std::string& path, uint32_t attr) override { return base_.SetAttributes(path, attr); }
    bool SetFileTime(const std::string& path, int64_t t) override { return base_.SetFileTime(path, t); }
    bool DeleteFile(const std::string& path) override { return base_.DeleteFile(path); }
    bool MoveFile(const std::string& from, const std::string& to, bool replace) override
    {
        if (!failMovesOnto.empty() && to.find(failMovesOnto) != std::string::npos)
            return false;
        return base_.MoveFile(from, to, replace);
    }
    bool CopyFile(const std::string& from, const std::string& to, bool failIfExists) override
    {
        return base_.CopyFile(from, to, failIfExists);
    }
    bool CreateDirectory(const std::string& path) override { return base_.CreateDirectory(path); }
    bool RemoveDirectory(const std::string& path) override { return base_.RemoveDirectory(path); }
    bool List(const std::string& folder, const std::string& mask, std::vector<fw::FileEntry>& out) override
    {
        return base_.List(folder, mask, out);
    }
    std::string GetCurrentDir() override { return base_.GetCurrentDir(); }
    bool SetCurrentDir(const std::string& path) override { return base_.SetCurrentDir(path); }
    std::string FullPathName(const std::string& path) override { return base_.FullPathName(path); }
    std::string TempFolder() override { return base_.TempFolder(); }
    std::string TempFileName(const std::string& folder, const std::string& prefix) override
    {
        return base_.TempFileName(folder, prefix);
    }
    int64_t FreeSpace(const std::string& path) override { return base_.FreeSpace(path); }
    int LastError() override { return base_.LastError(); }

private:
    // Whether creating Path is refused: it is named in failCreatesOf, or a marked file is in the way.
    bool Refused(const std::string& path, int* error)
    {
        bool refused = !failCreatesOf.empty() && path.find(failCreatesOf) != std::string::npos;
        fw::FileEntry entry;
        if (!refused && refuseMarkedTargets && base_.Stat(path, entry))
            refused = (entry.attr & (fw::faReadOnly | fw::faHidden | fw::faSysFile)) != 0;
        if (refused && error)
            *error = 5;
        return refused;
    }

    fw::FileSystem& base_;
    std::vector<fw::FileHandle> badReads_;
};

}  // namespace engine::test
