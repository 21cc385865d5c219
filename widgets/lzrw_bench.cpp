// LZRW block coder speed and size against zlib level 1 (the nearest fast peer) on the shared codec
// corpus, cut into the 32,781-byte blocks that the suite's stream routines use. Prints:
//   lzrw compress: <zlib time / ours>x zlib-1, size <ours / zlib>x
//   lzrw decompress: <zlib time / ours>x zlib-1
#include <zlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "engine/codec/bench_corpus.h"
#include "widgets/lzrw.h"

namespace {

constexpr size_t kBlock = 32781;

struct Block {
    const uint8_t* data;
    uint32_t size;
    std::vector<uint8_t> lzrw;
    std::vector<uint8_t> zlib;
};

double Time(const std::function<void()>& run) {
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const auto t0 = std::chrono::steady_clock::now();
        run();
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    return best;
}

}  // namespace

int main() {
    const auto files = mx::codec::bench::LoadCorpus();
    std::vector<Block> blocks;
    for (const auto& f : files)
        for (size_t at = 0; at < f.data.size(); at += kBlock)
            blocks.push_back({f.data.data() + at, static_cast<uint32_t>(std::min(kBlock, f.data.size() - at)), {}, {}});

    size_t raw = 0, ours = 0, theirs = 0;
    const double packOurs = Time([&] {
        for (auto& b : blocks) {
            b.lzrw.resize(kvx::KVXLZRWDestSize(b.size));
            b.lzrw.resize(kvx::KVXLZRWCompress(b.data, b.lzrw.data(), b.size));
        }
    });
    const double packZlib = Time([&] {
        for (auto& b : blocks) {
            uLongf n = compressBound(b.size);
            b.zlib.resize(n);
            compress2(b.zlib.data(), &n, b.data, b.size, 1);
            b.zlib.resize(n);
        }
    });
    std::vector<uint8_t> out(kBlock);
    const double unpackOurs = Time([&] {
        for (auto& b : blocks)
            kvx::KVXLZRWDecompress(b.lzrw.data(), out.data(), static_cast<uint32_t>(b.lzrw.size()), kBlock);
    });
    const double unpackZlib = Time([&] {
        for (auto& b : blocks) {
            uLongf n = kBlock;
            uncompress(out.data(), &n, b.zlib.data(), static_cast<uLong>(b.zlib.size()));
        }
    });
    for (const auto& b : blocks) {
        raw += b.size;
        ours += b.lzrw.size();
        theirs += b.zlib.size();
    }
    std::fprintf(stderr, "lzrw bench: %zu blocks, %.1f MB; packed %.1f MB ours, %.1f MB zlib-1; %.0f/%.0f MB/s ours, %.0f/%.0f MB/s zlib-1\n",
                 blocks.size(), raw / 1e6, ours / 1e6, theirs / 1e6, raw / 1e6 / packOurs, raw / 1e6 / unpackOurs,
                 raw / 1e6 / packZlib, raw / 1e6 / unpackZlib);
    std::printf("lzrw compress: %.2fx zlib-1, size %.2fx\n", packZlib / packOurs, static_cast<double>(ours) / theirs);
    std::printf("lzrw decompress: %.2fx zlib-1\n", unpackZlib / unpackOurs);
    return 0;
}
