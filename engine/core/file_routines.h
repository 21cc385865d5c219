// The engine's routines that reach the system: files, folders, attributes, DOS times, temporary
// files, code pages, the clock, message pumping and the drive prompt. They go through the
// framework's seams (framework/core/platform.h) and the engine's drive seam below, so the same code
// runs natively in tests and on Windows.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "framework/core/platform.h"

namespace engine {

// DOS attribute bits.
inline constexpr uint32_t kAttrReadOnly = 0x01;
inline constexpr uint32_t kAttrHidden = 0x02;
inline constexpr uint32_t kAttrSysFile = 0x04;
inline constexpr uint32_t kAttrVolumeID = 0x08;
inline constexpr uint32_t kAttrDirectory = 0x10;
inline constexpr uint32_t kAttrArchive = 0x20;

// Whether a volume answers, and the prompt shown while it does not. Windows asks the volume and
// shows a Retry/Cancel box; natively every drive answers.
class DriveSeam {
public:
    virtual ~DriveSeam() = default;
    // True when the root "X:\" answers; otherwise ErrorText gets the system's explanation.
    virtual bool VolumeAnswers(const std::string& root, std::string& errorText) = 0;
    // Shows the prompt (error icon, Retry and Cancel) through the host; true for Retry.
    virtual bool PromptRetry(const std::string& text, const std::string& caption);
};
DriveSeam& Drives();
// Installs a drive seam (nullptr: the default, where every drive answers).
void SetDriveSeam(DriveSeam* seam);

// Lets the application process its pending messages.
void ProcessMessages();
// Milliseconds since an arbitrary start, wrapping at 32 bits like the system tick count.
uint32_t TickCount();
// The current time zone bias in minutes (UTC = local + bias), daylight time included.
int TimeZoneBiasNow();

// Code pages. The path forms also turn "/" into "\"; an empty text stays empty.
std::string OemToAnsi(const std::string& text);
std::string AnsiToOem(const std::string& text);
std::string OemToAnsiPath(const std::string& text);
std::string AnsiToOemPath(const std::string& text);
// A name stored in UTF-8 in the ANSI code page, "_" for each character the code page lacks.
std::string Utf8ToAnsiPath(const std::string& text);

// Unix seconds as a local date-time with the bias of now.
double UnixToDateTimeNow(int64_t seconds);

// True when Path names an existing file or folder. Wildcards are not expanded: a path holding "*" or
// "?" names nothing.
bool FileExistsFind(const std::string& path);
bool DirectoryExists(const std::string& path);
// The DOS attributes of Path, or -1 when it does not exist.
int64_t FileGetAttr(const std::string& path);
bool FileSetAttr(const std::string& path, uint32_t attr);
// True when the file exists and is none of read-only, hidden, system, volume label or folder.
bool IsPlainFile(const std::string& path);
// The file's last write time as a local DOS stamp, or -1.
int64_t FileAge(const std::string& path);
// Sets an open file's last write time from a local DOS stamp.
bool FileSetDate(fw::FileHandle handle, uint32_t dosTime);
// Creates Path and all missing parents.
bool ForceDirectories(const std::string& path);
std::string GetCurrentDir();
bool SetCurrentDir(const std::string& path);
// Path made absolute against the current folder.
std::string ExpandFileName(const std::string& path);

// The attribute-filter rule of folder searches: an entry with a hidden, system, volume or folder bit
// that the filter lacks is passed over; read-only and archive never exclude.
bool PassesAttrFilter(uint32_t attr, uint32_t filter);
// The entries of Folder matching Mask that pass Filter; "." and ".." never appear.
std::vector<fw::FileEntry> FindFiles(const std::string& folder, const std::string& mask, uint32_t filter);
// The entries of a folder's listing that FindFiles keeps for Filter.
std::vector<fw::FileEntry> PassingEntries(const std::vector<fw::FileEntry>& listed, uint32_t filter);

// True at once unless Path starts with a drive ("X:"). Otherwise asks the volume; while it does not
// answer, the prompt "X:\ is not accessible." with the system's explanation offers Retry and Cancel.
bool DriveReady(const std::string& path);

// Opens Path for reading (others may read and write it). kInvalidFile when the drive is not ready or
// the file cannot be opened.
fw::FileHandle OpenArchiveRead(const std::string& path);
// Creates Path for writing, making its folders; a read-only, hidden or system file in the way loses
// those attributes and the creation is tried once more (a file still not replaced gets them back).
// kInvalidFile on failure. Existed receives whether a file was there before.
fw::FileHandle CreateOutputFile(const std::string& path, bool* existed = nullptr);
// Gives an output file, still open, the DOS attributes Attr. A file this run created has the
// default ones already unless Attr holds read-only, hidden or system: it is left alone.
bool SetOutputAttributes(fw::FileHandle handle, const std::string& path, bool existed, uint32_t attr);
bool CloseFile(fw::FileHandle handle);

bool DeleteFile(const std::string& path);

// The system's temporary folder, ending in "\".
std::string GetTempDir();
// A new, empty, uniquely named file in the temporary folder ("qlv" for an empty Prefix). Raises
// EFOpenError with text 25235 when none can be made.
std::string TempFileName(const std::string& prefix);

}  // namespace engine
