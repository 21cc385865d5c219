// TKVXFileCtrl wraps one file: its attributes, 64-bit size, three time stamps as text, the shell's
// type name and icon, and the shell's copy, move, rename and delete with its progress and
// confirmation user interface (optionally through the recycle bin).
#pragma once

#include <cstdint>
#include <string>

#include "framework/core/rtti.h"
#include "widgets/kvxclass.h"

namespace fw {
class TIcon;
}

namespace kvx::win32 {

enum class TKVXFileCtrlAttribute {
    fcaArchive,
    fcaDirectory,
    fcaHidden,
    fcaNormal,
    fcaOffline,
    fcaReadonly,
    fcaSystem,
    fcaTemporary,
    fcaCompressed  // read only
};
using TKVXFileCtrlAttributes = fw::Set<TKVXFileCtrlAttribute>;

enum class TKVXFileOpFlag {
    ffFilesOnly,
    ffNoActionConfirm,
    ffNoMKDIRConfirm,
    ffRenameFileOnCollision,
    ffShowNoErrors,
    ffShowNoProgress,
    ffSimpleProgress,
    ffUseRecycleBin
};
using TKVXFileOpFlags = fw::Set<TKVXFileOpFlag>;

class TKVXFileCtrl : public TKVXComponent {
public:
    explicit TKVXFileCtrl(TComponent* owner) : TKVXComponent(owner) {}

    const std::string& FileName() const { return fileName_; }
    // Accepted only for an existing file, stored as its full path.
    void SetFileName(const std::string& value);
    // Empty for a missing file.
    TKVXFileCtrlAttributes Attributes() const;
    // Ignored when equal to the last value written here or when the file is missing.
    void SetAttributes(TKVXFileCtrlAttributes value);
    TKVXFileOpFlags Options{TKVXFileOpFlag::ffFilesOnly, TKVXFileOpFlag::ffUseRecycleBin};
    // The whole size (files of 4 GiB and more included); 0 when missing or not readable.
    int64_t FileSize() const;
    // Index 0 creation, 1 last access, 2 last write: local time by DateTimeToStr; "" when the file is
    // missing or cannot be opened. Writing parses with StrToDateTime (EConvertError for a non-date).
    std::string GetStamp(int index) const;
    void SetStamp(int index, const std::string& value);
    std::string FileCreateStamp() const { return GetStamp(0); }
    std::string FileAccessStamp() const { return GetStamp(1); }
    std::string FileWriteStamp() const { return GetStamp(2); }
    // The shell's type name, or ".EXT-Files" when it gives none.
    std::string FileType() const;
    void GetFileIcon(fw::TIcon* icon) const;

    // Through the shell; Source (and Target) may hold several NUL-separated names. False on failure.
    bool CopyFile(const std::string& source, const std::string& target);
    bool MoveFile(const std::string& source, const std::string& target);
    bool RenameFile(const std::string& source, const std::string& target);
    bool DeleteFile(const std::string& source);

    // The shell flags of a set of options.
    static unsigned ShellFlags(TKVXFileOpFlags options);

private:
    bool FileOperation(const std::string& source, const std::string& target, unsigned operation);
    bool Exists() const;

    std::string fileName_;
    TKVXFileCtrlAttributes lastAttributes_;
};

}  // namespace kvx::win32
