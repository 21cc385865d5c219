#include "engine/formats/lzh/writer/lha_component.h"

#include <algorithm>
#include <array>

#include "engine/codec/crc16.h"
#include "engine/codec/lzhuf.h"
#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/run_context.h"
#include "engine/core/wildcard.h"
#include "engine/formats/common/le_bytes.h"
#include "engine/formats/lzh/lha_header.h"
#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

constexpr size_t kMaxName = 233;  // the one-byte header size holds 22 + n
constexpr int kMaxFolderDepth = 256;

// Header reads over a stream, for the shared header reader.
class StreamSource final : public ReadAtSource {
public:
    explicit StreamSource(fw::TStream& stream) : stream_(stream), size_(stream.Size()) {}
    uint64_t Size() const override { return uint64_t(size_ > 0 ? size_ : 0); }
    size_t ReadAt(uint64_t offset, std::span<uint8_t> out) override
    {
        if (offset >= Size() || out.empty())
            return 0;
        stream_.Seek(int64_t(offset), fw::soFromBeginning);
        const int64_t got = stream_.Read(out.data(), int64_t(out.size()));
        return got > 0 ? size_t(got) : 0;
    }

private:
    fw::TStream& stream_;
    int64_t size_;
};

// The source file for LZHUF, with the CRC-16 kept over what is read.
class FileInput final : public mx::codec::ByteSource {
public:
    explicit FileInput(fw::TStream& in) : in_(in), buffer_(32768) {}
    mx::codec::Status Read(std::span<const uint8_t>& block) noexcept override
    {
        int64_t got = 0;
        try {
            got = in_.Read(buffer_.data(), int64_t(buffer_.size()));
        } catch (...) {
            return mx::codec::Status::Truncated;
        }
        if (got <= 0)
            return mx::codec::Status::End;
        block = std::span<const uint8_t>(buffer_.data(), size_t(got));
        mx::codec::UpdateCrc16(block, crc);
        return mx::codec::Status::Ok;
    }
    uint16_t crc = 0;

private:
    fw::TStream& in_;
    std::vector<uint8_t> buffer_;
};

// The temporary archive stream for LZHUF, counting the packed bytes.
class StreamOutput final : public mx::codec::ByteSink {
public:
    explicit StreamOutput(fw::TStream& out) : out_(out) {}
    mx::codec::Status Write(std::span<const uint8_t> block) noexcept override
    {
        try {
            if (out_.Write(block.data(), int64_t(block.size())) != int64_t(block.size()))
                return mx::codec::Status::OutputFull;
        } catch (...) {
            return mx::codec::Status::OutputFull;
        }
        written += block.size();
        return mx::codec::Status::Ok;
    }
    uint64_t written = 0;

private:
    fw::TStream& out_;
};

std::string Trimmed(const std::string& s)
{
    const size_t b = s.find_first_not_of(' '), e = s.find_last_not_of(' ');
    return b == std::string::npos ? std::string() : s.substr(b, e - b + 1);
}

// A level-0 header: size, checksum, method, sizes, time, attribute, level 0, the name, the CRC.
std::string Level0Header(const std::string& method, uint32_t packed, uint32_t size, uint32_t dosTime, uint8_t attr,
                         const std::string& name, uint16_t crc)
{
    std::string h(24 + name.size(), '\0');
    auto* p = reinterpret_cast<uint8_t*>(h.data());
    p[0] = uint8_t(22 + name.size());
    std::copy(method.begin(), method.end(), h.begin() + 2);
    PutLe32(p + 7, packed);
    PutLe32(p + 11, size);
    PutLe32(p + 15, dosTime);
    p[19] = attr;
    p[20] = 0;
    p[21] = uint8_t(name.size());
    std::copy(name.begin(), name.end(), h.begin() + 22);
    PutLe16(p + 22 + name.size(), crc);
    unsigned sum = 0;
    for (size_t i = 2; i < h.size(); ++i)
        sum += p[i];
    p[1] = uint8_t(sum);
    return h;
}

}  // namespace

struct TLha::RunState {
    bool isNew = false;
    fw::TStream* old = nullptr;
    std::vector<lha::LhaEntry> oldEntries;
    fw::TStringList oldList;  // stored names with TCompObject objects
    fw::TStringList newList;
    std::vector<std::string> writtenSources;  // full paths of the files whose data went in
    std::vector<std::unique_ptr<TCompObject>> objects;  // owned here, listed in the two lists
    std::unique_ptr<TTempFileStream> added;
    bool emptied = false;  // swDelete removed every entry

