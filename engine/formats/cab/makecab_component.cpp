#include "engine/formats/cab/makecab_component.h"

#include <cstring>

#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

TMakeCAB* g_running = nullptr;
int64_t g_sourceSize = 0;

template <class R, class F>
R Guarded(R onFailure, F&& body)
{
    try {
        return body();
    } catch (...) {
        if (g_running)
            g_running->KeepException(std::current_exception());
        return onFailure;
    }
}

void CopyOut(char* buffer, const std::string& text)
{
    const size_t n = std::min<size_t>(text.size(), 255);
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

TStreamCabinetFileHandler& Handler(void* pv) { return *static_cast<TMakeCAB*>(pv)->FileHandler; }

int DIAMONDAPI FilePlaced(PCCAB, char*, CabLong, BOOL, void*) { return 0; }
CabLong DIAMONDAPI Status(UINT, ULONG, ULONG, void*) { return 0; }

INT_PTR DIAMONDAPI OpenCb(char* name, int oflag, int pmode, int* err, void* pv)
{
    return Guarded<INT_PTR>(-1, [&] {
        *err = 0;
        return Handler(pv).Open(name ? name : "", oflag, pmode, *err, 0);
    });
}

UINT DIAMONDAPI ReadCb(INT_PTR hf, void* memory, UINT cb, int* err, void* pv)
{
    return Guarded<UINT>(UINT(-1), [&] {
        *err = 0;
        const UINT n = Handler(pv).Read(hf, memory, cb, *err);
        // The source files are read through here: their progress.
        if (g_running && g_running->BytesLeft > 0) {
            g_running->BytesLeft = std::max<int64_t>(0, g_running->BytesLeft - cb);
            TZipCommon::ReportProgress(g_sourceSize - g_running->BytesLeft, g_sourceSize);
        }
        return n;
    });
}

UINT DIAMONDAPI WriteCb(INT_PTR hf, void* memory, UINT cb, int* err, void* pv)
{
    return Guarded<UINT>(UINT(-1), [&] {
        *err = 0;
        return Handler(pv).Write(hf, memory, cb, *err);
    });
}

int DIAMONDAPI CloseCb(INT_PTR hf, int* err, void* pv)
{
    return Guarded<int>(-1, [&] {
        *err = 0;
        return Handler(pv).Close(hf, *err);
    });
}

CabLong DIAMONDAPI SeekCb(INT_PTR hf, CabLong dist, int seektype, int* err, void* pv)
{
    return Guarded<CabLong>(-1, [&] {
        *err = 0;
        return Handler(pv).Seek(hf, dist, seektype, *err);
    });
}

int DIAMONDAPI DeleteCb(char* name, int* err, void* pv)
{
    return Guarded<int>(-1, [&] {
        *err = 0;
        return Handler(pv).Delete(name ? name : "", *err);
    });
}

BOOL DIAMONDAPI TempFileCb(char* buffer, int size, void* pv)
{
    return Guarded<BOOL>(0, [&] { return BOOL(static_cast<TMakeCAB*>(pv)->DoGetTempFile(buffer, size)); });
}

BOOL DIAMONDAPI NextCabinetCb(PCCAB parameters, ULONG previousSize, void* pv)
{
    return Guarded<BOOL>(0, [&] { return BOOL(static_cast<TMakeCAB*>(pv)->DoGetNextCabinet(*parameters, previousSize)); });
}

INT_PTR DIAMONDAPI OpenInfoCb(char* name, USHORT* date, USHORT* time, USHORT* attribs, int* err, void* pv)
{
    return Guarded<INT_PTR>(-1, [&] { return static_cast<TMakeCAB*>(pv)->DoGetOpenInfo(name, date, time, attribs, err); });
}

}  // namespace

TCabInterface::TCabInterface(fw::TComponent* owner) : TCompBase(owner)
{
    FileHandler = fw::Make<TStreamCabinetFileHandler>(nullptr);
}

TCabInterface::~TCabInterface() { FileHandler->Free(); }

