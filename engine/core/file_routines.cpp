#include "engine/core/file_routines.h"

#include "engine/core/messages.h"
#include "engine/core/routines.h"
#include "framework/core/exceptions.h"

namespace engine {

namespace {

// Win32 message-box values.
constexpr uint32_t kMbRetryCancel = 0x05;
constexpr uint32_t kMbIconError = 0x10;
constexpr int kIdRetry = 4;

class AlwaysReady : public DriveSeam {
public:
    bool VolumeAnswers(const std::string&, std::string&) override { return true; }
};

DriveSeam* g_drives = nullptr;

bool IsDriveLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

}  // namespace

bool DriveSeam::PromptRetry(const std::string& text, const std::string& caption)
{
    return fw::HostSeam().MessageBox(text, caption, kMbRetryCancel | kMbIconError) == kIdRetry;
}

DriveSeam& Drives()
{
    static AlwaysReady fallback;
    return g_drives ? *g_drives : fallback;
}

void SetDriveSeam(DriveSeam* seam) { g_drives = seam; }

void ProcessMessages() { fw::HostSeam().PumpMessages(); }

uint32_t TickCount() { return static_cast<uint32_t>(fw::Clk().TickCount()); }

int TimeZoneBiasNow()
{
    const fw::SystemTime now = fw::Clk().UtcNow();
    return fw::Clk().BiasMinutes(fw::SystemTimeToFileTime(now));
}

std::string OemToAnsi(const std::string& text)
{
    if (text.empty())
        return text;
    return fw::Cp().OemToAnsi(text);
}

std::string AnsiToOem(const std::string& text)
{
    if (text.empty())
        return text;
    return fw::Cp().AnsiToOem(text);
}
std::string OemToAnsiPath(const std::string& text) { return ToBackslashes(OemToAnsi(text)); }
std::string AnsiToOemPath(const std::string& text) { return ToBackslashes(AnsiToOem(text)); }
std::string Utf8ToAnsiPath(const std::string& text) { return ToBackslashes(text.empty() ? text : fw::Cp().Utf8ToAnsi(text)); }

double UnixToDateTimeNow(int64_t seconds) { return UnixToDateTime(seconds, TimeZoneBiasNow()); }

bool FileExistsFind(const std::string& path)
{
    if (path.empty() || HasWildcards(path))
        return false;
    fw::FileEntry e;
    return fw::Fs().Stat(path, e);
}

bool DirectoryExists(const std::string& path)
{
    if (path.empty() || HasWildcards(path))
        return false;
    fw::FileEntry e;
    return fw::Fs().Stat(path, e) && (e.attr & kAttrDirectory) != 0;
}

int64_t FileGetAttr(const std::string& path)
{
    fw::FileEntry e;
    if (path.empty() || HasWildcards(path) || !fw::Fs().Stat(path, e))
        return -1;
    return e.attr & 0x3F;
}

bool FileSetAttr(const std::string& path, uint32_t attr) { return fw::Fs().SetAttributes(path, attr); }

bool IsPlainFile(const std::string& path)
{
    const int64_t attr = FileGetAttr(path);
    if (attr < 0)
        return false;
    return (attr & (kAttrReadOnly | kAttrHidden | kAttrSysFile | kAttrVolumeID | kAttrDirectory)) == 0;
}

int64_t FileAge(const std::string& path)
{
    fw::FileEntry e;
    if (path.empty() || HasWildcards(path) || !fw::Fs().Stat(path, e) || (e.attr & kAttrDirectory))
        return -1;
    return e.dosTime;
}

bool FileSetDate(fw::FileHandle handle, uint32_t dosTime)
{
    if (handle == fw::kInvalidFile)
        return false;
    return fw::Fs().SetHandleTime(handle, fw::DosTimeToFileTime(dosTime));
}

bool ForceDirectories(const std::string& path)
{
    std::string p = ToBackslashes(path);
    while (p.size() > 1 && p.back() == '\\')
        p.pop_back();
    if (p.empty())
        return false;
    if (DirectoryExists(p) || (p.size() == 2 && p[1] == ':'))
        return true;
    const std::string parent = ExtractFilePath(p);
    if (!parent.empty() && parent != p && !ForceDirectories(parent))
        return false;
    return fw::Fs().CreateDirectory(p) || DirectoryExists(p);
}

std::string GetCurrentDir() { return fw::Fs().GetCurrentDir(); }
bool SetCurrentDir(const std::string& path) { return fw::Fs().SetCurrentDir(path); }
std::string ExpandFileName(const std::string& path) { return fw::Fs().FullPathName(path); }

bool PassesAttrFilter(uint32_t attr, uint32_t filter)
{
    const uint32_t excluding = kAttrHidden | kAttrSysFile | kAttrVolumeID | kAttrDirectory;
    return (attr & excluding & ~filter) == 0;
}

std::vector<fw::FileEntry> PassingEntries(const std::vector<fw::FileEntry>& listed, uint32_t filter)
{
    std::vector<fw::FileEntry> out;
    for (const auto& e : listed) {
        if (e.name == "." || e.name == "..")
            continue;
        if (PassesAttrFilter(e.attr, filter))
            out.push_back(e);
    }
    return out;
}

std::vector<fw::FileEntry> FindFiles(const std::string& folder, const std::string& mask, uint32_t filter)
{
    std::vector<fw::FileEntry> all;
    if (!fw::Fs().List(folder, mask, all))
        return {};
    return PassingEntries(all, filter);
}

bool DriveReady(const std::string& path)
{
    if (path.size() <= 2 || path[1] != ':' || !IsDriveLetter(path[0]))
        return true;
    const char letter = UpperCase(std::string(1, path[0]))[0];
    const std::string root = std::string(1, letter) + ":\\";
    for (;;) {
        std::string why;
        if (Drives().VolumeAnswers(root, why))
            return true;
        const std::string text = root + " " + std::string(MessageText(msgNotAccessible)) + "\r\n\r\n" + why;
        if (!Drives().PromptRetry(text, fw::HostSeam().Title()))
            return false;
    }
}

fw::FileHandle OpenArchiveRead(const std::string& path)
{
    if (path.empty() || !DriveReady(path))
        return fw::kInvalidFile;
    return fw::Fs().Open(path, fw::FileAccess::Read, fw::FileShare::DenyNone, fw::FileCreate::OpenExisting);
}

fw::FileHandle CreateOutputFile(const std::string& path, bool* existed)
{
    if (path.empty() || !DriveReady(path))
        return fw::kInvalidFile;
    // The file is asked for first: in the common case (a new file in a folder that exists) that is
    // the only request. A missing folder is made, with its parents, and the file asked for again.
    bool was = false;
    int error = 0;
    const auto create = [&] { return fw::Fs().CreateOutput(path, fw::FileShare::DenyWrite, was, &error); };
    fw::FileHandle h = create();
    if (h == fw::kInvalidFile && error == 3) {
        const std::string folder = ExtractFilePath(path);
        if (!folder.empty() && ForceDirectories(folder))
            h = create();
    }
    // A read-only, hidden or system file in the way loses those attributes. Windows refuses to cut
    // such a file (a hidden or system one unless asked for the same attributes), and the creation is
    // tried once more; Wine and a privileged user cut it without complaint. Both end the same way, and
    // a file that still cannot be replaced gets its attributes back.
    constexpr uint32_t kGuarded = kAttrReadOnly | kAttrHidden | kAttrSysFile;
    if (h == fw::kInvalidFile || was) {
        const int64_t attr = FileGetAttr(path);
        if (attr >= 0 && (attr & kGuarded) && !(attr & kAttrDirectory) &&
            FileSetAttr(path, uint32_t(attr) & ~kGuarded) && h == fw::kInvalidFile) {
            h = create();
            if (h == fw::kInvalidFile)
                FileSetAttr(path, uint32_t(attr));
        }
    }
    if (existed)
        *existed = was;
    return h;
}

bool SetOutputAttributes(fw::FileHandle handle, const std::string& path, bool existed, uint32_t attr)
{
    if (handle == fw::kInvalidFile)
        return false;
    if (!existed && (attr & (kAttrReadOnly | kAttrHidden | kAttrSysFile)) == 0)
        return true;
    return fw::Fs().SetHandleAttributes(handle, path, attr);
}

bool CloseFile(fw::FileHandle handle)
{
    if (handle == fw::kInvalidFile)
        return false;
    fw::Fs().Close(handle);
    return true;
}

bool DeleteFile(const std::string& path) { return !path.empty() && fw::Fs().DeleteFile(path); }

std::string GetTempDir() { return AppendBackslash(ToBackslashes(fw::Fs().TempFolder())); }

std::string TempFileName(const std::string& prefix)
{
    const std::string name = fw::Fs().TempFileName(GetTempDir(), prefix.empty() ? "qlv" : prefix);
    if (name.empty())
        throw fw::EFOpenError(std::string(MessageText(msgErrorOpening)));
    return name;
}

}  // namespace engine