    void Remember(fw::TStringList& list, const std::string& name, uint32_t dosDate, int64_t size, uint32_t attr)
    {
        objects.push_back(std::make_unique<TCompObject>());
        objects.back()->DosDate = dosDate;
        objects.back()->Size = size;
        objects.back()->Attr = attr;
        list.AddObject(name, objects.back().get());
    }
};

TLha::TLha(fw::TComponent* owner) : TCompBase(owner)
{
    AllowedMethods = MethodBit(TCompressMethod::cmStore) | MethodBit(TCompressMethod::cmFrozen);
    SetCompressMethod(TCompressMethod::cmFrozen);
    SetArcType(TArcType::atLha);
}

TLha::~TLha() = default;

void TLha::SetArcType(TArcType) { TCompBase::SetArcType(TArcType::atLha); }

std::string TLha::GetDefaultExt()
{
    if (DefaultExt.empty())
        DefaultExt = "LZH";
    return DefaultExt;
}

void TLha::SetDefaultExt(const std::string& value)
{
    std::string ext = Trimmed(value);
    const size_t dot = ext.find('.');
    if (dot != std::string::npos)
        ext = ext.substr(dot + 1);
    ext = ext.substr(0, 3);
    DefaultExt = ext.empty() ? "LZH" : ext;
    if (!ArchiveFile().empty())
        SetArchiveFile(ArchiveFile());
}

bool TLha::NextHeader(std::string& name, fw::TStream& stream, bool)
{
    StreamSource source(stream);
    auto entry = std::make_unique<lha::LhaEntry>();
    const uint64_t pos = lha::FirstHeaderPos(source, uint64_t(std::max<int64_t>(NextHeaderPos, 0)));
    if (lha::ReadHeader(source, pos, *entry) != lha::HeaderStep::Entry || entry->nextPos <= pos)
        return false;
    name = entry->name;
    NextHeaderPos = entry->nextPos < source.Size() ? int64_t(entry->nextPos) : 0;
    stream.Seek(int64_t(entry->dataPos), fw::soFromBeginning);
    current_ = std::move(entry);
    return true;
}

void TLha::LoadEntry(const std::string& name)
{
    if (!current_)
        return;
    const lha::LhaEntry& e = *current_;
    FileName = OemToAnsiPath(name);
    if (e.UnixTime())
        Date = UnixToDateTimeNow(e.stamp);
    else if (e.stamp > 0)
        Date = DosDateToDateTime(e.stamp);
    VersionMadeBy = 122;
    PackedSize = int64_t(e.packedSize);
    UnpackedSize = e.size;
    CRC = e.crc;
    Encrypted = false;
    const char m = e.MethodLetter();
    MethodName = m == '0' ? "Stored" : (m >= '1' && m <= '5') ? std::string("Frozen-") + m : "Unknown";
    MethodNum = uint8_t(m);
    ExternalAttr = e.attr;
    Ratio = CalcRatio(PackedSize, UnpackedSize);
}

bool TLha::Activate()
{
    RunState run;
    const std::string savedDir = GetCurrentDir();
    const bool result = RunWriterFrame(
        true,
        [&](fw::TStream& out, fw::TStream* old) {
            // The second temporary stream closes before the run deletes its file.
            bool ok = false;
            try {
                ok = Body(run, out, old);
            } catch (...) {
                run.added.reset();
                throw;
            }
            run.added.reset();
            return ok;
        },
        [&] {
            if (Switch() == TSwitch::swDelete)
                return;
            ListArchive();
            if (Switch() == TSwitch::swMove)
                DeleteMovedSources(run);
        });
    SetCurrentDir(savedDir);
    if (run.emptied) {
        // Every entry was deleted: the archive goes.
        const std::string archive = Trimmed(ArchiveFile());
        if (DeleteFile(archive))
            SetArchiveFile("");
        return true;
    }
    return result;
}

