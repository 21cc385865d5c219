#include "engine/formats/zip/writer/zip_component.h"

#include <array>
#include <new>

#include "engine/codec/zipcrypt.h"
#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/core/wildcard.h"
#include "engine/formats/zip/directory_locator.h"
#include "engine/formats/zip/writer/zip_entry_writer.h"
#include "engine/formats/zip/writer/zip_rebuild.h"
#include "engine/formats/common/file_source.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

// The level every ZIP writer compresses with (the writers share one setting).
int g_deflateLevel = 7;

// Sub-folders deeper than this end the search (a link that points back up would never end it).
constexpr int kMaxFolderDepth = 100;

std::string Trimmed(const std::string& s)
{
    const size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

}  // namespace

// Everything one run holds; freed when the run ends, also after an error.
struct TZip::RunState {
    std::string archive;  // ArchiveFile, trimmed and made absolute (the run changes folders)
    bool isNew = false;
    bool ok = true;         // false when a password check of swDelete failed
    bool cancelled = false; // a delete walk ended by a cancel
    bool result = false;
    int recNum = 0;
    zip::EntryList old;       // the archive as it was (after the replacement: as it is now)
    zip::EntryList added;     // the files added in this run
    std::unique_ptr<TNewArchiveStream> out;  // the new archive, beside the old one
    std::unique_ptr<TTempFileStream> second;  // the new entries, until they follow the kept ones
    // The new entries go into the second file through a buffer, in large pieces.
    std::unique_ptr<fw::TBufferedStream> newEntries;
    fw::FileHandle oldHandle = fw::kInvalidFile;
    std::unique_ptr<FileReadSource> oldSource;
    uint64_t prefixLength = 0;
    std::vector<zip::CentralRecord> records;  // the new central directory, in archive order
    struct MovedSource {
        std::string path, key;
        int64_t size = 0;
        uint32_t dosTime = 0;
    };
    std::vector<MovedSource> moveSources;     // source files whose data is now in the archive
    std::string lastAnswer;                   // the previous OnGetPassword answer of this run
    mx::codec::Deflater deflater;             // shared by the new entries, so each does not set it up

    ~RunState()
    {
        out.reset();
        second.reset();
        if (oldHandle != fw::kInvalidFile)
            CloseFile(oldHandle);
    }
    void CloseOld()
    {
        oldSource.reset();
        if (oldHandle != fw::kInvalidFile)
            CloseFile(oldHandle);
        oldHandle = fw::kInvalidFile;
    }
};

TZip::TZip(fw::TComponent* owner) : TCompBase(owner)
{
    SetDeflateType(TDeflateType::dtDeflateN);
    AllowedMethods = MethodBit(TCompressMethod::cmStore) | MethodBit(TCompressMethod::cmDeflate);
    SetCompressMethod(TCompressMethod::cmDeflate);
    SetArcType(TArcType::atZip);
    DefaultExt = "ZIP";
}

TZip::~TZip() = default;

void TZip::SetArcType(TArcType) { TCompBase::SetArcType(TArcType::atZip); }

void TZip::SetDeflateType(TDeflateType value)
{
    deflateType_ = value;
    switch (value) {
    case TDeflateType::dtDeflateF:
        g_deflateLevel = 2;
        break;
    case TDeflateType::dtDeflateN:
        g_deflateLevel = 7;
        break;
    case TDeflateType::dtDeflateX:
        g_deflateLevel = 9;
        break;
    case TDeflateType::dtDeflateS:
        break;
    }
}

int TZip::DeflateLevel() { return g_deflateLevel; }

std::string TZip::GetDefaultExt()
{
    if (DefaultExt.empty())
        DefaultExt = "ZIP";
    return DefaultExt;
}

void TZip::SetDefaultExt(const std::string& value)
{
    std::string ext = Trimmed(value);
    const size_t dot = ext.find('.');
    if (dot != std::string::npos)
        ext = ext.substr(dot + 1);
    ext = ext.substr(0, 3);
    DefaultExt = ext.empty() ? "ZIP" : ext;
    if (!ArchiveFile().empty())
        SetArchiveFile(ArchiveFile());
}

