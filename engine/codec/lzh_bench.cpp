// -lh5- decoding speed against lhasa on one archive: the shared corpus (up to 16 MB of it) in one
// file, compressed by jlha; we decode the entry with its CRC-16, lhasa tests the archive (which
// decodes and checks the same CRC). The best of a few rounds counts. Prints:
//   lzh -lh5- decode: <ours> MB/s, lhasa <theirs> MB/s: <ours/theirs>x lhasa
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "engine/codec/bench_corpus.h"
#include "engine/codec/crc16.h"
#include "engine/codec/lzh_decoder.h"

using namespace mx::codec;

namespace {

double Best(const std::function<bool()>& run)
{
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        auto t0 = std::chrono::steady_clock::now();
        if (!run()) {
            std::fprintf(stderr, "lzh bench: a decoder failed\n");
            std::exit(1);
        }
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

class CrcSink final : public ByteSink {
public:
    Status Write(std::span<const uint8_t> block) noexcept override
    {
        UpdateCrc16(block, crc);
        return Status::Ok;
    }
    uint16_t crc = 0;
};

uint32_t Le32(const std::string& s, size_t at)
{
    return uint32_t(uint8_t(s[at])) | uint32_t(uint8_t(s[at + 1])) << 8 | uint32_t(uint8_t(s[at + 2])) << 16 |
           uint32_t(uint8_t(s[at + 3])) << 24;
}

}  // namespace

int main()
{
    namespace fs = std::filesystem;
    std::vector<uint8_t> data;
    for (const auto& f : bench::LoadCorpus()) {
        data.insert(data.end(), f.data.begin(), f.data.end());
        if (data.size() >= (16u << 20))
            break;
    }
    const fs::path dir = fs::temp_directory_path() / ("mx_lzh_bench_" + std::to_string(::getpid()));
    fs::create_directories(dir);
    {
        std::ofstream out(dir / "data.bin", std::ios::binary);
        out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
    }
    const std::string cd = "cd '" + dir.string() + "' && ";
    if (std::system((cd + "jlha c0o5q a.lzh data.bin >/dev/null 2>&1").c_str()) != 0) {
        std::fprintf(stderr, "lzh bench: jlha failed (install jlha-utils)\n");
        return 1;
    }
    std::ifstream in(dir / "a.lzh", std::ios::binary);
    const std::string archive((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const size_t h = uint8_t(archive.at(0));
    const uint32_t packed = Le32(archive, 7), size = Le32(archive, 11);
    const size_t n = uint8_t(archive.at(21));
    const uint16_t crc = uint16_t(uint8_t(archive.at(22 + n)) | uint8_t(archive.at(23 + n)) << 8);
    const std::span<const uint8_t> stream(reinterpret_cast<const uint8_t*>(archive.data()) + h + 2, packed);

    const double ours = Best([&] {
        SpanSource src(stream, 32768);
        CrcSink sink;
        return LzhDecode(src, sink, kLzhLh5, size) == Status::Ok && sink.crc == crc;
    });
    const double theirs = Best([&] { return std::system((cd + "lhasa tq a.lzh >/dev/null 2>&1").c_str()) == 0; });
    fs::remove_all(dir);
    const double mb = double(size) / (1 << 20);
    std::printf("lzh -lh5- decode: %.1f MB/s, lhasa %.1f MB/s: %.2fx lhasa\n", mb / ours, mb / theirs, theirs / ours);
    return 0;
}