bool TLha::Body(RunState& run, fw::TStream& out, fw::TStream* old)
{
    run.isNew = old == nullptr;
    run.old = old;
    if (old) {
        try {
            StreamSource source(*old);
            uint64_t pos = lha::FirstHeaderPos(source, HeaderPos > 1 ? uint64_t(HeaderPos - 1) : 0);
            lha::LhaEntry e;
            for (;;) {
                const lha::HeaderStep step = lha::ReadHeader(source, pos, e);
                if (step == lha::HeaderStep::End)
                    break;
                // An archive that cannot be walked to its end would lose the entries after the
                // damage: it is left as it is.
                if (step == lha::HeaderStep::Damaged || e.nextPos <= pos || e.nextPos > source.Size()) {
                    ReportError(ArchiveFile(), lha::DamagePlace(pos), "0", 25108);
                    return false;
                }
                run.oldEntries.push_back(e);
                run.Remember(run.oldList, e.name,
                             e.UnixTime() ? DateTimeToDosDate(UnixToDateTimeNow(e.stamp)) : e.stamp, e.size, e.attr);
                pos = e.nextPos;
            }
        } catch (const std::exception&) {
            ReportError(ArchiveFile(), "", "0", 25298);
            return false;
        }
    }
    int counted = 0;
    if (Switch() == TSwitch::swDelete) {
        for (const lha::LhaEntry& e : run.oldEntries) {
            bool drop = false;
            for (int i = 0; i < FileSpecList()->Count() && !drop; ++i) {
                const std::string line = FileSpecList()->Get(i);
                if (WildcardMatch(OemToAnsiPath(e.name), line, true)) {
                    drop = true;
                    bool extract = true;
                    if (OnBegin)
                        OnBegin(this, line, i, extract);
                    if (OnEnd)
                        OnEnd(this, line, true);
                }
            }
            if (!drop) {
                CopyEntry(run, out, e);
                ++counted;
            }
        }
        if (counted == 0) {
            run.emptied = true;
            return false;
        }
    } else {
        run.added = std::make_unique<TTempFileStream>();
        for (int i = 0; i < FileSpecList()->Count() && !Aborted(); ++i) {
            const std::string line = ToBackslashes(FileSpecList()->Get(i));
            std::string folder = ExtractFilePath(line);
            if (folder.empty()) {
                folder = DefaultDir();
                if (!DirectoryExists(folder))
                    continue;
            }
            if (!SetCurrentDir(folder))
                continue;
            BaseDir = CurrentDir = AppendBackslash(ToBackslashes(GetCurrentDir()));
            SearchFolder(run, ExtractFileName(line), 0);
        }
        if (Aborted())
            return false;
        if (FileCount == 0) {
            ReportError(ArchiveFile(), "", "0", 26999);
            return false;
        }
        for (const lha::LhaEntry& e : run.oldEntries)
            if (run.newList.IndexOf(e.name) < 0)
                CopyEntry(run, out, e);
        run.added->Seek(0, fw::soFromBeginning);
        CopyStream(*run.added, out, run.added->Size());
    }
    const uint8_t end = 0;
    if (out.Write(&end, 1) != 1)
        RaiseError(ArchiveFile(), "", "0", 25136);
    return true;
}

void TLha::CopyEntry(RunState& run, fw::TStream& out, const lha::LhaEntry& e)
{
    run.old->Seek(int64_t(e.headerPos), fw::soFromBeginning);
    CopyStream(*run.old, out, int64_t(e.Span()));
}

void TLha::CopyStream(fw::TStream& from, fw::TStream& out, int64_t count)
{
    // A failed read or write ends the run with its report; the old archive stays as it is.
    try {
        if (count > 0)
            out.CopyFrom(from, count);
    } catch (const fw::EReadError&) {
        RaiseError(ArchiveFile(), "", "0", 25236);
    } catch (const fw::EWriteError&) {
        RaiseError(ArchiveFile(), "", "0", 25136);
    }
}

void TLha::SearchFolder(RunState& run, const std::string& mask, int depth)
{
    if (depth > kMaxFolderDepth)
        return;
    ProcessMessages();
    if (Aborted())
        return;
    const uint32_t filter = FileAttribute() ? FileAttribute()->Mask() : 0x27;
    for (const fw::FileEntry& f : FindFiles(CurrentDir, mask, filter)) {
        if (Aborted())
            return;
        if (f.attr & kAttrDirectory)
            continue;
        if (f.attr == kAttrArchive && !(filter & kAttrArchive))
            continue;
        BuildFileName(f.name);
        AddFile(run, f);
    }
    if (!RecurseDirs())
        return;
    std::vector<fw::FileEntry> all;
    if (!fw::Fs().List(CurrentDir, "*.*", all))
        return;
    for (const fw::FileEntry& d : all) {
        if (Aborted())
            return;
        if (!(d.attr & fw::faDirectory) || d.name.empty() || d.name[0] == '.')
            continue;
        const std::string parent = CurrentDir;
        if (!SetCurrentDir(AppendBackslash(parent) + d.name))
            continue;
        CurrentDir = AppendBackslash(ToBackslashes(GetCurrentDir()));
        if (OnRecurseDir)
            OnRecurseDir(this, CurrentDir);
        SearchFolder(run, mask, depth + 1);
        SetCurrentDir(parent);
        CurrentDir = parent;
    }
}