void TZip::SetPasswords(fw::TStrings* value)
{
    if (value && value != Passwords())
        Passwords()->Assign(value);
}

// ---- header walks -----------------------------------------------------------------------------------

bool TZip::FirstHeader(std::string& name, fw::TStream& stream, bool central)
{
    zip::StreamReadSource source(stream);
    const zip::DirectoryLocation loc = zip::LocateDirectory(source);
    if (!loc.end || loc.kind != zip::DirectoryLocation::Kind::Central)
        return false;
    std::array<uint8_t, zip::CentralHeader::kSize> raw{};
    if (!source.ReadExact(loc.position, raw))
        return false;
    const auto first = zip::CentralHeader::Parse(raw);
    if (!first)
        return false;
    NextHeaderPos = central ? int64_t(loc.position) : int64_t(loc.offsetBias + first->localHeaderOffset);
    return NextHeader(name, stream, central);
}

bool TZip::NextHeader(std::string& name, fw::TStream& stream, bool central)
{
    zip::StreamReadSource source(stream);
    const uint64_t pos = uint64_t(NextHeaderPos);
    std::array<uint8_t, zip::CentralHeader::kSize> raw{};
    const size_t size = central ? zip::CentralHeader::kSize : zip::LocalHeader::kSize;
    if (NextHeaderPos < 0 || !source.ReadExact(pos, std::span<uint8_t>(raw.data(), size)))
        return false;
    uint64_t next = pos + size;
    uint16_t nameLength = 0;
    if (central) {
        const auto h = zip::CentralHeader::Parse(raw);
        if (!h)
            return false;
        header_ = {h->versionNeeded, h->flags, h->method, h->DosDateTime(), h->crc, h->compressedSize,
                   h->uncompressedSize};
        nameLength = h->nameLength;
        next += uint64_t(h->nameLength) + h->extraLength + h->commentLength;
    } else {
        const auto h = zip::LocalHeader::Parse(std::span<const uint8_t>(raw.data(), size), true);
        if (!h)
            return false;
        header_ = {h->versionNeeded, h->flags, h->method, h->DosDateTime(), h->crc, h->compressedSize,
                   h->uncompressedSize};
        nameLength = h->nameLength;
        next += uint64_t(h->nameLength) + h->extraLength + h->compressedSize;
    }
    std::string stored(nameLength, '\0');
    if (!source.ReadExact(pos + size, std::span<uint8_t>(reinterpret_cast<uint8_t*>(stored.data()), nameLength)))
        return false;
    // Leave the stream behind the name, where ListArchive reads its offset.
    stream.Seek(int64_t(pos + size + nameLength), fw::soFromBeginning);
    NextHeaderPos = int64_t(next);
    name = zip::StoredKey(stored);
    return true;
}

void TZip::LoadEntry(const std::string& name)
{
    FileName = OemToAnsiPath(name);
    VersionMadeBy = header_.versionNeeded;
    if (header_.dosTime > 0)
        Date = DosDateToDateTime(header_.dosTime);
    PackedSize = header_.compressedSize;
    UnpackedSize = header_.uncompressedSize;
    TotalPackedSize += PackedSize;
    TotalUnpackedSize += UnpackedSize;
    CRC = header_.crc;
    Encrypted = (header_.flags & zip::kFlagEncrypted) != 0;
    MethodNum = header_.method;
    if (header_.method != 8) {
        MethodName = "Stored";
    } else {
        switch (deflateType_) {
        case TDeflateType::dtDeflateF:
            MethodName = "DeflateF";
            break;
        case TDeflateType::dtDeflateN:
            MethodName = "DeflateN";
            break;
        case TDeflateType::dtDeflateX:
            MethodName = "DeflateX";
            break;
        case TDeflateType::dtDeflateS:
            break;
        }
    }
    ExternalAttr = 32;
    InternalAttr = 32;
    Ratio = CalcRatio(PackedSize, UnpackedSize);
}

