#include "engine/formats/zip/writer/zip_entry_writer.h"

#include <array>
#include <vector>

#include "engine/codec/crc32.h"
#include "engine/codec/deflate.h"
#include "engine/codec/zipcrypt.h"
#include "engine/core/zip_common.h"
#include "engine/formats/zip/writer/zip_rebuild.h"

namespace engine::zip {

namespace {

using mx::codec::Status;

constexpr int64_t kBlock = 32768;

// Hands the source file to the compressor in blocks, keeping the running CRC-32 and reporting
// progress by input bytes. Reading more bytes than the file had when it was opened counts as a change.
class FileSource final : public mx::codec::ByteSource {
public:
    FileSource(fw::FileHandle file, int64_t size, TAwkMain& meter) : file_(file), size_(size), meter_(meter) {}
    Status Read(std::span<const uint8_t>& block) noexcept override
    {
        const int64_t n = fw::Fs().Read(file_, buffer_.data(), int64_t(buffer_.size()));
        if (n < 0) {
            failed_ = true;
            return Status::Truncated;
        }
        if (n == 0)
            return Status::End;
        read_ += n;
        if (read_ > size_) {
            failed_ = true;
            return Status::Truncated;
        }
        mx::codec::UpdateCrc32(std::span<const uint8_t>(buffer_.data(), size_t(n)), crc_);
        try {
            meter_.CountInputBytes(n);
        } catch (...) {
            failed_ = true;
            return Status::Cancelled;
        }
        block = std::span<const uint8_t>(buffer_.data(), size_t(n));
        return Status::Ok;
    }
    bool Failed() const { return failed_ || read_ != size_; }
    uint32_t Crc() const { return crc_; }

private:
    fw::FileHandle file_;
    int64_t size_;
    TAwkMain& meter_;
    std::array<uint8_t, size_t(kBlock)> buffer_;  // filled by each read before it is used
    int64_t read_ = 0;
    uint32_t crc_ = 0xFFFFFFFFu;
    bool failed_ = false;
};

// Takes the compressor's output, enciphers it when the entry is encrypted and writes it, counting
// the bytes. A short write ends the compression.
class OutSink final : public mx::codec::ByteSink {
public:
    OutSink(fw::TStream& out, mx::codec::ZipCrypto* keys) : out_(out), keys_(keys) {}
    Status Write(std::span<const uint8_t> block) noexcept override
    {
        try {
            const uint8_t* data = block.data();
            if (keys_) {
                scratch_.assign(block.begin(), block.end());
                keys_->Encrypt(scratch_);
                data = scratch_.data();
            }
            if (!WriteAll(out_, data, int64_t(block.size()))) {
                failed_ = true;
                return Status::OutputFull;
            }
        } catch (...) {
            failed_ = true;
            return Status::OutputFull;
        }
        written_ += block.size();
        return Status::Ok;
    }
    uint64_t Written() const { return written_; }
    bool Failed() const { return failed_; }

private:
    fw::TStream& out_;
    mx::codec::ZipCrypto* keys_;
    std::vector<uint8_t> scratch_;
    uint64_t written_ = 0;
    bool failed_ = false;
};

bool WriteHeader(fw::TStream& out, const LocalHeader& h, int64_t at)
{
    const auto bytes = h.Encode();
    if (out.Seek(at, fw::soFromBeginning) != at)
        return false;
    return WriteAll(out, bytes.data(), int64_t(bytes.size()));
}

}  // namespace

bool SourceCrc(fw::FileHandle file, int64_t size, uint32_t& crc)
{
    if (fw::Fs().Seek(file, 0, fw::SeekOrigin::Begin) != 0)
        return false;
    std::vector<uint8_t> buffer(static_cast<size_t>(kBlock));
    uint32_t reg = 0xFFFFFFFFu;
    int64_t total = 0;
    for (;;) {
        const int64_t n = fw::Fs().Read(file, buffer.data(), kBlock);
        if (n < 0)
            return false;
        if (n == 0)
            break;
        total += n;
        mx::codec::UpdateCrc32(std::span<const uint8_t>(buffer.data(), size_t(n)), reg);
    }
    crc = ~reg;
    return total == size && fw::Fs().Seek(file, 0, fw::SeekOrigin::Begin) == 0;
}

NewEntryResult ZipEntryWriter::WriteWhole(fw::FileHandle source, int64_t size, const std::string& storedName,
                                          const NewEntrySettings& settings, LocalHeader& header)
{
    // One byte more than the file holds is asked for: getting it would mean the file grew.
    std::vector<uint8_t> data(size_t(size) + 1);
    if (fw::Fs().Read(source, data.data(), size + 1) != size)
        return NewEntryResult::SourceFailed;
    data.resize(size_t(size));
    meter_.BeginEntryProgress(size);
    if (!settings.deflate)
        TZipCommon::ReportProgress(0, size);
    try {
        meter_.CountInputBytes(size);
    } catch (...) {
        return NewEntryResult::SourceFailed;
    }
    dataCrc_ = mx::codec::Crc32(data);

    std::vector<uint8_t> packed;
    if (settings.deflate) {
        mx::codec::SpanSource in(data);
        mx::codec::VectorSink sink(packed);
        mx::codec::DeflateResult result;
        if (deflater_.Run(in, sink, settings.level, result) != Status::Ok)
            return NewEntryResult::SourceFailed;
        if (result.stored)
            header.method = 0;
        else
            header.flags |= result.optionBits;
    } else {
        header.method = 0;
        packed = std::move(data);
    }
    std::array<uint8_t, mx::codec::ZipCrypto::kHeaderSize> eh{};
    if (header.flags & kFlagEncrypted) {
        mx::codec::ZipCrypto keys;
        keys.MakeEncryptionHeader(settings.password, dataCrc_, eh);
        keys.Encrypt(packed);
    }
    header.crc = dataCrc_;
    header.compressedSize = uint32_t(packed.size() + ((header.flags & kFlagEncrypted) ? eh.size() : 0));
    TZipCommon::ReportProgress(size, size);
    const auto bytes = header.Encode();
    if (!WriteAll(out_, bytes.data(), int64_t(bytes.size())) ||
        !WriteAll(out_, storedName.data(), int64_t(storedName.size())) ||
        ((header.flags & kFlagEncrypted) && !WriteAll(out_, eh.data(), int64_t(eh.size()))) ||
        !WriteAll(out_, packed.data(), int64_t(packed.size())))
        return NewEntryResult::WriteFailed;
    return NewEntryResult::Ok;
}

NewEntryResult ZipEntryWriter::Write(fw::FileHandle source, int64_t size, const std::string& storedName,
                                     uint32_t dosTime, const NewEntrySettings& settings, LocalHeader& header)
{
    dataCrc_ = 0;
    if (size < 0 || size >= int64_t(0xFFFFFFFFu) || storedName.size() > 0xFFFF)
        return NewEntryResult::SourceFailed;
    const bool encrypted = !settings.password.empty() && size > 0;
    header = LocalHeader{};
    header.versionNeeded = 2;
    header.flags = encrypted ? kFlagEncrypted : 0;
    header.method = 8;
    header.time = uint16_t(dosTime & 0xFFFF);
    header.date = uint16_t(dosTime >> 16);
    header.uncompressedSize = uint32_t(size);
    header.nameLength = uint16_t(storedName.size());

    // A file that fits the read buffer is read and compressed first, so that its header goes out
    // complete, with the entry's data behind it.
    if (size > 0 && size <= kBlock)
        return WriteWhole(source, size, storedName, settings, header);

    const int64_t start = out_.Position();
    if (!WriteHeader(out_, header, start) || !WriteAll(out_, storedName.data(), int64_t(storedName.size())))
        return NewEntryResult::WriteFailed;

    if (size == 0) {
        // An empty file is a stored, unencrypted entry.
        header.flags = 0;
        header.method = 0;
        header.crc = 0;
        header.compressedSize = 0;
        if (!WriteHeader(out_, header, start) || out_.Seek(0, fw::soFromEnd) < 0)
            return NewEntryResult::WriteFailed;
        return NewEntryResult::Ok;
    }

    mx::codec::ZipCrypto keys;
    uint32_t headerCrc = 0;
    if (encrypted) {
        // The encryption header's check byte needs the CRC before the data is written.
        if (!SourceCrc(source, size, headerCrc))
            return NewEntryResult::SourceFailed;
        std::array<uint8_t, mx::codec::ZipCrypto::kHeaderSize> eh{};
        keys.MakeEncryptionHeader(settings.password, headerCrc, eh);
        if (!WriteAll(out_, eh.data(), int64_t(eh.size())))
            return NewEntryResult::WriteFailed;
    } else if (fw::Fs().Seek(source, 0, fw::SeekOrigin::Begin) != 0) {
        return NewEntryResult::SourceFailed;
    }

    meter_.BeginEntryProgress(size);
    FileSource in(source, size, meter_);
    OutSink sink(out_, encrypted ? &keys : nullptr);
    uint64_t packed = 0;
    if (!settings.deflate) {
        header.method = 0;
        TZipCommon::ReportProgress(0, size);
        std::span<const uint8_t> block;
        for (;;) {
            const Status s = in.Read(block);
            if (s == Status::End)
                break;
            if (s != Status::Ok)
                return NewEntryResult::SourceFailed;
            if (sink.Write(block) != Status::Ok)
                return NewEntryResult::WriteFailed;
        }
        packed = sink.Written();
    } else {
        mx::codec::DeflateResult result;
        const Status s = deflater_.Run(in, sink, settings.level, result);
        if (sink.Failed())
            return NewEntryResult::WriteFailed;
        if (s != Status::Ok)
            return NewEntryResult::SourceFailed;
        packed = sink.Written();
        if (result.stored)
            header.method = 0;
        else
            header.flags |= result.optionBits;
    }
    if (in.Failed())
        return NewEntryResult::SourceFailed;
    dataCrc_ = ~in.Crc();
    // A file that changed between the two readings of an encrypted entry would carry a CRC that does
    // not belong to its data.
    if (encrypted && dataCrc_ != headerCrc)
        return NewEntryResult::SourceFailed;
    header.crc = dataCrc_;
    if (encrypted)
        packed += mx::codec::ZipCrypto::kHeaderSize;
    if (packed >= 0xFFFFFFFFu)
        return NewEntryResult::SourceFailed;
    header.compressedSize = uint32_t(packed);
    TZipCommon::ReportProgress(size, size);
    if (!WriteHeader(out_, header, start) || out_.Seek(0, fw::soFromEnd) < 0)
        return NewEntryResult::WriteFailed;
    return NewEntryResult::Ok;
}

}  // namespace engine::zip