void TLha::AddFile(RunState& run, const fw::FileEntry& found)
{
    const std::string name = FileName;  // the stored name, OEM
    const std::string path = AppendBackslash(CurrentDir) + found.name;
    if (name.empty() || name.size() > kMaxName) {
        ReportError(path, "", "0", 25243);
        return;
    }
    std::unique_ptr<fw::TFileStream> in;
    try {
        in = std::make_unique<fw::TFileStream>(path, fw::fmOpenRead | fw::fmShareDenyNone);
    } catch (const std::exception&) {
        ReportError(path, "", "0", 25235);
        return;
    }
    const int64_t size = in->Size();
    if (size < 0 || size > 0xFFFFFFFFll) {
        ReportError(path, "", "0", 25235);
        return;
    }
    const int64_t age = FileAge(path);
    const uint32_t dosTime = age > 0 ? uint32_t(age) : found.dosTime;
    const uint8_t attr = uint8_t(found.attr);
    if (!MayAddFile(run.isNew, &run.oldList, name, size, dosTime, attr, true))
        return;
    const bool flat = StoredDirNames() == TStoredDirNames::sdNone && RecurseDirs() &&
                      UpperCase(CurrentDir) != UpperCase(BaseDir);
    if (flat && !MayAddFile(false, &run.newList, name, size, dosTime, attr, false))
        return;
    if (OnBegin) {
        bool extract = true;
        OnBegin(this, name, FileCount + 1, extract);
        if (!extract)
            return;
    }
    run.Remember(run.newList, name, dosTime, size, attr);

    fw::TStream& out = *run.added;
    const int64_t headerPos = out.Position();
    std::string header = Level0Header("-lh1-", 0, uint32_t(size), dosTime, attr, name, 0);
    if (out.Write(header.data(), int64_t(header.size())) != int64_t(header.size()))
        RaiseError(name, "", "0", 25136);
    std::string method = "-lh1-";
    uint64_t packed = 0;
    uint16_t crc = 0;
    BeginEntryProgress(size);
    if (size > 0 && CompressMethod() == TCompressMethod::cmStore) {
        method = "-lh0-";
        ReportProgress(0, size);
        std::vector<uint8_t> buffer(32768);
        for (int64_t done = 0; done < size;) {
            const int64_t got = in->Read(buffer.data(), std::min<int64_t>(int64_t(buffer.size()), size - done));
            if (got <= 0)
                RaiseError(path, "", "0", 25298);
            if (out.Write(buffer.data(), got) != got)
                RaiseError(name, "", "0", 25136);
            mx::codec::UpdateCrc16({buffer.data(), size_t(got)}, crc);
            done += got;
        }
        packed = uint64_t(size);
        ReportProgress(size, size);
    } else if (size > 0) {
        FileInput input(*in);
        StreamOutput output(out);
        const mx::codec::Status status = mx::codec::LzhufEncode(input, output);
        if (status == mx::codec::Status::NoMemory)
            RaiseError(name, "", "0", 25253);
        if (status != mx::codec::Status::Ok)
            RaiseError(name, "", "0", 25136);
        packed = output.written;
        crc = input.crc;
        ReportProgress(size, size);
    }
    if (packed > 0xFFFFFFFFull)
        RaiseError(name, "", "0", 25136);
    header = Level0Header(method, uint32_t(packed), uint32_t(size), dosTime, attr, name, crc);
    const int64_t end = out.Position();
    out.Seek(headerPos, fw::soFromBeginning);
    if (out.Write(header.data(), int64_t(header.size())) != int64_t(header.size()))
        RaiseError(name, "", "0", 25136);
    out.Seek(end, fw::soFromBeginning);
    TotalPackedSize += int64_t(packed);
    TotalUnpackedSize += size;
    run.writtenSources.push_back(path);
    ++FileCount;
    if (OnEnd)
        OnEnd(this, name, true);
}

void TLha::DeleteMovedSources(RunState& run)
{
    // Only the files whose data went into the archive in this run; a file kept out (an older
    // entry kept, declined by OnBegin, a duplicate name) stays where it is.
    for (const std::string& path : run.writtenSources)
        DeleteFile(path);
}

void RegisterLhaWriterClasses()
{
    RegisterClasses();
    using L = TLha;
    fw::Class<TLha, TCompBase>("TLha").Prop("DefaultExt", &L::GetDefaultExt, &L::SetDefaultExt);
}

}  // namespace engine