// ---- the run --------------------------------------------------------------------------------------

bool TZip::Activate()
{
    RunScope scope(*this, OutputMode::Files);
    if (!scope.Started())
        return false;
    RunState run;
    const std::string savedDir = GetCurrentDir();
    bool framed = false;
    bool timing = false;
    try {
        const std::string archive = Trimmed(ArchiveFile());
        if (archive.empty())
            return false;
        if (Switch() == TSwitch::swRead) {
            ListArchive();
            return true;
        }
        if (FileSpecList()->Count() == 0)
            return false;
        run.archive = ToBackslashes(ExpandFileName(archive));
        run.isNew = !FileExistsFind(run.archive);
        if (!run.isNew && !IsPlainFile(run.archive)) {
            bool writeToFile = false;
            if (OnNonWriteableArchive)
                OnNonWriteableArchive(this, run.archive, writeToFile);
            else
                ReportError(run.archive, "", "0", 25136);
            if (!writeToFile || !FileSetAttr(run.archive, kAttrArchive)) {
                if (writeToFile)
                    ReportError(run.archive, "", "0", 25136);
                return false;
            }
        }
        framed = true;
        if (run.isNew && Switch() == TSwitch::swDelete) {
            ReportError(run.archive, "", "0", 26999);
        } else if (OpenOldArchive(run)) {
            timing = true;
            Run(run);
        }
    } catch (...) {
        // Reported through OnError already; nothing reaches the caller.
    }
    try {
        if (timing)
            StopStopwatch();
    } catch (...) {
    }
    run.out.reset();
    run.second.reset();
    run.CloseOld();
    if (framed && OnDeactivate) {
        try {
            OnDeactivate(this);
        } catch (...) {
        }
    }
    SetCurrentDir(savedDir);
    return run.result;
}

// The temporary archive, and the old archive's directory. An existing archive whose directory
// cannot be read whole is refused: rewriting it would lose the entries that were not seen.
bool TZip::OpenOldArchive(RunState& run)
{
    bool unreadable = false;
    try {
        run.out = std::make_unique<TNewArchiveStream>(run.archive);
        if (!run.isNew) {
            run.oldHandle = OpenArchiveRead(run.archive);
            if (run.oldHandle == fw::kInvalidFile)
                throw fw::EFOpenError(run.archive);
            const int64_t size = OpenFileSize(run.oldHandle);
            if (size < 0)
                throw fw::EReadError(run.archive);
            run.oldSource = std::make_unique<FileReadSource>(run.oldHandle, uint64_t(size));
            if (size > 0) {
                const zip::DirectoryResult r = zip::ReadDirectory(*run.oldSource, run.old, run.prefixLength);
                if (r == zip::DirectoryResult::ReadFailed || run.oldSource->Failed())
                    throw fw::EReadError(run.archive);
                unreadable = r == zip::DirectoryResult::NotFound;
            }
        }
    } catch (...) {
        ReportError(run.archive, "", "0", 25298);
        return false;
    }
    if (unreadable) {
        ReportError(run.archive, "", "0", 25108);
        return false;
    }
    return true;
}

bool TZip::Run(RunState& run)
{
    ProgressStep = static_cast<uint8_t>(ProgressStepOf(ProgressNotify()));
    run.recNum = 0;
    Cancel(this, false);
    if (OnActivate)
        OnActivate(this);
    if (run.prefixLength > 0) {
        const zip::CopyResult c = zip::CopyBytes(*run.oldSource, 0, run.prefixLength, *run.out);
        if (c != zip::CopyResult::Ok)
            RaiseError(run.archive, "", "0", c == zip::CopyResult::ReadFailed ? 25298 : 25136);
    }
    StartStopwatch();

    if (Switch() == TSwitch::swAdd || Switch() == TSwitch::swMove) {
        run.second = std::make_unique<TTempFileStream>();
        run.newEntries = std::make_unique<fw::TBufferedStream>(*run.second);
        fw::TStringList* spec = FileSpecList();
        for (int i = 0; i < spec->Count(); ++i) {
            ProcessMessages();
            if (Aborted())
                break;
            const std::string item = spec->Get(i);
            const std::string folder = ItemFolder(item);
            if (folder.empty())
                continue;
            if (!SetCurrentDir(folder))
                RaiseError(folder, "", "0", 25153);
            BaseDir = CurrentDir = ToBackslashes(GetCurrentDir());
            SearchFolder(run, ExtractFileName(ToBackslashes(item)), 0);
        }
        // Every old entry survives unless a file replaced it, also after a cancel.
        CopyKeptEntries(run);
        AppendNewEntries(run);
    } else if (Switch() == TSwitch::swDelete) {
        DeleteWalk(run);
    }
    Commit(run);
    return run.result;
}