TMakeCAB::TMakeCAB(fw::TComponent* owner) : TCabInterface(owner)
{
    AllowedMethods = MethodBit(TCompressMethod::cmStore) | MethodBit(TCompressMethod::cmMsZip) |
                     MethodBit(TCompressMethod::cmLzx) | MethodBit(TCompressMethod::cmQuantum);
    SetCompressMethod(TCompressMethod::cmMsZip);
    SetArcType(TArcType::atCab);
}

TMakeCAB::~TMakeCAB()
{
    if (context_)
        Fci().Destroy(context_);
}

void TMakeCAB::KeepException(std::exception_ptr e)
{
    if (!pending_)
        pending_ = e;
}

void TMakeCAB::RethrowPending()
{
    if (pending_)
        std::rethrow_exception(std::exchange(pending_, nullptr));
}

uint16_t TMakeCAB::CompressTypeWord()
{
    switch (CompressMethod()) {
    case TCompressMethod::cmStore:
        MethodNum = 0;
        MethodName = "Stored";
        return 0;
    case TCompressMethod::cmMsZip:
        MethodNum = 1;
        MethodName = "MsZIP";
        return 1;
    case TCompressMethod::cmLzx:
        MethodNum = 2;
        MethodName = "Lzx";
        return MakeLzxCompressType(lzxLevel_);
    case TCompressMethod::cmQuantum: {
        const int t = quantumType_ == TCompressionType::ctStore ? 0 : quantumType_ == TCompressionType::ctMsZip ? 1 : 3;
        MethodNum = uint16_t(quantumType_);
        MethodName = "Quantum";
        return MakeCompressType(t, quantumLevel_, quantumMemory_);
    }
    default:
        return 0;
    }
}

bool TMakeCAB::DoGetTempFile(char* buffer, int size)
{
    const std::string exe = ExtractFileName(fw::HostSeam().ExeName());
    const std::string name = CabTempFileName(CabTempPath(), exe.substr(0, 3), 0);
    if (name.empty() || int(name.size()) >= size)
        return false;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    return true;
}

bool TMakeCAB::DoGetNextCabinet(CCAB& parameters, ULONG previousSize)
{
    bool abortCreation = true;
    std::string newName;
    if (OnGetNextCabinet)
        OnGetNextCabinet(this, parameters, newName, int(previousSize), abortCreation);
    if (abortCreation)
        return false;
    // A name without a folder goes beside the first cabinet, not wherever the scan stands.
    const std::string folder = ExtractFilePath(newName).empty() ? ExtractFilePath(ArchiveFile()) : ExtractFilePath(newName);
    CopyOut(parameters.szCab, ExtractFileName(newName));
    CopyOut(parameters.szCabPath, folder);
    const std::string path = AppendBackslash(folder) + ExtractFileName(newName);
    if (!FileExistsFind(path))
        laterCabinets_.push_back(path);
    return true;
}

INT_PTR TMakeCAB::DoGetOpenInfo(const char* name, USHORT* date, USHORT* time, USHORT* attribs, int* err)
{
    const std::string path = name ? name : "";
    const int64_t attr = FileGetAttr(path);
    if (attr < 0) {
        *err = fw::Fs().LastError();
        if (*err == 0)
            *err = 2;
        return -1;
    }
    *attribs = USHORT(attr & 0x27);
    const INT_PTR hf = FileHandler->Open(path, kCabOpenBinary, 0, *err, 0);
    // The DOS stamp is local time, as the cabinet keeps it.
    const int64_t age = FileAge(path);
    *date = age < 0 ? 0 : USHORT(uint32_t(age) >> 16);
    *time = age < 0 ? 0 : USHORT(uint32_t(age));
    fw::FileEntry info;
    g_sourceSize = fw::Fs().Stat(ToBackslashes(path), info) ? info.size : 0;
    BytesLeft = g_sourceSize;
    CurrentRun().progressByte = 0;
    if (OnRead) {
        PackedSize = UnpackedSize = g_sourceSize;
        TotalPackedSize += g_sourceSize;
        TotalUnpackedSize += g_sourceSize;
        Date = DosDateToDateTime(age < 0 ? 0 : uint32_t(age));
        ExternalAttr = uint32_t(*attribs);
        CRC = 0;
        Ratio = 0;
        Encrypted = false;
        VolumeID = ArchiveFile();
    }
    return *err == 0 ? hf : -1;
}

