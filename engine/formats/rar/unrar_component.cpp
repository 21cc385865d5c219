#include "engine/formats/rar/unrar_component.h"

#include <cstring>
#include <vector>

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/core/wildcard.h"
#include "engine/formats/open/archive_detection.h"
#include "engine/formats/rar/unrar_binding.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

// The running extractor (one engine run at a time), its data mode (2 while an accepted entry is
// processed, 0 while one is skipped) and the last percentage raised.
TUnRAR* g_running = nullptr;
int g_dataMode = 0;
uint8_t g_lastPercent = 255;

bool IsRar(TArcType t) { return t == TArcType::atRar || t == TArcType::atRarExe; }

// Paths as the library opens them: our native library takes "/" separators.
std::string LibraryPath(const std::string& path)
{
#ifdef _WIN32
    return path;
#else
    return ToSlashes(path);
#endif
}

void CopyToBuffer(char* buffer, const std::string& text)
{
    const size_t n = std::min<size_t>(text.size(), kRarVolumeNameSize - 1);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

}  // namespace

int RarErrorToMessage(int code)
{
    switch (code) {
    case 10: return 25157;
    case 11: return 25253;
    case 12: return 25108;
    case 13:
    case 14: return 25242;
    case 15: return 25235;
    case 16:
    case 19: return 25136;
    case 17: return 25137;
    case 18: return 25236;
    case 21: return 25135;
    case 22: return 26517;
    default: return 0;
    }
}

// The callbacks the library calls during RARProcessFile and on volume changes. No exception may
// pass through the library's frames: one that a handler raises stops the library instead.
struct RarCallbacks {
    static int UNRAR_CALL Data(unsigned char* block, int size)
    {
        TUnRAR* self = g_running;
        if (!self || self->Aborted())
            return 0;
        try {
            self->BytesLeft -= size;
            RunContext& run = CurrentRun();
            if (g_dataMode == 2) {
                TZipCommon::UpdateProgress(self->EntrySize - self->BytesLeft, self->EntrySize);
                if (run.progressByte != g_lastPercent) {
                    g_lastPercent = run.progressByte;
                    if (run.progress)
                        run.progress(run.progressByte);
                }
            }
            if (run.outputMode != OutputMode::Files && run.sink) {
                int64_t count = size;
                run.sink->Write(block, count);
            }
            return self->Aborted() ? 0 : 1;
        } catch (...) {
            return 0;
        }
    }

    static int UNRAR_CALL Volume(char* name, int mode)
    {
        TUnRAR* self = g_running;
        if (!self)
            return 0;
        try {
            const std::string number = std::to_string(self->Volumes.VolumeNumber);
            // The library offers the name it expects, in the set's own naming style.
            self->CurrentVolume = ToBackslashes(name);
            if (ExtractFilePath(self->CurrentVolume).empty())
                self->CurrentVolume = AppendBackslash(GetCurrentDir()) + self->CurrentVolume;
            if (mode == RAR_VOL_ASK) {
                std::string found = self->CurrentVolume;
                if (!self->FindVolume(found, number))
                    return 0;
                self->CurrentVolume = found;
                CopyToBuffer(name, LibraryPath(found));
                return 1;
            }
            bool cancel = false;
            std::string dir = ExtractFilePath(self->CurrentVolume);
            std::string fn = ExtractFileName(self->CurrentVolume);
            if (self->OnNextVolume)
                self->OnNextVolume(self, dir, fn, number, true, cancel);
            TZipCommon::SplitVolumePath(dir, fn, GetCurrentDir());
            self->CurrentVolume = AppendBackslash(dir) + fn;
            CopyToBuffer(name, LibraryPath(self->CurrentVolume));
            ++self->Volumes.VolumeNumber;
            return cancel ? 0 : 1;
        } catch (...) {
            return 0;
        }
    }
};

TUnRAR::TUnRAR(fw::TComponent* owner) : TUnBase(owner) {}

void TUnRAR::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

