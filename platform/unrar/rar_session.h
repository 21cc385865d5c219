// One open RAR archive of our UnRAR library: the volumes of the set, the header walk (with encrypted
// headers), and the skipping, testing and extracting of the entry last returned. Compressed entries
// go through one decoder per archive; for a solid archive it keeps a log of the stream's entries so
// that an entry can be decoded again (another password) or after skipped ones.
#pragma once

#include <cstdint>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/codec/bytestream.h"
#include "engine/codec/rar_crypt.h"
#include "engine/codec/rar_unpack.h"
#include "platform/unrar/rar_blocks.h"
#include "platform/unrar/rar_packed.h"
#include "engine/formats/rar/unrar_api.h"

namespace unrar {

class RarSession {
public:
    ~RarSession();
    // Opens the first volume; the result code (0 when open).
    int Open(const std::string& name);
    int ReadHeader(RARHeaderData& header);
    int ProcessFile(int operation, const char* destPath, const char* destName);
    int Close();
    void SetPassword(const std::string& value);

    CHANGEVOLPROC changeVolume = nullptr;
    PROCESSDATAPROC processData = nullptr;

private:
    friend class PackedReader;

    // A compressed entry of the current solid stream.
    struct StreamEntry {
        EntryPlace place;
        bool decoded = false;  // decoded once, with this password
        std::string password;
        bool failed = false;  // failed to decode with this password (no use trying it again)
        std::string failedWith;
    };

    // Opens Name as a volume and reads its marker and main header.
    int OpenVolume(const std::string& name);
    // Moves to the next volume of the set: one seen before is opened again quietly; a new one is
    // found by name, or asked for through the callback.
    int NextVolume();
    int OpenKnownVolume(size_t index);
    int ReadAt(uint64_t pos, void* buffer, size_t count);
    // The block at Pos: its header bytes (decrypted when the headers are encrypted), the parsed
    // generic header, and the offset of its data.
    int ReadBlock(uint64_t pos, BlockHeader& block, std::vector<uint8_t>& whole, uint64_t& dataPos);
    const mx::codec::RarAesKey& AesKey(const uint8_t* salt);
    std::unique_ptr<mx::codec::RarDecryptor> MakeDecryptor(const FileHeader& header, const std::string& pw);
    // Puts the header walk after the pending entry's last part.
    int FinishWalk(PackedReader* reader);
    int SkipData();

    // The data paths: each reads Place's packed data through Reader, gives the output to Sink and
    // checks it against the CRC the last part stores.
    int Unstore(const EntryPlace& place, const std::string& pw, mx::codec::ByteSink& sink, PackedReader& reader);
    int Decode(const EntryPlace& place, bool solid, const std::string& pw, mx::codec::ByteSink& sink,
               PackedReader& reader);
    // Brings the decoder to the state after the stream entry before Index.
    int CatchUp(size_t index);

    std::FILE* file_ = nullptr;
    std::vector<std::string> volumes_;  // every volume opened, in set order
    size_t volumeIndex_ = 0;
    uint64_t volumeSize_ = 0;
    uint16_t mainFlags_ = 0;
    bool solidArchive_ = false;
    uint64_t pos_ = 0;  // the next block
    bool endOfSet_ = false;

    std::string password_;
    std::map<std::string, mx::codec::RarAesKey> keys_;  // derived keys by salt, for password_

    // The entry last returned by ReadHeader and not yet processed.
    bool pending_ = false;
    EntryPlace entry_;
    // Where the walk goes on after the pending entry, once known (at once for an entry in one part).
    bool walkEndKnown_ = false;
    size_t walkEndVolume_ = 0;
    uint64_t walkEndPos_ = 0;

    mx::codec::RarUnpacker unpacker_;
    std::vector<StreamEntry> stream_;  // the compressed entries of the current solid stream
    size_t decodedUpTo_ = 0;           // stream entries whose state the decoder holds
    bool entryInStream_ = false;       // the pending entry is the last of stream_
    bool entrySolid_ = false;
};

}  // namespace unrar