void TMakeCAB::CreateContext(const std::string& cabinet, int setID, ULONG threshold, ULONG size)
{
    CCAB& ccab = cabParameters_;
    std::memset(&ccab, 0, sizeof ccab);
    ccab.cb = size;
    ccab.cbFolderThresh = threshold;
    ccab.fFailOnIncompressible = failOnIncompressible_ ? 1 : 0;
    ccab.setID = USHORT(setID);
    CopyOut(ccab.szCab, ExtractFileName(cabinet));
    CopyOut(ccab.szCabPath, ExtractFilePath(cabinet));
    std::memset(&CabError, 0, sizeof CabError);
    context_ = Fci().Create(&CabError, FilePlaced, CabAlloc, CabFree, OpenCb, ReadCb, WriteCb, CloseCb, SeekCb, DeleteCb,
                            TempFileCb, &ccab, this);
    RethrowPending();
    CheckCabResult(context_ != nullptr, CabError);
    if (!context_)
        RaiseError(ArchiveFile(), "", "0", 25253);
}

bool TMakeCAB::FlushCabinet()
{
    const bool ok = Fci().FlushCabinet(context_, 0, NextCabinetCb, Status) != 0;
    RethrowPending();
    CheckCabResult(ok, CabError);
    return ok;
}

bool TMakeCAB::DestroyContext()
{
    if (!context_)
        return true;
    const bool ok = Fci().Destroy(context_) != 0;
    context_ = nullptr;
    return ok;
}

bool TMakeCAB::SourceOpens(const std::string& path)
{
    int err = 0;
    const INT_PTR hf = FileHandler->Open(path, kCabOpenBinary, 0, err, 0);
    if (hf == -1)
        return false;
    FileHandler->Close(hf, err);
    return true;
}

void TMakeCAB::DiscardCabinets()
{
    DestroyContext();
    DeleteFile(ArchiveFile());
    for (const std::string& name : laterCabinets_)
        DeleteFile(name);
    laterCabinets_.clear();
}

void TMakeCAB::AddFile(const std::string& source, const std::string& nameInCab, bool execute)
{
    const uint16_t word = CompressTypeWord();
    std::string src = source;
    std::string stored = nameInCab;
    const bool ok = Fci().AddFile(context_, src.data(), stored.data(), execute ? 1 : 0, NextCabinetCb, Status,
                                  OpenInfoCb, word) != 0;
    RethrowPending();
    CheckCabResult(ok, CabError);
    if (!ok)
        throw ECabinetError(CabError.erfOper, CabError.erfType);
    if (OnRead) {
        FileName = nameInCab;
        OnRead(this, 0, 0);
    }
}

void TMakeCAB::ScanFolder(const std::string& mask)
{
    Cancel(this, false);
    const std::string folder = AppendBackslash(GetCurrentDir());
    const uint32_t filter = FileAttribute() ? FileAttribute()->Mask() : 0x27;
    for (const fw::FileEntry& hit : FindFiles(folder, ExtractFileName(mask), filter)) {
        ProcessMessages();
        if (Aborted())
            break;
        if (hit.attr & kAttrDirectory)
            continue;
        if (hit.attr == kAttrArchive && !(filter & kAttrArchive))
            continue;
        bool accept = true;
        ++FileCount;
        BuildFileName(hit.name);
        if (OnBegin) {
            OnBegin(this, FileName, FileCount, accept);
            ProcessMessages();
        }
        if (!accept) {
            --FileCount;
            continue;
        }
        const std::string source = folder + hit.name;
        bool added = SourceOpens(source);
        try {
            if (added)
                AddFile(source, FileName, false);
        } catch (const E_RAISE&) {
            throw;
        } catch (const std::exception&) {
            added = false;
        }
        if (OnEnd)
            OnEnd(this, source, added);
    }
    if (!RecurseDirs())
        return;
    for (const fw::FileEntry& sub : FindFiles(folder, "*", kAttrDirectory | kAttrHidden | kAttrSysFile | kAttrReadOnly)) {
        ProcessMessages();
        if (Aborted())
            break;
        if (!(sub.attr & kAttrDirectory) || sub.name.empty() || sub.name[0] == '.')
            continue;
        if (!SetCurrentDir(folder + sub.name))
            RaiseApiError(fw::Fs().LastError());
        CurrentDir = AppendBackslash(folder + sub.name);
        if (OnRecurseDir)
            OnRecurseDir(this, CurrentDir);
        ScanFolder(mask);
        SetCurrentDir(folder);
        CurrentDir = folder;
    }
}