std::string TZip::ItemFolder(const std::string& item)
{
    std::string folder = ToBackslashes(ExtractFilePath(ToBackslashes(item)));
    const std::string dd = DefaultDir();
    if (folder.empty())
        return DirectoryExists(dd) ? dd : std::string();
    if (folder.find(':') == std::string::npos && dd.size() > 1 && dd[1] == ':') {
        if (folder[0] == '\\')
            folder = dd.substr(0, 2) + folder;
        else
            folder = dd.substr(0, 2) + "\\" + folder;
    }
    return folder;
}

void TZip::SearchFolder(RunState& run, const std::string& mask, int depth)
{
    if (depth > kMaxFolderDepth)
        RaiseError(CurrentDir, "", "0", 25263);
    const uint32_t filter = FileAttribute()->Mask();
    // A search of every name in a tree lists each folder once, for its files and its sub-folders.
    std::vector<fw::FileEntry> all;
    const bool listed = RecurseDirs() && mask == "*.*";
    std::vector<fw::FileEntry> found;
    try {
        if (!listed)
            found = FindFiles(CurrentDir, mask, filter);
        else if (fw::Fs().List(CurrentDir, mask, all))
            found = PassingEntries(all, filter);
    } catch (const std::bad_alloc&) {
        RaiseError(CurrentDir, "", "0", 25263);
    }
    for (const fw::FileEntry& f : found) {
        if (Aborted())
            return;
        if (f.attr & kAttrDirectory)
            continue;
        if (f.attr == kAttrArchive && !(filter & kAttrArchive))
            continue;
        BuildFileName(f.name);
        try {
            AddFile(run, f);
        } catch (const std::bad_alloc&) {
            RaiseError(FileName, "", "0", 25263);
        }
    }
    if (!RecurseDirs())
        return;
    if (!listed && !fw::Fs().List(CurrentDir, "*.*", all))
        return;
    for (const fw::FileEntry& d : all) {
        if (Aborted())
            return;
        if (!(d.attr & fw::faDirectory) || d.name.empty() || d.name[0] == '.')
            continue;
        const std::string parent = CurrentDir;
        if (!SetCurrentDir(AppendBackslash(parent) + d.name))
            RaiseError(AppendBackslash(parent) + d.name, "", "0", 25153);
        CurrentDir = ToBackslashes(GetCurrentDir());
        if (OnRecurseDir)
            OnRecurseDir(this, CurrentDir);
        SearchFolder(run, mask, depth + 1);
        if (!SetCurrentDir(parent))
            RaiseError(parent, "", "0", 25153);
        CurrentDir = parent;
    }
}

