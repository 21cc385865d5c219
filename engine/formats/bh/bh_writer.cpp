#include "engine/formats/bh/bh_writer.h"

#include <array>
#include <memory>
#include <set>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/codec/zipcrypt.h"
#include "engine/core/e_raise.h"
#include "engine/core/file_routines.h"
#include "engine/core/register_classes.h"
#include "engine/core/wildcard.h"
#include "engine/formats/bh/fused.h"
#include "engine/formats/common/file_source.h"
#include "engine/formats/methods/method_names.h"
#include "framework/core/exceptions.h"
#include "framework/core/rtti.h"

namespace engine {

namespace {

constexpr int kMaxFolderDepth = 64;

// Reads at offsets of a framework stream.
class StreamSource final : public ReadAtSource {
public:
    explicit StreamSource(fw::TStream& s) : s_(s), size_(uint64_t(s.Size())) {}
    uint64_t Size() const override { return size_; }
    size_t ReadAt(uint64_t offset, std::span<uint8_t> out) override
    {
        if (offset >= size_)
            return 0;
        s_.Seek(int64_t(offset), fw::soFromBeginning);
        const int64_t got = s_.Read(out.data(), int64_t(out.size()));
        return got > 0 ? size_t(got) : 0;
    }

private:
    fw::TStream& s_;
    uint64_t size_;
};

// Every record of a BH archive; false when one of them is damaged (rewriting would lose entries).
bool ReadEntries(ReadAtSource& source, std::vector<bh::Header>& entries)
{
    uint64_t pos = 0;
    bh::Header h;
    for (;;) {
        const bh::Read r = bh::ReadHeader(source, pos, h);
        if (r == bh::Read::End)
            return true;
        if (r == bh::Read::SkipRecord) {
            pos += bh::kHeaderSize;
            continue;
        }
        if (r == bh::Read::Broken || h.DataPos() + h.packedSize > source.Size())
            return false;
        entries.push_back(h);
        pos = h.DataPos() + h.packedSize;
    }
}

void WriteAll(fw::TStream& out, const void* data, int64_t count)
{
    if (count > 0 && out.Write(data, count) != count)
        throw E_RAISE(25136);
}

}  // namespace

struct TBlakHole::Run {
    std::vector<bh::Header> old;
    fw::TStringList oldNames;  // stored names with TCompObject objects, for MayAddFile
    std::vector<Source> sources;
    std::set<std::string> newNames;  // upper-case stored names added in this run
    std::vector<std::string> added;  // source paths of the files added
    bool passwordFailed = false;
    bool removedAll = false;
    ~Run()
    {
        for (int i = 0; i < oldNames.Count(); ++i)
            delete oldNames.Objects(i);
    }
};

TBlakHole::TBlakHole(fw::TComponent* owner) : TCompBase(owner)
{
    AllowedMethods = MethodBit(TCompressMethod::cmStore) | MethodBit(TCompressMethod::cmFuse);
    SetCompressMethod(TCompressMethod::cmFuse);
    TCompBase::SetArcType(TArcType::atBh);
    DefaultExt = "BH";
}

void TBlakHole::SetDefaultExt(const std::string& value)
{
    std::string v = value;
    const size_t b = v.find_first_not_of(' '), e = v.find_last_not_of(' ');
    v = b == std::string::npos ? std::string() : v.substr(b, e - b + 1);
    if (const size_t dot = v.find('.'); dot != std::string::npos)
        v = v.substr(dot + 1);
    v = v.substr(0, 3);
    DefaultExt = v.empty() ? "BH" : v;
    if (!ArchiveFile().empty() && !Running())
        SetArchiveFile(ArchiveFile());
}

bool TBlakHole::NextHeader(std::string& name, fw::TStream& stream, bool)
{
    StreamSource source(stream);
    for (;;) {
        const bh::Read r = bh::ReadHeader(source, uint64_t(NextHeaderPos), current_);
        if (r == bh::Read::SkipRecord) {
            NextHeaderPos += bh::kHeaderSize;
            continue;
        }
        if (r != bh::Read::Ok)
            return false;
        name = current_.name;
        NextHeaderPos = int64_t(current_.DataPos() + current_.packedSize);
        stream.Seek(int64_t(current_.pos + bh::kHeaderSize + current_.name.size()), fw::soFromBeginning);
        return true;
    }
}

void TBlakHole::LoadEntry(const std::string& name)
{
    FileName = OemToAnsiPath(name);
    VersionMadeBy = current_.versionMadeBy;
    VersionNeeded = current_.versionNeeded;
    if (current_.dosStamp > 0)
        Date = DosDateToDateTime(current_.dosStamp);
    PackedSize = current_.packedSize;
    UnpackedSize = current_.unpackedSize;
    CRC = current_.crc;
    Encrypted = current_.Encrypted();
    MethodNum = current_.method;
    MethodName = MethodNameOf(TArcType::atBh, current_.method);
    ExternalAttr = current_.attr;
    Ratio = CalcRatio(PackedSize, UnpackedSize);
}

bool TBlakHole::Activate()
{
    Run run;
    const std::string archive = ArchiveFile();
    bool result = false;
    try {
        result = RunWriterFrame(
            true, [&](fw::TStream& out, fw::TStream* old) { return Body(run, out, old); },
            [&] { ReportAdded(run); });
    } catch (...) {
        result = false;
    }
    if (Switch() == TSwitch::swRead)
        return result;
    if (run.removedAll) {
        DeleteFile(archive);
        SetArchiveFile("");
    } else if (result && Switch() == TSwitch::swMove) {
        // Only the files written into the archive in this run go.
        for (const std::string& path : run.added)
            DeleteFile(path);
    }
    return result;
}

bool TBlakHole::Body(Run& run, fw::TStream& out, fw::TStream* old)
{
    if (old) {
        StreamSource source(*old);
        if (!ReadEntries(source, run.old)) {
            ReportError(ArchiveFile(), "", "0", 25108);
            return false;
        }
        for (const bh::Header& h : run.old) {
            auto* o = new TCompObject;
            o->DosDate = h.dosStamp;
            o->Size = h.unpackedSize;
            o->Attr = h.attr;
            run.oldNames.AddObject(h.name, o);
        }
    }
    // A failed write of the new archive ends the run with a report; the old archive stays as it is.
    const auto copyEntry = [&](const bh::Header& h) {
        old->Seek(int64_t(h.pos), fw::soFromBeginning);
        const int64_t length = int64_t(h.DataPos() + h.packedSize - h.pos);
        try {
            out.CopyFrom(*old, length);
        } catch (const fw::EReadError&) {
            RaiseError(ArchiveFile(), "", "0", 25236);
        } catch (const fw::EWriteError&) {
            RaiseError(ArchiveFile(), "", "0", 25136);
        }
    };
    if (Switch() == TSwitch::swDelete) {
        int removed = 0;
        for (const bh::Header& h : run.old) {
            ProcessMessages();
            if (Aborted())
                return false;
            int item = -1;
            for (int i = 0; i < FileSpecList()->Count() && item < 0; ++i)
                if (WildcardMatch(OemToAnsiPath(h.name), FileSpecList()->Get(i), true))
                    item = i;
            if (item < 0) {
                copyEntry(h);
                ++FileCount;
                continue;
            }
            if (h.Encrypted() && !ConfirmPassword(h, *old)) {
                run.passwordFailed = true;
                Cancel(this, true);
                return false;
            }
            bool answer = true;
            if (OnBegin)
                OnBegin(this, FileSpecList()->Get(item), item, answer);
            if (OnEnd)
                OnEnd(this, FileSpecList()->Get(item), true);
            ++removed;
        }
        if (FileCount == 0 && removed > 0) {
            run.removedAll = true;
            return false;
        }
        if (removed == 0) {
            ReportError(ArchiveFile(), "", "0", 26999);
            return false;
        }
    } else {
        for (int i = 0; i < FileSpecList()->Count() && !Aborted(); ++i) {
            const std::string item = ToBackslashes(FileSpecList()->Get(i));
            std::string folder = ExtractFilePath(item);
            if (folder.empty()) {
                if (!DirectoryExists(DefaultDir()))
                    continue;
                folder = DefaultDir();
            }
            folder = AppendBackslash(ToBackslashes(ExpandFileName(folder)));
            BaseDir = folder;
            Scan(run, folder, ExtractFileName(item), 0);
        }
        // The kept old entries first, in their order, then the new ones.
        for (const bh::Header& h : run.old)
            if (!run.newNames.count(UpperCase(h.name)))
                copyEntry(h);
        for (const Source& s : run.sources) {
            FileName = s.stored;
            if (!Aborted() && AddFile(run, out, s)) {
                run.added.push_back(s.path);
                continue;
            }
            // A file left out does not cost the old entry it was to replace.
            for (const bh::Header& h : run.old)
                if (UpperCase(h.name) == UpperCase(s.stored))
                    copyEntry(h);
            run.newNames.erase(UpperCase(s.stored));
        }
        if (FileCount == 0) {
            ReportError(ArchiveFile(), "", "0", 26999);
            return false;
        }
    }
    // The archive's length, these four bytes included.
    const uint32_t length = uint32_t(out.Size() + 4);
    std::array<uint8_t, 4> tail = {uint8_t(length), uint8_t(length >> 8), uint8_t(length >> 16), uint8_t(length >> 24)};
    out.Seek(0, fw::soFromEnd);
    if (out.Write(tail.data(), 4) != 4)
        RaiseError(ArchiveFile(), "", "0", 25136);
    return !Aborted();
}

void TBlakHole::Scan(Run& run, const std::string& folder, const std::string& mask, int depth)
{
    if (depth > kMaxFolderDepth)
        RaiseError(folder, "", "0", 25263);
    const uint32_t filter = FileAttribute()->Mask();
    CurrentDir = folder;
    for (const fw::FileEntry& f : FindFiles(folder, mask, filter)) {
        ProcessMessages();
        if (Aborted())
            return;
        if ((f.attr & kAttrDirectory) || (f.attr == kAttrArchive && !(filter & kAttrArchive)))
            continue;
        CurrentDir = folder;
        BuildFileName(f.name);
        if (FileName.size() > bh::kMaxName) {
            ReportError(folder + f.name, "", "0", 25243);
            continue;
        }
        const std::string key = UpperCase(FileName);
        if (run.newNames.count(key))
            continue;  // one entry per stored name
        if (!MayAddFile(false, &run.oldNames, FileName, f.size, f.dosTime, f.attr, true))
            continue;
        run.newNames.insert(key);
        run.sources.push_back({folder + f.name, FileName, f.attr, f.dosTime, f.size});
    }
    if (!RecurseDirs())
        return;
    std::vector<fw::FileEntry> all;
    if (!fw::Fs().List(folder, "*.*", all))
        return;
    for (const fw::FileEntry& d : all) {
        if (Aborted())
            return;
        if (!(d.attr & fw::faDirectory) || d.name.empty() || d.name[0] == '.')
            continue;
        const std::string sub = folder + d.name + "\\";
        CurrentDir = sub;
        if (OnRecurseDir)
            OnRecurseDir(this, sub);
        Scan(run, sub, mask, depth + 1);
    }
}

bool TBlakHole::AddFile(Run& run, fw::TStream& out, const Source& s)
{
    bool accept = true;
    if (OnBegin)
        OnBegin(this, FileName, FileCount + 1, accept);
    if (!accept)
        return false;
    int error = 0;
    const fw::FileHandle file =
        fw::Fs().Open(s.path, fw::FileAccess::Read, fw::FileShare::DenyNone, fw::FileCreate::OpenExisting, &error);
    if (file == fw::kInvalidFile) {
        ReportError(s.path, "", "0", 25235);
        return false;
    }
    struct Closer {
        fw::FileHandle h;
        ~Closer() { CloseFile(h); }
    } closer{file};
    const int64_t size = OpenFileSize(file);
    out.Seek(0, fw::soFromEnd);
    const int64_t start = out.Position();
    // A fresh header: nothing is left over from a header read or written before.
    bh::Header h;
    h.name = s.stored;
    h.headerSize = uint16_t(bh::kHeaderSize + h.name.size());
    h.dosStamp = s.stamp;
    h.unpackedSize = uint32_t(size);
    h.attr = uint16_t(s.attr);
    h.crc = 0xFFFFFFFFu;
    const bool encrypt = !Password.empty() && size > 0;
    h.flags = encrypt ? bh::kFlagEncrypted : 0;
    const auto writeHeader = [&] {
        out.Seek(start, fw::soFromBeginning);
        const auto raw = h.Encode();
        WriteAll(out, raw.data(), int64_t(raw.size()));
        WriteAll(out, h.name.data(), int64_t(h.name.size()));
    };
    const auto dropEntry = [&] {
        out.SetSize(start);
        out.Seek(start, fw::soFromBeginning);
    };
    try {
        writeHeader();
        if (size > 0) {
            const int64_t dataStart = start + h.headerSize + (encrypt ? 12 : 0);
            mx::codec::ZipCrypto keys;
            uint32_t crc = 0xFFFFFFFFu;
            int64_t written = 0;
            bool readFailed = false;
            const auto writeData = [&](const uint8_t* data, size_t count) {
                std::vector<uint8_t> buf(data, data + count);
                if (encrypt)
                    keys.Encrypt(buf);
                const bool ok = out.Write(buf.data(), int64_t(count)) == int64_t(count);
                written += ok ? int64_t(count) : 0;
                return ok;
            };
            const auto readSource = [&](uint8_t* buffer, size_t count) -> int64_t {
                const int64_t got = fw::Fs().Read(file, buffer, int64_t(count));
                if (got < 0) {
                    readFailed = true;
                    return -1;
                }
                mx::codec::UpdateCrc32(std::span<const uint8_t>(buffer, size_t(got)), crc);
                return got;
            };
            BeginEntryProgress(size);
            bool stored = CompressMethod() != TCompressMethod::cmFuse;
            if (!stored) {
                if (encrypt)
                    keys.InitKeys(Password);
                out.Seek(dataStart, fw::soFromBeginning);
                int64_t reported = 0;
                const bh::FuseResult r = bh::FuseEncode(readSource, writeData, [&](uint64_t done) {
                    CountInputBytes(int64_t(done) - reported);
                    reported = int64_t(done);
                });
                if (readFailed || (r.failed && !r.unpackable) || (r.failed && readFailed)) {
                    ReportError(s.path, "", "0", 25236);
                    dropEntry();
                    return false;
                }
                if (r.failed)
                    throw E_RAISE(25136);
                stored = r.unpackable;
                if (!stored) {
                    h.method = bh::kMethodFused;
                    h.packedSize = uint32_t(r.compressedSize);
                }
            }
            if (stored) {
                // Stored, also when the compressor gave up: from the source's start again.
                h.method = bh::kMethodStored;
                crc = 0xFFFFFFFFu;
                written = 0;
                if (OnProgress)
                    OnProgress(this, 0);
                out.SetSize(dataStart);
                out.Seek(dataStart, fw::soFromBeginning);
                if (encrypt)
                    keys.InitKeys(Password);
                fw::Fs().Seek(file, 0, fw::SeekOrigin::Begin);
                std::vector<uint8_t> buf(32768);
                int64_t left = size;
                while (left > 0) {
                    const int64_t got = readSource(buf.data(), size_t(std::min<int64_t>(left, int64_t(buf.size()))));
                    if (got <= 0) {
                        ReportError(s.path, "", "0", 25236);
                        dropEntry();
                        return false;
                    }
                    if (!writeData(buf.data(), size_t(got)))
                        throw E_RAISE(25136);
                    left -= got;
                }
                h.packedSize = uint32_t(size);
                if (OnProgress)
                    OnProgress(this, 100);
            }
            h.crc = crc;
            if (encrypt) {
                std::array<uint8_t, mx::codec::ZipCrypto::kHeaderSize> header{};
                keys.MakeEncryptionHeader(Password, crc, header);
                out.Seek(start + h.headerSize, fw::soFromBeginning);
                WriteAll(out, header.data(), int64_t(header.size()));
                h.packedSize += 12;
            }
        }
        writeHeader();
        out.Seek(0, fw::soFromEnd);
    } catch (const E_RAISE&) {
        ReportError(FileName, "", "0", 25136);
        dropEntry();
        if (OnEnd)
            OnEnd(this, FileName, false);
        throw;
    }
    TotalPackedSize += h.packedSize;
    TotalUnpackedSize += h.unpackedSize;
    ++FileCount;
    if (OnEnd)
        OnEnd(this, FileName, true);
    return true;
}

bool TBlakHole::ConfirmPassword(const bh::Header& h, fw::TStream& old)
{
    std::array<uint8_t, mx::codec::ZipCrypto::kHeaderSize> header{};
    old.Seek(int64_t(h.DataPos()), fw::soFromBeginning);
    if (old.Read(header.data(), int64_t(header.size())) != int64_t(header.size()))
        return true;  // no encryption header to check against: deleted without a password
    mx::codec::ZipCrypto keys;
    const auto fits = [&](const std::string& p) {
        return keys.CheckPassword(header, h.flags & bh::kFlagTimeCheck, p, uint16_t(h.dosStamp & 0xFFFF), h.crc);
    };
    if (fits(Password))
        return true;
    for (int i = 0; i < Passwords()->Count(); ++i)
        if (fits(Passwords()->Get(i))) {
            Password = Passwords()->Get(i);
            return true;
        }
    if (!OnGetPassword) {
        ReportError(ArchiveFile(), "OnGetPassword", "0", 25270);
        return false;
    }
    for (int round = 0; round < 3; ++round) {
        bool tryAgain = true;
        OnGetPassword(this, OemToAnsiPath(h.name), Password, tryAgain);
        if (!tryAgain)
            return false;
        if (fits(Password)) {
            Passwords()->Insert(0, Password);
            return true;
        }
        Password.clear();
        ReportError(OemToAnsiPath(h.name), "", "0", 26517);
    }
    return false;
}

void TBlakHole::ReportAdded(Run& run)
{
    if (!OnRead || run.added.empty())
        return;
    fw::TFileStream stream(ArchiveFile(), fw::fmOpenRead | fw::fmShareDenyNone);
    StreamSource source(stream);
    std::vector<bh::Header> entries;
    ReadEntries(source, entries);
    for (size_t i = 0; i < entries.size(); ++i) {
        if (!run.newNames.count(UpperCase(entries[i].name)))
            continue;
        current_ = entries[i];
        LoadEntry(entries[i].name);
        OnRead(this, int64_t(entries[i].pos), int(i));
    }
}

void RegisterBhWriterClasses()
{
    RegisterClasses();
    using B = TBlakHole;
    fw::Class<TBlakHole, TCompBase>("TBlakHole")
        .Prop("DefaultExt", &B::GetDefaultExt, &B::SetDefaultExt)
        .Prop("Password", &B::GetPassword, &B::SetPassword);
}

}  // namespace engine