bool TMakeCAB::Activate()
{
    RunScope scope(*this, OutputMode::Files);
    if (!scope.Started())
        return false;
    g_running = this;
    struct Running {
        ~Running() { g_running = nullptr; }
    } running;
    const std::string startDir = GetCurrentDir();
    bool result = false;
    bool created = false;
    try {
        if (!FCILoaded())
            RaiseError(ArchiveFile(), "", "0", 25259);
        if (ArchiveFile().empty())
            RaiseError(ArchiveFile(), "", "0", 25243);
        // A cabinet cannot be updated: adding to an existing one would replace it with the new files
        // only, and a delete would build a new one from files on disk. Both are refused.
        if (Switch() != TSwitch::swAdd || FileExistsFind(ArchiveFile()))
            RaiseError(ArchiveFile(), "", "0", 25242);
        if (OnActivate)
            OnActivate(this);
        if (context_)
            DestroyContext();
        laterCabinets_.clear();
        CreateContext(ArchiveFile(), 0, 900000, ULONG(maxCabinetSize_));
        created = true;
        BytesLeft = 0;
        ProgressStep = static_cast<uint8_t>(ProgressStepOf(ProgressNotify()));
        StartStopwatch();
        FileCount = 0;
        TotalPackedSize = TotalUnpackedSize = 0;
        bool failed = false;
        try {
            for (int i = 0; i < FileSpecList()->Count() && !Aborted(); ++i) {
                const std::string item = ToBackslashes(FileSpecList()->Get(i));
                std::string folder = ExtractFilePath(item);
                if (folder.empty()) {
                    folder = DefaultDir();
                    if (!DirectoryExists(folder))
                        continue;
                }
                CurrentDir = AppendBackslash(folder);
                if (!SetCurrentDir(folder))
                    RaiseApiError(fw::Fs().LastError());
                BaseDir = AppendBackslash(GetCurrentDir());
                ScanFolder(item);
            }
        } catch (const E_RAISE&) {
            failed = true;
        } catch (const std::exception& e) {
            failed = true;
            ReportError(ArchiveFile(), e.what(), "0", 25136);
        }
        StopStopwatch();
        SetCurrentDir(startDir);
        // Only a complete run keeps its cabinets: a failed or cancelled one leaves none behind, the
        // ones the library wrote while it went along included.
        if (!failed && !Aborted()) {
            result = FlushCabinet();
            result = DestroyContext() && result;
            if (!result)
                ReportError(ArchiveFile(), "", "0", 25136);
        }
        if (!result)
            DiscardCabinets();
        if (OnDeactivate)
            OnDeactivate(this);
    } catch (const E_RAISE&) {
        if (created)
            DiscardCabinets();
    } catch (const std::exception& e) {
        ReportError(ArchiveFile(), e.what(), "0", 25136);
        if (created)
            DiscardCabinets();
        else
            DestroyContext();
    }
    SetCurrentDir(startDir);
    return result;
}

void RegisterMakeCABClasses()
{
    RegisterClasses();
    fw::RegisterEnum<TCompressionType>({"ctStore", "ctMsZip", "ctLzx"}, "TCompressionType");
    using M = TMakeCAB;
    fw::Class<TMakeCAB, TCompBase>("TMakeCAB")
        .Prop("FailOnIncompressible", &M::FailOnIncompressible, &M::SetFailOnIncompressible)
        .Prop("LzxLevel", &M::LzxLevel, &M::SetLzxLevel)
        .Prop("QuantumLevel", &M::QuantumLevel, &M::SetQuantumLevel)
        .Prop("QuantumMemory", &M::QuantumMemory, &M::SetQuantumMemory)
        .Prop("QuantumType", &M::QuantumType, &M::SetQuantumType)
        .Event("OnGetNextCabinet", &M::OnGetNextCabinet);
}

}  // namespace engine