void TZip::AddFile(RunState& run, const fw::FileEntry& found)
{
    const std::string key = zip::StoredKey(FileName);
    const std::string path = AppendBackslash(CurrentDir) + found.name;
    int error = 0;
    const fw::FileHandle file =
        fw::Fs().Open(path, fw::FileAccess::Read, fw::FileShare::DenyNone, fw::FileCreate::OpenExisting, &error);
    if (file == fw::kInvalidFile) {
        ReportError(AppendBackslash(CurrentDir) + FileName, "", "0", 25235);
        return;
    }
    struct Closer {
        fw::FileHandle h;
        ~Closer() { CloseFile(h); }
    } closer{file};
    const int64_t size = OpenFileSize(file);
    if (size < 0) {
        ReportError(path, "", "0", 25235);
        return;
    }

    if (!MayAddFile(run.isNew, run.old.Strings(), key, size, found.dosTime, found.attr, true)) {
        // An identical entry stays. For swMove its source may go only when its data is the same.
        const TZipCompObject* stored = run.old.Find(key);
        uint32_t crc = 0;
        if (Switch() == TSwitch::swMove && stored && stored->DosDate == found.dosTime && stored->Size == size &&
            stored->Attr == found.attr && zip::SourceCrc(file, size, crc) && crc == stored->Crc)
            run.moveSources.push_back({path, key, size, found.dosTime});
        return;
    }
    // One entry per stored name: a second file of the same name (sdNone, or a name that differs only
    // in case) is passed over, and the user is told which one.
    if (run.added.IndexOf(key) >= 0) {
        ReportError(path, "", "0", 26900);
        return;
    }
    bool extract = true;
    if (OnBegin)
        OnBegin(this, key, run.recNum + 1, extract);
    if (!extract)
        return;

    TZipCompObject& entry = run.added.Add(key);
    entry.DosDate = found.dosTime;
    entry.Size = size;
    entry.Attr = found.attr;
    entry.StoredName = ToSlashes(key);
    const int64_t start = run.newEntries->Position();
    entry.LocalOffset = uint64_t(start);

    zip::NewEntrySettings settings;
    settings.deflate = CompressMethod() == TCompressMethod::cmDeflate;
    settings.level = g_deflateLevel;
    settings.password = Password;
    zip::ZipEntryWriter writer(*run.newEntries, *this, run.deflater);
    zip::LocalHeader header;
    zip::NewEntryResult result = zip::NewEntryResult::WriteFailed;
    try {
        result = writer.Write(file, size, entry.StoredName, found.dosTime, settings, header);
    } catch (const fw::Exception&) {
        result = zip::NewEntryResult::WriteFailed;
    }
    if (result != zip::NewEntryResult::Ok) {
        run.added.RemoveLast();
        if (OnEnd)
            OnEnd(this, key, false);
        if (result == zip::NewEntryResult::WriteFailed)
            RaiseError(run.second->FileName(), "", "0", 25136);
        // An unreadable or changing source: the entry is dropped whole and the search goes on.
        try {
            run.newEntries->SetSize(start);
            run.newEntries->Seek(start, fw::soFromBeginning);
        } catch (const fw::Exception&) {
            RaiseError(run.second->FileName(), "", "0", 25136);
        }
        ReportError(path, "", "0", 25235);
        return;
    }
    entry.Crc = header.crc;
    entry.CompressedSize = header.compressedSize;
    entry.Method = header.method;
    entry.Flags = header.flags;
    entry.VersionNeeded = header.versionNeeded;
    ++run.recNum;
    if (OnEnd)
        OnEnd(this, key, true);
    if (Switch() == TSwitch::swMove)
        run.moveSources.push_back({path, key, size, found.dosTime});
}

void TZip::CopyKeptEntries(RunState& run)
{
    for (int i = 0; i < run.old.Count(); ++i) {
        const TZipCompObject& e = run.old.At(i);
        if (run.added.IndexOf(run.old.KeyAt(i)) >= 0)
            continue;
        zip::CentralRecord record;
        const zip::CopyResult c = zip::CopyKeptEntry(*run.oldSource, e, *run.out, record);
        if (c != zip::CopyResult::Ok)
            RaiseError(run.archive, "", "0",
                       c == zip::CopyResult::ReadFailed ? 25298 : 25136);
        run.records.push_back(std::move(record));
    }
}

