// Walks arbitrary bytes as a RAR archive through the library's entry points: every header is read
// and every entry tested, with a volume callback that refuses further volumes.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/unrar/rar_blocks.h"
#include "engine/formats/rar/unrar_api.h"

namespace {

int UNRAR_CALL Refuse(char*, int) { return 0; }
int UNRAR_CALL Take(unsigned char*, int) { return 1; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    unrar::BlockHeader block;
    unrar::FileHeader file;
    if (unrar::ParseBlockHeader(std::span<const uint8_t>(data, size), block) == unrar::ParseResult::Ok &&
        block.headSize <= size) {
        unrar::HeaderCrcMatches(std::span<const uint8_t>(data, block.headSize), block);
        unrar::ParseFileHeader(std::span<const uint8_t>(data, block.headSize), file);
    }
    const std::string path = "/tmp/mx_rarwalk_fuzz_" + std::to_string(::getpid()) + ".rar";
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    RAROpenArchiveData open{};
    open.ArcName = const_cast<char*>(path.c_str());
    open.OpenMode = RAR_OM_EXTRACT;
    void* handle = RAROpenArchive(&open);
    if (handle) {
        RARSetChangeVolProc(handle, Refuse);
        RARSetProcessDataProc(handle, Take);
        RARHeaderData header{};
        for (int i = 0; i < 10000 && RARReadHeader(handle, &header) == ERAR_SUCCESS; ++i) {
            if (RARProcessFile(handle, i % 2 ? RAR_TEST : RAR_SKIP, nullptr, nullptr) == ERAR_MISSING_PASSWORD) {
                RARSetPassword(handle, const_cast<char*>("pw"));
                RARProcessFile(handle, RAR_TEST, nullptr, nullptr);
            }
        }
    }
    RARCloseArchive(handle);
    std::remove(path.c_str());
    return 0;
}