void TUnRAR::ProcessArchive()
{
    if (!UnRARLoaded())
        RaiseError(ArchiveFile(), "", "0", 25258);
    CurrentVolume = ArchiveFile();
    ParseVolumeExt(ArchiveFile());
    const std::string remembered = ArchiveFile();
    const bool moved = !HasWildcards(FileSpec()) && !VolumeID.empty();
    struct Restore {
        TUnRAR& self;
        bool moved;
        const std::string& value;
        ~Restore()
        {
            if (moved)
                self.archiveFile_ = value;  // given back directly: no type detection
        }
    } restore{*this, moved, remembered};
    if (moved)
        SetArchiveFile(AppendBackslash(ExtractFilePath(ArchiveFile())) + VolumeID);

    const std::string volumeNumber = std::to_string(Volumes.VolumeNumber);
    if (ArchiveFile().empty())
        RaiseError(CurrentVolume, "", volumeNumber, 25243);
    if (!IsRar(ArcType())) {
        // A missing volume is asked for; a file that is there but holds no RAR archive is refused
        // at once (asking again for a file that exists would never end).
        if (ArcType() != TArcType::atFileOpenErr)
            RaiseError(ArchiveFile(), "", "0", 25242);
        std::string found = CurrentVolume;
        if (!FindVolume(found, volumeNumber))
            return;
        SetArchiveFile(found);
        if (!IsRar(ArcType()))
            RaiseError(ArchiveFile(), "", "0", 25242);
        CurrentVolume = found;
    }
    ProcessHeaders(CurrentVolume, CurrentRun().outputMode == OutputMode::Files ? RAR_EXTRACT : RAR_TEST);
}

