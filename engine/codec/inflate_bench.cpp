// Inflate throughput against zlib and libdeflate on the shared corpus. Every file is compressed on
// its own with zlib at level 6 (as a ZIP entry would be), then each decoder inflates all entries;
// the best of several rounds counts. Prints, for all entries and again for those of 64 KB and more:
//   inflate: <zlib time/ours>x zlib, <libdeflate time/ours>x libdeflate
//   inflate stream: ...   (the streaming form through a 32 KB window)
//   inflate 64k+: ...
//   inflate 64k+ stream: ...
#include <libdeflate.h>
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "engine/codec/bench_corpus.h"
#include "engine/codec/inflate.h"

using namespace mx::codec;

namespace {

struct Entry {
  std::vector<uint8_t> packed;
  size_t size;
};

std::vector<uint8_t> Compress(const std::vector<uint8_t>& in) {
  z_stream zs{};
  deflateInit2(&zs, 6, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  std::vector<uint8_t> out(deflateBound(&zs, static_cast<uLong>(in.size())));
  zs.next_in = const_cast<uint8_t*>(in.data());
  zs.avail_in = static_cast<uInt>(in.size());
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  deflate(&zs, Z_FINISH);
  out.resize(zs.total_out);
  deflateEnd(&zs);
  return out;
}

// Best time of a few rounds, in seconds.
double Time(const std::function<bool()>& run) {
  double best = 1e9;
  for (int round = 0; round < 3; ++round) {
    auto t0 = std::chrono::steady_clock::now();
    if (!run()) {
      std::fprintf(stderr, "inflate bench: a decoder failed\n");
      std::exit(1);
    }
    best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
  }
  return best;
}

class NullSink final : public ByteSink {
 public:
  Status Write(std::span<const uint8_t> block) noexcept override {
    sum += block.size() ? block[0] : 0;
    return Status::Ok;
  }
  size_t sum = 0;
};

// Times the four decoders (ours whole-buffer and streaming, zlib, libdeflate) over the entries.
struct Times {
  double ours, stream, zlib, ldf;
};

Times Measure(const std::vector<Entry>& entries, std::vector<uint8_t>& out) {
  Times t;
  t.ours = Time([&] {
    for (const Entry& e : entries) {
      InflateResult r = Inflate(e.packed, std::span<uint8_t>(out.data(), e.size));
      if (r.status != Status::Ok || r.outputSize != e.size) return false;
    }
    return true;
  });
  t.stream = Time([&] {
    for (const Entry& e : entries) {
      SpanSource src(e.packed, 32768);
      NullSink sink;
      InflateResult r = Inflate(src, sink);
      if (r.status != Status::Ok || r.outputSize != e.size) return false;
    }
    return true;
  });
  t.zlib = Time([&] {
    z_stream zs{};
    inflateInit2(&zs, -15);
    bool ok = true;
    for (const Entry& e : entries) {
      inflateReset(&zs);
      zs.next_in = const_cast<uint8_t*>(e.packed.data());
      zs.avail_in = static_cast<uInt>(e.packed.size());
      zs.next_out = out.data();
      zs.avail_out = static_cast<uInt>(e.size);
      if (inflate(&zs, Z_FINISH) != Z_STREAM_END) ok = false;
    }
    inflateEnd(&zs);
    return ok;
  });
  t.ldf = Time([&] {
    libdeflate_decompressor* d = libdeflate_alloc_decompressor();
    bool ok = true;
    for (const Entry& e : entries) {
      size_t got = 0;
      if (libdeflate_deflate_decompress(d, e.packed.data(), e.packed.size(), out.data(), e.size, &got) !=
              LIBDEFLATE_SUCCESS ||
          got != e.size)
        ok = false;
    }
    libdeflate_free_decompressor(d);
    return ok;
  });
  return t;
}

void Print(const char* label, const std::vector<Entry>& entries, const Times& t) {
  size_t total = 0, packed = 0;
  for (const Entry& e : entries) {
    total += e.size;
    packed += e.packed.size();
  }
  std::fprintf(stderr, "%s: %zu entries, %.1f MB, packed %.1f MB; %.0f MB/s ours, %.0f MB/s stream, %.0f MB/s zlib, %.0f MB/s libdeflate\n",
               label, entries.size(), total / 1e6, packed / 1e6, total / 1e6 / t.ours, total / 1e6 / t.stream,
               total / 1e6 / t.zlib, total / 1e6 / t.ldf);
  std::printf("%s: %.2fx zlib, %.2fx libdeflate\n", label, t.zlib / t.ours, t.ldf / t.ours);
  std::printf("%s stream: %.2fx zlib, %.2fx libdeflate\n", label, t.zlib / t.stream, t.ldf / t.stream);
  std::fflush(stdout);
}

}  // namespace

int main() {
  auto files = bench::LoadCorpus();
  std::vector<Entry> entries, large;
  for (const auto& f : files) {
    entries.push_back({Compress(f.data), f.data.size()});
    if (f.data.size() >= 65536) large.push_back(entries.back());
  }
  std::vector<uint8_t> out(1u << 20);
  Print("inflate", entries, Measure(entries, out));
  Print("inflate 64k+", large, Measure(large, out));
  return 0;
}
