// The packed data of one entry as a stream: the parts of a split entry are read volume after volume,
// and an encrypted entry is decrypted on the way, its cipher running on across the part boundaries.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "engine/codec/bytestream.h"
#include "engine/codec/rar_crypt.h"
#include "platform/unrar/rar_blocks.h"

namespace unrar {

class RarSession;

// Where an entry's data start: the volume (an index into the volumes seen), the offset, and the
// header of the first part.
struct EntryPlace {
    size_t volume = 0;
    uint64_t dataPos = 0;
    FileHeader header;
};

class PackedReader {
public:
    PackedReader(RarSession& session, const EntryPlace& place) : session_(session), place_(place) {}
    // Up to Max bytes of packed data into Dest; Got is 0 at the end of the last part. A library
    // result code.
    int Read(uint8_t* dest, size_t max, size_t& got);
    // Walks the parts not yet read without reading their data, so that the header walk goes on
    // after the entry.
    int SkipRest();
    // The header of the part being read (the last part once the end is reached).
    const FileHeader& Part() const { return part_; }
    bool AtEnd() const { return ended_; }

private:
    int Start();
    int NextPart();

    RarSession& session_;
    EntryPlace place_;
    FileHeader part_;
    uint64_t at_ = 0, left_ = 0;
    bool started_ = false, ended_ = false;
};

// A byte source over an entry's packed data, decrypted when a decryptor is given. The first failure
// of the reader stays in Error().
class PackedSource final : public mx::codec::ByteSource {
public:
    PackedSource(PackedReader& reader, std::unique_ptr<mx::codec::RarDecryptor> decryptor);
    mx::codec::Status Read(std::span<const uint8_t>& block) noexcept override;
    int Error() const { return error_; }

private:
    static constexpr size_t kBlock = 0x10000;
    PackedReader& reader_;
    std::unique_ptr<mx::codec::RarDecryptor> decryptor_;
    std::unique_ptr<uint8_t[]> buffer_;
    size_t carry_ = 0;  // bytes of an incomplete cipher block kept after the block handed out
    size_t handed_ = 0;
    bool ended_ = false;
    int error_ = 0;
};

}  // namespace unrar