// The new entries follow the kept ones; their offsets move by where the second file lands.
void TZip::AppendNewEntries(RunState& run)
{
    const int64_t base = run.out->Position();
    if (!run.newEntries->Flush())
        RaiseError(run.second->FileName(), "", "0", 25136);
    const int64_t length = run.second->Size();
    run.second->Seek(0, fw::soFromBeginning);
    if (length > 0) {
        zip::StreamReadSource source(*run.second);
        if (zip::CopyBytes(source, 0, uint64_t(length), *run.out) != zip::CopyResult::Ok)
            RaiseError(run.archive, "", "0", 25136);
    }
    for (int i = 0; i < run.added.Count(); ++i) {
        const TZipCompObject& e = run.added.At(i);
        const uint64_t offset = uint64_t(base) + e.LocalOffset;
        if (offset > 0xFFFFFFFFu)
            RaiseError(run.archive, "", "0", 25136);
        zip::CentralRecord r;
        zip::CentralHeader& h = r.header;
        h.versionMadeBy = 2;
        h.versionNeeded = 2;
        h.flags = e.Flags;
        h.method = e.Method;
        h.time = uint16_t(e.DosDate & 0xFFFF);
        h.date = uint16_t(e.DosDate >> 16);
        h.crc = e.Crc;
        h.compressedSize = e.CompressedSize;
        h.uncompressedSize = uint32_t(e.Size);
        h.nameLength = uint16_t(e.StoredName.size());
        h.externalAttr = e.Attr;
        h.internalAttr = uint16_t(e.Attr & 0xFFFF);
        h.localHeaderOffset = uint32_t(offset);
        r.name = e.StoredName;
        run.records.push_back(std::move(r));
    }
}

// ---- swDelete ---------------------------------------------------------------------------------------

void TZip::DeleteWalk(RunState& run)
{
    fw::TStringList* spec = FileSpecList();
    for (int i = 0; i < run.old.Count(); ++i) {
        ProcessMessages();
        if (Aborted()) {
            // Entries not yet visited would be lost: the archive stays as it was.
            run.cancelled = true;
            return;
        }
        const TZipCompObject& e = run.old.At(i);
        const std::string& key = run.old.KeyAt(i);
        int matched = -1;
        for (int j = 0; j < spec->Count() && matched < 0; ++j)
            if (WildcardMatch(key, spec->Get(j), false))
                matched = j;
        if (matched < 0) {
            zip::CentralRecord record;
            const zip::CopyResult c = zip::CopyKeptEntry(*run.oldSource, e, *run.out, record);
            if (c != zip::CopyResult::Ok)
                RaiseError(run.archive, "", "0",
                           c == zip::CopyResult::ReadFailed ? 25298 : 25136);
            run.records.push_back(std::move(record));
            ++run.recNum;
            continue;
        }
        if ((e.Flags & zip::kFlagEncrypted) && !SettlePassword(run, key, e)) {
            run.ok = false;
            Cancel(this, true);
            return;
        }
        const std::string item = spec->Get(matched);
        bool extract = true;
        if (OnBegin)
            OnBegin(this, item, matched, extract);
        if (OnEnd)
            OnEnd(this, item, true);
    }
}

bool TZip::SettlePassword(RunState& run, const std::string& name, const TZipCompObject& entry)
{
    std::array<uint8_t, zip::LocalHeader::kSize> raw{};
    std::array<uint8_t, mx::codec::ZipCrypto::kHeaderSize> header{};
    const auto local = run.oldSource->ReadExact(entry.LocalOffset, raw) ? zip::LocalHeader::Parse(raw, true)
                                                                          : std::nullopt;
    const bool haveHeader = local && run.oldSource->ReadExact(entry.LocalOffset + local->DataOffset(), header);
    mx::codec::ZipCrypto keys;
    const auto fits = [&](const std::string& password) {
        return haveHeader && keys.CheckPassword(header, entry.Flags, password, uint16_t(entry.DosDate & 0xFFFF),
                                                entry.Crc);
    };
    if (fits(Password))
        return true;
    fw::TStringList* list = Passwords();
    for (int i = 0; i < list->Count(); ++i) {
        Password = list->Get(i);
        if (fits(Password))
            return true;
    }
    if (!OnGetPassword) {
        ReportError(name, "OnGetPassword", "0", 25270);
        return false;
    }
    for (int attempt = 0; attempt < 3; ++attempt) {
        bool tryAgain = true;
        std::string answer = run.lastAnswer;
        OnGetPassword(this, name, answer, tryAgain);
        run.lastAnswer = answer;
        Password = answer;
        if (!tryAgain)
            break;
        if (fits(answer)) {
            list->Insert(0, answer);
            return true;
        }
        Password.clear();
        ReportError(name, "", "0", 26517);
    }
    return false;
}