void TUnRAR::ProcessHeaders(const std::string& name, int operation)
{
    const UnRARFunctions& lib = UnRAR();
    FileCount = 0;
    if (OnActivate)
        OnActivate(this);
    std::vector<char> comment(16384);
    std::string arcName = LibraryPath(name);
    RAROpenArchiveData open{};
    open.ArcName = arcName.data();
    open.OpenMode = RAR_OM_EXTRACT;
    open.CmtBuf = comment.data();
    open.CmtBufSize = unsigned(comment.size());
    void* handle = lib.OpenArchive(&open);
    g_running = this;
    struct Finally {
        TUnRAR& self;
        void* handle;
        const UnRARFunctions& lib;
        ~Finally()
        {
            self.StopStopwatch();
            lib.CloseArchive(handle);
            g_running = nullptr;
            if (self.OnDeactivate)
                self.OnDeactivate(&self);
        }
    } done{*this, handle, lib};
    if (open.OpenResult != ERAR_SUCCESS || !handle)
        RaiseError(name, "", "0", RarErrorToMessage(open.OpenResult ? int(open.OpenResult) : ERAR_EOPEN));

    lib.SetProcessDataProc(handle, &RarCallbacks::Data);
    lib.SetChangeVolProc(handle, &RarCallbacks::Volume);
    Cancel(this, false);
    const bool moreEntries = HasWildcards(FileSpec());
    StartStopwatch();
    password_.clear();
    const bool files = CurrentRun().outputMode == OutputMode::Files;

    RARHeaderData header{};
    int readResult = ReadFirstHeader(handle, header, name);
    for (; !Aborted() && readResult == ERAR_SUCCESS;
         readResult = Aborted() ? readResult : lib.ReadHeader(handle, &header)) {
        std::string stored(header.FileName, strnlen(header.FileName, sizeof header.FileName));
        const std::string entryName = OemToAnsiPath(stored);
        BytesLeft = int64_t(header.UnpSize);
        g_lastPercent = 255;
        const auto skip = [&] {
            g_dataMode = 0;
            return lib.ProcessFile(handle, RAR_SKIP, nullptr, nullptr);
        };
        if ((header.FileAttr & 0x10) || !WildcardMatch(entryName, FileSpec(), false)) {
            if (skip() == ERAR_EOPEN)
                break;
            continue;
        }
        if (!BuildFileName(stored)) {
            ReportError(entryName, "", "0", 25243);  // a name that would leave the extract folder
            if (skip() == ERAR_EOPEN)
                break;
            continue;
        }
        bool accept = true;
        if (files) {
            if (OnFileExists && FileExistsFind(FileName))
                OnFileExists(this, FileName, DosDateToDateTime(header.FileTime), accept);
            const std::string folder = ExtractFilePath(FileName);
            if (!folder.empty() && !DirectoryExists(folder))
                ForceDirectories(folder);
        }
        const std::string shown = files ? FileName : entryName;
        if (accept) {
            ++FileCount;
            if (OnBegin)
                OnBegin(this, shown, FileCount, accept);
            if (!accept)
                --FileCount;
        }
        const bool encrypted = (header.Flags & 0x04) != 0;
        int result = ERAR_SUCCESS;
        int failures = 0;
        bool endLoop = false;
        if (accept) {
            EntrySize = int64_t(header.UnpSize);
            std::string destPath = LibraryPath(ExtractFilePath(FileName));
            std::string destName = LibraryPath(FileName);
            for (;;) {
                if (encrypted) {
                    if (password_.empty() && OnGetPassword) {
                        bool tryAgain = true;
                        OnGetPassword(this, FileName, password_, tryAgain);
                        accept = tryAgain;
                    }
                    if (password_.empty() || !accept) {
                        accept = false;
                        endLoop = true;
                        break;
                    }
                    lib.SetPassword(handle, password_.data());
                }
                g_dataMode = 2;
                result = lib.ProcessFile(handle, operation, destPath.data(), destName.data());
                if (encrypted && result == ERAR_BAD_DATA) {
                    ReportError(FileName, "", "0", 26517);
                    if (++failures < 3) {
                        password_.clear();
                        continue;
                    }
                }
                break;
            }
        }
        if (accept) {
            const bool crcFailed = result == ERAR_BAD_DATA;
            if (result != ERAR_SUCCESS && !crcFailed) {
                // The library's failure ends the walk; a stop asked for by the user is not reported.
                if (!Aborted())
                    ReportError(FileName, "", "0", RarErrorToMessage(result));
                break;
            }
            // A CRC error (or the third wrong password) fails this entry; the walk goes on.
            if (OnEnd)
                OnEnd(this, shown, !crcFailed);
            else if (crcFailed)
                ReportError(FileName, "", "0", 25151);
            if (failures >= 3 || !moreEntries)
                break;
            continue;
        }
        if (endLoop || !moreEntries)
            break;
        if (skip() == ERAR_EOPEN)
            break;
    }
    if (readResult == ERAR_BAD_DATA)
        RaiseError(FileName, "", "0", 25108);
}

// Archives with encrypted headers answer the first header read with "missing password": the
// password is asked for as for an encrypted entry (with the archive's name), and a wrong one (the
// header then fails its check) is reported and asked for again, three times at most.
int TUnRAR::ReadFirstHeader(void* handle, RARHeaderData& header, const std::string& name)
{
    const UnRARFunctions& lib = UnRAR();
    int result = lib.ReadHeader(handle, &header);
    for (int failures = 0; result == ERAR_MISSING_PASSWORD || (result == ERAR_BAD_DATA && !password_.empty());) {
        if (result == ERAR_BAD_DATA) {
            ReportError(name, "", "0", 26517);
            if (++failures >= 3)
                return ERAR_END_ARCHIVE;
            password_.clear();
        }
        bool tryAgain = true;
        if (OnGetPassword)
            OnGetPassword(this, name, password_, tryAgain);
        if (password_.empty() || !tryAgain)
            return result == ERAR_BAD_DATA ? ERAR_END_ARCHIVE : result;
        lib.SetPassword(handle, password_.data());
        result = lib.ReadHeader(handle, &header);
    }
    return result;
}

void RegisterUnRARClasses()
{
    RegisterClasses();
    fw::Class<TUnRAR, TUnBase>("TUnRAR").Prop("Password", &TUnRAR::Password, &TUnRAR::SetPassword);
}

}  // namespace engine
