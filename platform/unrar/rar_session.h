// One open RAR archive of our UnRAR library: the volume being read, the header walk, and the
// skipping, testing and extracting of the entry last returned, across volumes.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/unrar/rar_blocks.h"
#include "platform/unrar/unrar_api.h"

namespace unrar {

class RarSession {
public:
    ~RarSession();
    // Opens the first volume; the result code (0 when open).
    int Open(const std::string& name);
    int ReadHeader(RARHeaderData& header);
    int ProcessFile(int operation, const char* destPath, const char* destName);
    int Close();

    CHANGEVOLPROC changeVolume = nullptr;
    PROCESSDATAPROC processData = nullptr;
    std::string password;

private:
    // Opens Name as a volume and reads its marker and main header.
    int OpenVolume(const std::string& name);
    // Moves to the next volume of the set, asking through the callback when it is missing.
    int NextVolume();
    int ReadAt(uint64_t pos, void* buffer, size_t count);
    // Hands the data of the current entry (and its continuations) to Sink block by block; Sink
    // answers false to stop. The CRC of the whole data comes back in Crc.
    int WalkData(bool (*sink)(void* ctx, uint8_t* data, size_t size), void* ctx, uint32_t& crc);
    int SkipData();

    std::FILE* file_ = nullptr;
    std::string volumeName_;
    uint64_t volumeSize_ = 0;
    uint16_t mainFlags_ = 0;
    uint64_t pos_ = 0;  // the next block
    bool endOfSet_ = false;
    // The entry last returned by ReadHeader and not yet processed.
    bool pending_ = false;
    FileHeader entry_;
    uint64_t dataPos_ = 0;
    uint32_t lastPartCrc_ = 0;  // the CRC in the header of the entry's last part
};

}  // namespace unrar