// ---- commit -----------------------------------------------------------------------------------------

void TZip::Commit(RunState& run)
{
    const bool deleting = Switch() == TSwitch::swDelete;
    if (run.recNum > 0 && run.ok && !run.cancelled) {
        if (!zip::WriteDirectory(*run.out, run.records))
            RaiseError(run.archive, "", "0", 25136);
        run.second.reset();
        // The old archive closes first: the system may not replace a file that is still open.
        run.CloseOld();
        const bool committed = run.out->Commit();
        run.out.reset();
        if (!committed) {
            ReportError(run.archive, "", "0", 25136);
            return;
        }
        run.result = true;
        if (deleting)
            return;
        try {
            ReportNewEntries(run);
            if (Switch() == TSwitch::swMove)
                DeleteMovedSources(run);
        } catch (...) {
            // The archive is written; what follows only reports on it.
        }
        return;
    }
    if (deleting && run.ok && !run.cancelled && run.records.empty() && run.old.Count() > 0) {
        // Every entry was deleted.
        run.CloseOld();
        if (DeleteFile(run.archive))
            archiveFile_.clear();
        return;
    }
    if (!run.cancelled)
        ReportError(run.archive, "", "0", 26999);
}

void TZip::ReportNewEntries(RunState& run)
{
    // The new directory is on disk: its records are not needed any more, and the archive is read
    // back only for a handler or for the sources a move deletes.
    std::vector<zip::CentralRecord>().swap(run.records);
    if (!OnRead && Switch() != TSwitch::swMove)
        return;
    run.oldHandle = OpenArchiveRead(run.archive);
    if (run.oldHandle == fw::kInvalidFile)
        return;
    const int64_t size = OpenFileSize(run.oldHandle);
    run.oldSource = std::make_unique<FileReadSource>(run.oldHandle, uint64_t(size < 0 ? 0 : size));
    uint64_t prefix = 0;
    if (zip::ReadDirectory(*run.oldSource, run.old, prefix) != zip::DirectoryResult::Ok)
        run.old.Clear();
    if (!OnRead)
        return;
    for (int i = 0; i < run.added.Count(); ++i) {
        const TZipCompObject& e = run.added.At(i);
        const int index = run.old.IndexOf(run.added.KeyAt(i));
        if (index < 0)
            continue;
        header_ = {e.VersionNeeded, e.Flags, e.Method, e.DosDate, e.Crc, e.CompressedSize, uint32_t(e.Size)};
        LoadEntry(run.added.KeyAt(i));
        ExternalAttr = e.Attr;
        InternalAttr = uint16_t(e.Attr & 0xFFFF);
        OnRead(this, int64_t(run.old.At(index).LocalOffset), index);
    }
}

// Only files whose data this run put into the archive (or found there identical) are deleted, and
// only while they are still as they were when they were read.
void TZip::DeleteMovedSources(RunState& run)
{
    for (const RunState::MovedSource& m : run.moveSources) {
        fw::FileEntry now;
        if (run.old.IndexOf(m.key) < 0 || !fw::Fs().Stat(m.path, now))
            continue;
        if (now.size == m.size && now.dosTime == m.dosTime)
            DeleteFile(m.path);
    }
}

void RegisterZipWriterClasses()
{
    RegisterClasses();
    using Z = TZip;
    fw::Class<TZip, TCompBase>("TZip")
        .Prop("DeflateType", &Z::DeflateType, &Z::SetDeflateType)
        .Prop("DefaultExt", &Z::GetDefaultExt, &Z::SetDefaultExt)
        .Prop("Password", &Z::GetPassword, &Z::SetPassword)
        .Prop("Passwords", &Z::Passwords, &Z::SetPasswords);
}

}  // namespace engine
