// Inflate throughput against zlib and libdeflate on the shared corpus. Every file is compressed on
// its own with zlib at level 6 (as a ZIP entry would be); each decoder then inflates a group of
// entries, each side keeping one decoder for the group as an extractor does. The sides take turns
// on one core, each timed by the processor time it used, and the best of several rounds counts. One line per group:
//   inflate <1K: <zlib time/ours>x zlib, <libdeflate time/ours>x libdeflate   (entries under 1 KB)
//   inflate 1-4K: ...                                                          (1 KB to 4 KB)
//   inflate: ...                                                               (all entries)
//   inflate 64k+: ...                                                          (64 KB and more)
// and for each group a "stream" line, our streaming form through its 32 KB window. Standard error
// has the throughput behind each line, the free Inflate function's time and the load average.
#include <libdeflate.h>
#include <zlib.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <vector>

#include "engine/codec/bench_corpus.h"
#include "engine/codec/inflate.h"
#include "testing/bench_pin.h"

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

class NullSink final : public ByteSink {
 public:
  Status Write(std::span<const uint8_t> block) noexcept override {
    sum += block.size() ? block[0] : 0;
    return Status::Ok;
  }
  size_t sum = 0;
};

// The decoders, each running over a whole group of entries `repeat` times; false when one failed.
struct Group {
  std::vector<const Entry*> entries;
  int repeat = 1;
  size_t Bytes() const {
    size_t n = 0;
    for (const Entry* e : entries) n += e->size;
    return n * static_cast<size_t>(repeat);
  }
};

bool Ours(const Group& g, std::vector<uint8_t>& out) {
  Inflater inflater;
  for (int r = 0; r < g.repeat; ++r)
    for (const Entry* e : g.entries) {
      InflateResult res = inflater.Run(e->packed, std::span<uint8_t>(out.data(), e->size));
      if (res.status != Status::Ok || res.outputSize != e->size) return false;
    }
  return true;
}

bool OursFree(const Group& g, std::vector<uint8_t>& out) {
  for (int r = 0; r < g.repeat; ++r)
    for (const Entry* e : g.entries) {
      InflateResult res = Inflate(e->packed, std::span<uint8_t>(out.data(), e->size));
      if (res.status != Status::Ok || res.outputSize != e->size) return false;
    }
  return true;
}

bool OursStream(const Group& g) {
  Inflater inflater;
  for (int r = 0; r < g.repeat; ++r)
    for (const Entry* e : g.entries) {
      SpanSource src(e->packed, 32768);
      NullSink sink;
      InflateResult res = inflater.Run(src, sink);
      if (res.status != Status::Ok || res.outputSize != e->size) return false;
    }
  return true;
}

bool Zlib(const Group& g, std::vector<uint8_t>& out) {
  z_stream zs{};
  inflateInit2(&zs, -15);
  bool ok = true;
  for (int r = 0; r < g.repeat; ++r)
    for (const Entry* e : g.entries) {
      inflateReset(&zs);
      zs.next_in = const_cast<uint8_t*>(e->packed.data());
      zs.avail_in = static_cast<uInt>(e->packed.size());
      zs.next_out = out.data();
      zs.avail_out = static_cast<uInt>(e->size);
      if (inflate(&zs, Z_FINISH) != Z_STREAM_END) ok = false;
    }
  inflateEnd(&zs);
  return ok;
}

bool Libdeflate(const Group& g, std::vector<uint8_t>& out) {
  libdeflate_decompressor* d = libdeflate_alloc_decompressor();
  bool ok = true;
  for (int r = 0; r < g.repeat; ++r)
    for (const Entry* e : g.entries) {
      size_t got = 0;
      if (libdeflate_deflate_decompress(d, e->packed.data(), e->packed.size(), out.data(), e->size, &got) !=
              LIBDEFLATE_SUCCESS ||
          got != e->size)
        ok = false;
    }
  libdeflate_free_decompressor(d);
  return ok;
}

// Best times of the five runs, taking turns round by round.
struct Times {
  double ours = 1e9, free = 1e9, stream = 1e9, zlib = 1e9, ldf = 1e9;
};

Times Measure(const Group& g, std::vector<uint8_t>& out, int rounds) {
  Times t;
  const auto time = [](double& best, const std::function<bool()>& run) {
    const double t0 = mx::bench::CpuSeconds();
    if (!run()) {
      std::fprintf(stderr, "inflate bench: a decoder failed\n");
      std::exit(1);
    }
    best = std::min(best, mx::bench::CpuSeconds() - t0);
  };
  for (int round = 0; round < rounds; ++round) {
    time(t.ours, [&] { return Ours(g, out); });
    time(t.zlib, [&] { return Zlib(g, out); });
    time(t.ldf, [&] { return Libdeflate(g, out); });
    time(t.free, [&] { return OursFree(g, out); });
    time(t.stream, [&] { return OursStream(g); });
  }
  return t;
}

void Report(const char* label, const Group& g, std::vector<uint8_t>& out, int rounds) {
  const Times t = Measure(g, out, rounds);
  const double mb = static_cast<double>(g.Bytes()) / 1e6;
  std::printf("%s: %.2fx zlib, %.2fx libdeflate\n", label, t.zlib / t.ours, t.ldf / t.ours);
  std::printf("%s stream: %.2fx zlib, %.2fx libdeflate\n", label, t.zlib / t.stream, t.ldf / t.stream);
  std::fflush(stdout);
  std::fprintf(stderr,
               "  %s: %zu entries x%d, %.1f MB; MB/s: ours %.0f, free function %.0f, stream %.0f, zlib %.0f, "
               "libdeflate %.0f; %s\n",
               label, g.entries.size(), g.repeat, mb, mb / t.ours, mb / t.free, mb / t.stream, mb / t.zlib,
               mb / t.ldf, mx::bench::LoadAverage().c_str());
}

}  // namespace

int main() {
  const int cpu = mx::bench::PinToOneCore();
  std::fprintf(stderr, "inflate bench on core %d\n", cpu);
  std::vector<Entry> entries;
  for (const auto& f : bench::LoadCorpus()) entries.push_back({Compress(f.data), f.data.size()});
  Group under1k, from1to4k, all, large;
  for (const Entry& e : entries) {
    all.entries.push_back(&e);
    if (e.size < 1024) under1k.entries.push_back(&e);
    else if (e.size < 4096) from1to4k.entries.push_back(&e);
    if (e.size >= 65536) large.entries.push_back(&e);
  }
  // The small groups run several times over, so that each timing lasts long enough to trust.
  under1k.repeat = 8;
  from1to4k.repeat = 2;
  std::vector<uint8_t> out(1u << 20);
  Report("inflate <1K", under1k, out, 9);
  Report("inflate 1-4K", from1to4k, out, 9);
  Report("inflate", all, out, 7);
  Report("inflate 64k+", large, out, 7);
  return 0;
}
