#include "engine/formats/cab/uncab_component.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/formats/open/archive_detection.h"
#include "framework/core/rtti.h"

#ifdef _WIN32
#include <windows.h>
#endif

namespace engine {

namespace {

constexpr unsigned kAttrNameIsUtf = 0x80;

// The run's state (one engine run at a time): the component serving the library, the first
// cabinet that the current FDICopy opened, the entry being written and the copy decisions.
struct CabStruct {
    std::string nextCabinet, nextDisk, cabinetPath;
    int setID = 0, iCabinet = 0;
    bool firstCabinet = false;
};
TUnCAB* g_serving = nullptr;
CabStruct g_cab;
int64_t g_fileSize = 0;
bool g_moreEntries = false;
int g_lastStatus = 0;  // 1 skip, 2 write

void CopyOut(char* buffer, const std::string& text)
{
    const size_t n = std::min<size_t>(text.size(), 255);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

std::string Utf8ToAnsi(const std::string& text)
{
#ifdef _WIN32
    const int wide = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring w(size_t(wide), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), w.data(), wide);
    const int n = WideCharToMultiByte(CP_ACP, 0, w.data(), wide, nullptr, 0, nullptr, nullptr);
    std::string out(size_t(n), '\0');
    WideCharToMultiByte(CP_ACP, 0, w.data(), wide, out.data(), n, nullptr, nullptr);
    return out;
#else
    // The native code page is Latin: code points below 256 map to themselves.
    std::string out;
    for (size_t i = 0; i < text.size();) {
        const uint8_t c = uint8_t(text[i]);
        const int len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
        uint32_t cp = len == 1 ? c : c & (0x7F >> len);
        for (int k = 1; k < len && i + size_t(k) < text.size(); ++k)
            cp = cp << 6 | (uint8_t(text[i + size_t(k)]) & 0x3F);
        out += cp < 256 ? char(cp) : '?';
        i += size_t(len);
    }
    return out;
#endif
}

template <class R, class F>
R Guarded(R onFailure, F&& body)
{
    try {
        return body();
    } catch (...) {
        if (g_serving)
            g_serving->KeepException(std::current_exception());
        return onFailure;
    }
}

}  // namespace

std::string CabEntryName(const char* name, unsigned attribs)
{
    const std::string raw = name ? name : "";
    return (attribs & kAttrNameIsUtf) ? AnsiToOem(Utf8ToAnsi(raw)) : raw;
}

TUnCABInterface::TUnCABInterface(fw::TComponent* owner) : TUnBase(owner)
{
    FileHandler = fw::Make<TStreamCabinetFileHandler>(nullptr);
}

TUnCABInterface::~TUnCABInterface() { FileHandler->Free(); }

TUnCAB::TUnCAB(fw::TComponent* owner) : TUnCABInterface(owner) {}

TUnCAB::~TUnCAB()
{
    if (context_) {
        const bool ok = Fdi().Destroy(context_) != 0;
        context_ = nullptr;
        try {
            CheckCabResult(ok, CabError);
        } catch (...) {
        }
    }
}

void TUnCAB::SetArcType(TArcType value) { TUnBase::SetArcType(DetectArchive(*this, value)); }

// ---- library callbacks --------------------------------------------------------------------------

INT_PTR DIAMONDAPI TUnCAB::OpenCallback(char* name, int oflag, int pmode)
{
    return Guarded<INT_PTR>(-1, [&] {
        int err = 0;
        return g_serving ? g_serving->FileHandler->Open(name ? name : "", oflag, pmode, err, 0) : INT_PTR(-1);
    });
}

UINT DIAMONDAPI TUnCAB::ReadCallback(INT_PTR hf, void* buffer, UINT count)
{
    return Guarded<UINT>(UINT(-1), [&] {
        int err = 0;
        return g_serving ? g_serving->FileHandler->Read(hf, buffer, count, err) : UINT(-1);
    });
}

UINT DIAMONDAPI TUnCAB::WriteCallback(INT_PTR, void* buffer, UINT count)
{
    // The output goes to the engine's sink, not to the handle: test runs write nothing.
    return Guarded<UINT>(0, [&] {
        g_serving->BytesLeft -= count;
        ReportProgress(g_fileSize - g_serving->BytesLeft, g_fileSize);
        RunContext& run = CurrentRun();
        int64_t written = count;
        if (run.sink && !run.sink->Write(static_cast<const uint8_t*>(buffer), written))
            g_serving->RaiseError(g_serving->FileName, "", "0", 25136);
        return UINT(written);
    });
}

int DIAMONDAPI TUnCAB::CloseCallback(INT_PTR hf)
{
    return Guarded<int>(-1, [&] {
        int err = 0;
        return g_serving ? g_serving->FileHandler->Close(hf, err) : -1;
    });
}

CabLong DIAMONDAPI TUnCAB::SeekCallback(INT_PTR hf, CabLong distance, int origin)
{
    return Guarded<CabLong>(-1, [&] {
        int err = 0;
        return g_serving ? g_serving->FileHandler->Seek(hf, distance, origin, err) : CabLong(-1);
    });
}

INT_PTR DIAMONDAPI TUnCAB::Notify(FDINOTIFICATIONTYPE kind, PFDINOTIFICATION n)
{
    return Guarded<INT_PTR>(-1, [&]() -> INT_PTR {
        TUnCAB* self = n && n->pv ? static_cast<TUnCAB*>(n->pv) : g_serving;
        if (!self || !n)
            return -1;
        switch (kind) {
        case fdintCABINET_INFO:
            return self->DoCabinetInfo(*n);
        case fdintCOPY_FILE:
            if (!g_moreEntries) {
                n->fdie = FDIERROR_USER_ABORT;
                return 0;
            }
            return self->DoCopyFile(*n);
        case fdintCLOSE_FILE_INFO:
            return self->DoCloseFile(*n);
        case fdintNEXT_CABINET:
            return self->DoNextCabinet(*n);
        default:
            return 0;
        }
    });
}

// ---- notifications ------------------------------------------------------------------------------

INT_PTR TUnCAB::DoCabinetInfo(FDINOTIFICATION& n)
{
    if (g_cab.firstCabinet) {
        g_cab.nextCabinet = n.psz1 ? n.psz1 : "";
        g_cab.nextDisk = n.psz2 ? n.psz2 : "";
        g_cab.cabinetPath = n.psz3 ? n.psz3 : "";
        g_cab.setID = n.setID;
        g_cab.iCabinet = n.iCabinet;
        g_cab.firstCabinet = false;
    }
    return 0;
}

INT_PTR TUnCAB::DoCopyFile(FDINOTIFICATION& n)
{
    const std::string stored = CabEntryName(n.psz1, n.attribs);
    g_lastStatus = 1;
    if (!Selected(stored) || Aborted())
        return 0;
    g_fileSize = n.cb;
    BytesLeft = n.cb;
    if (!BuildFileName(stored)) {
        ReportError(OemToAnsiPath(stored), "", "0", 25243);  // a name that would leave the extract folder
        return 0;
    }
    RunContext& run = CurrentRun();
    const bool files = run.outputMode == OutputMode::Files;
    bool accept = true;
    if (files) {
        const std::string folder = ExtractFilePath(FileName);
        if (!folder.empty() && !DirectoryExists(folder))
            ForceDirectories(folder);
        if (OnFileExists && FileExistsFind(FileName))
            OnFileExists(this, FileName, DosDateToDateTime(uint32_t(n.date) << 16 | n.time), accept);
    }
    if (accept && OnBegin)
        OnBegin(this, files ? FileName : OemToAnsiPath(stored), FileCount + 1, accept);
    if (!accept)
        return 0;
    if (SingleEntrySpec())
        g_moreEntries = false;  // one named entry: the files after it are skipped
    run.crc32 = 0xFFFFFFFFu;
    if (!files) {
        g_lastStatus = 2;
        return 1;  // a handle the library accepts; the sink drops the data
    }
    run.outputFile = CreateOutputFile(FileName, &run.outputExisted);
    if (run.outputFile == fw::kInvalidFile) {
        ReportError(FileName, "", g_cab.nextCabinet, 25235);
        return 0;
    }
    g_lastStatus = 2;
    return INT_PTR(run.outputFile);
}

INT_PTR TUnCAB::DoCloseFile(FDINOTIFICATION& n)
{
    RunContext& run = CurrentRun();
    UpdateProgress(1, 1);
    if (run.progress)
        run.progress(100);
    const bool files = run.outputMode == OutputMode::Files;
    if (files && run.outputFile != fw::kInvalidFile) {
        // The stamp is local time: set as such, so the file shows the time it had when stored.
        if (SetDateTo() == TSetDate::sdOrigDate)
            FileSetDate(run.outputFile, uint32_t(n.date) << 16 | n.time);
        // Only the DOS bits: the library's "execute" and "UTF-8 name" bits are no file attributes,
        // and a refused attribute costs nothing but the attribute.
        SetOutputAttributes(run.outputFile, FileName, run.outputExisted, n.attribs & 0x27);
        const fw::FileHandle h = run.outputFile;
        run.outputFile = fw::kInvalidFile;
        if (!CloseFile(h))
            RaiseError(FileName, "", "0", 25137);
    }
    if (OnEnd)
        OnEnd(this, files ? FileName : OemToAnsiPath(CabEntryName(n.psz1, n.attribs)), g_lastStatus == 2);
    ++FileCount;
    return 1;
}

INT_PTR TUnCAB::DoNextCabinet(FDINOTIFICATION& n)
{
    std::string full = AppendBackslash(n.psz3 ? n.psz3 : "") + (n.psz1 ? n.psz1 : "");
    if (!FindVolume(full, n.psz1 ? n.psz1 : "")) {
        abort_ = true;
        return -1;
    }
    CopyOut(n.psz1, ExtractFileName(full));
    CopyOut(n.psz3, ExtractFilePath(full));
    return 0;
}

// ---- the run ------------------------------------------------------------------------------------

bool TUnCAB::IsCabinet(const std::string& path)
{
    if (!context_) {
        context_ = Fdi().Create(CabAlloc, CabFree, OpenCallback, ReadCallback, WriteCallback, CloseCallback, SeekCallback,
                                int(CpuType()) - 1, &CabError);
        CheckCabResult(context_ != nullptr, CabError);
        if (!context_)
            RaiseError(path, "", "0", 25253);
    }
    int err = 0;
    const INT_PTR hf = FileHandler->Open(path, kCabOpenBinary, 0, err, 0);
    if (hf == -1)
        RaiseError(path, "", "0", 25235);
    FDICABINETINFO info{};
    const bool cabinet = Fdi().IsCabinet(context_, hf, &info) != 0;
    FileHandler->Close(hf, err);
    if (err != 0)
        RaiseError(path, "", "0", 25137);
    return cabinet;
}

void TUnCAB::KeepException(std::exception_ptr e)
{
    if (!pending_)
        pending_ = e;
}

void TUnCAB::DropPartialOutput()
{
    RunContext& run = CurrentRun();
    if (run.outputFile == fw::kInvalidFile)
        return;
    CloseFile(run.outputFile);
    run.outputFile = fw::kInvalidFile;
    DeleteFile(FileName);
    if (OnEnd)
        OnEnd(this, FileName, false);
}

void TUnCAB::WalkCabinets()
{
    std::string cabinet = ArchiveFile();
    std::vector<std::string> walked;
    for (;;) {
        // A set whose chain comes back to a cabinet already walked would never end.
        const std::string key = UpperCase(cabinet);
        if (std::find(walked.begin(), walked.end(), key) != walked.end()) {
            ReportError(cabinet, "", "0", 25135);
            break;
        }
        walked.push_back(key);
        g_cab.firstCabinet = true;
        std::string name = ExtractFileName(cabinet);
        std::string folder = AppendBackslash(ExtractFilePath(cabinet));
        pending_ = nullptr;
        const bool ok = Fdi().Copy(context_, name.data(), folder.data(), 0, Notify, nullptr, this) != 0;
        if (pending_)
            std::rethrow_exception(std::exchange(pending_, nullptr));
        if (!ok && CabError.fError && Aborted())
            break;  // the user stopped the library
        CheckCabResult(ok, CabError);
        if (!g_moreEntries || Aborted() || g_cab.nextCabinet.empty())
            break;
        std::string next = folder + g_cab.nextCabinet;
        if (!FindVolume(next, g_cab.nextCabinet))
            break;
        if (ExtractFileName(next).empty())
            break;
        cabinet = next;
    }
}

void TUnCAB::ProcessArchive()
{
    g_serving = this;
    struct Serving {
        ~Serving() { g_serving = nullptr; }
    } serving;
    FileCount = 0;
    Cancel(this, false);
    const std::string remembered = ArchiveFile();
    const bool moved = !VolumeID.empty();
    struct Restore {
        TUnCAB& self;
        bool moved;
        const std::string& value;
        ~Restore()
        {
            if (moved) {
                self.archiveFile_ = value;
                self.VolumeID.clear();
            }
        }
    } restore{*this, moved, remembered};
    if (moved) {
        SetArchiveFile(AppendBackslash(ExtractFilePath(ArchiveFile())) + VolumeID);
        arcType_ = TArcType::atFileOpenErr;
    }
    if (!FDILoaded())
        RaiseError(ArchiveFile(), "", "0", 25259);
    if (ArchiveFile().empty())
        RaiseError(ArchiveFile(), "", "0", 25243);
    std::string archive = ArchiveFile();
    if (ArcType() != TArcType::atCab) {
        // A file that is there but holds no cabinet is refused; a missing one is asked for.
        if (ArcType() != TArcType::atFileOpenErr)
            RaiseError(archive, "", "0", 25242);
        const std::string folder = ExtractFilePath(archive);
        if (!folder.empty() && !SetCurrentDir(folder))
            RaiseApiError(fw::Fs().LastError());
        if (!FindVolume(archive, ExtractFileName(archive)))
            return;
        archiveFile_ = archive;
        arcType_ = TArcType::atCab;
    }
    g_moreEntries = true;
    if (OnActivate)
        OnActivate(this);
    try {
        if (!FileExistsFind(archive) && !FindVolume(archive, ExtractFileName(archive))) {
            if (OnDeactivate)
                OnDeactivate(this);
            return;
        }
        archiveFile_ = archive;
        if (!IsCabinet(archive))
            RaiseError(archive, "", "0", 25242);
        StartStopwatch();
        WalkCabinets();
    } catch (const E_RAISE&) {
        DropPartialOutput();
        StopStopwatch();
        if (OnDeactivate)
            OnDeactivate(this);
        throw;
    } catch (const std::exception& e) {
        // The library failed (a damaged cabinet, a failed write): reported, not swallowed silently.
        DropPartialOutput();
        ReportError(ArchiveFile(), e.what(), "0", 25108);
    }
    StopStopwatch();
    if (OnDeactivate)
        OnDeactivate(this);
}

void RegisterUnCABClasses()
{
    RegisterClasses();
    fw::Class<TUnCAB, TUnBase>("TUnCAB");
}

}  // namespace engine
