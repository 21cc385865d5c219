// Deflate benchmark: compressed size and speed of each setting against zlib at the level with the same
// matching parameters (F ~ zlib 2, N ~ zlib 7, X ~ zlib 9; S, our level 1, against zlib 1), over the
// shared codec corpus, each file compressed on its own as a ZIP entry would be, the two sides taking
// turns file by file on one core, each timed by the processor time it used. Each time is the best of
// two runs; standard error has the load average beside each line.
//
//   deflate F: size 1.002x zlib-2, speed 1.10x
//   deflate F small: ...   (entries under 4 KB, one compressor for all of them on each side)
//
// size is our total output over zlib's; speed is our throughput over zlib's (above 1 = faster).
#include <zlib.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include "engine/codec/bench_corpus.h"
#include "engine/codec/deflate.h"
#include "testing/bench_pin.h"

namespace {

using Bytes = std::vector<uint8_t>;
using mx::codec::DeflateType;

// ---- Runs -----------------------------------------------------------------------------------------------


size_t OursOnce(const Bytes& in, int level, double& secs) {
  Bytes out;
  out.reserve(in.size() + 1024);
  const double t0 = mx::bench::CpuSeconds();
  mx::codec::VectorSink sink(out);
  mx::codec::SpanSource source(in, 64 * 1024);
  mx::codec::DeflateResult result;
  if (mx::codec::Deflate(source, sink, level, result) != mx::codec::Status::Ok) std::fprintf(stderr, "deflate failed\n");
  secs = mx::bench::CpuSeconds() - t0;
  return out.size();
}

size_t ZlibOnce(const Bytes& in, int level, double& secs) {
  Bytes out(in.size() + in.size() / 100 + 1024);
  const double t0 = mx::bench::CpuSeconds();
  z_stream zs{};
  deflateInit2(&zs, level, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
  // Feed zlib in the same 64 KB blocks as our source hands out.
  zs.next_out = out.data();
  zs.avail_out = static_cast<uInt>(out.size());
  size_t pos = 0;
  for (;;) {
    const size_t n = std::min<size_t>(64 * 1024, in.size() - pos);
    zs.next_in = const_cast<uint8_t*>(in.data() + pos);
    zs.avail_in = static_cast<uInt>(n);
    pos += n;
    const bool last = pos == in.size();
    deflate(&zs, last ? Z_FINISH : Z_NO_FLUSH);
    if (last) break;
  }
  const size_t size = zs.total_out;
  deflateEnd(&zs);
  secs = mx::bench::CpuSeconds() - t0;
  return size;
}

// Small entries, as a ZIP of many small files has them: one compressor serves them all on each side
// (our Deflater, zlib's stream reset between entries), so the figure is the cost per entry.
void SmallEntries(const std::vector<const Bytes*>& files, const char* name, int level, int zlibLevel) {
  size_t total = 0;
  for (const Bytes* f : files) total += f->size();
  double ours = 1e30, theirs = 1e30;
  size_t oursSize = 0, theirsSize = 0;
  Bytes out;
  out.reserve(1 << 16);
  for (int run = 0; run < 3; ++run) {
    oursSize = theirsSize = 0;
    double t0 = mx::bench::CpuSeconds();
    mx::codec::Deflater deflater;
    for (const Bytes* f : files) {
      out.clear();
      mx::codec::VectorSink sink(out);
      mx::codec::SpanSource source(*f, 32 * 1024);
      mx::codec::DeflateResult result;
      deflater.Run(source, sink, level, result);
      oursSize += out.size();
    }
    ours = std::min(ours, mx::bench::CpuSeconds() - t0);
    t0 = mx::bench::CpuSeconds();
    z_stream zs{};
    deflateInit2(&zs, zlibLevel, Z_DEFLATED, -15, 8, Z_DEFAULT_STRATEGY);
    out.resize(1 << 16);
    for (const Bytes* f : files) {
      deflateReset(&zs);
      zs.next_in = const_cast<uint8_t*>(f->data());
      zs.avail_in = static_cast<uInt>(f->size());
      zs.next_out = out.data();
      zs.avail_out = static_cast<uInt>(out.size());
      deflate(&zs, Z_FINISH);
      theirsSize += zs.total_out;
    }
    deflateEnd(&zs);
    theirs = std::min(theirs, mx::bench::CpuSeconds() - t0);
  }
  std::printf("deflate %s small: size %.3fx zlib-%d, speed %.2fx  (%zu entries under 4 KB, %.2f vs %.2f us each)\n", name,
              static_cast<double>(oursSize) / static_cast<double>(theirsSize), zlibLevel, theirs / ours, files.size(),
              ours * 1e6 / static_cast<double>(files.size()), theirs * 1e6 / static_cast<double>(files.size()));
  std::fflush(stdout);
  std::fprintf(stderr, "  deflate %s small: %s\n", name, mx::bench::LoadAverage().c_str());
}

}  // namespace

int main() {
  std::fprintf(stderr, "deflate bench on core %d\n", mx::bench::PinToOneCore());
  const std::vector<mx::codec::bench::CorpusFile> corpus = mx::codec::bench::LoadCorpus();
  const size_t total = mx::codec::bench::CorpusBytes(corpus);
  std::printf("deflate corpus: %zu files, %zu bytes\n", corpus.size(), total);
  struct Row {
    const char* name;
    DeflateType type;
    int zlibLevel;
  };
  const Row rows[] = {
      {"S", DeflateType::dtDeflateS, 1},
      {"F", DeflateType::dtDeflateF, 2},
      {"N", DeflateType::dtDeflateN, 7},
      {"X", DeflateType::dtDeflateX, 9},
  };
  constexpr int kRuns = 2;
  for (const auto& row : rows) {
    const int level = mx::codec::DeflateLevel(row.type);
    double ours = 1e30, theirs = 1e30;
    size_t oursSize = 0, theirsSize = 0;
    for (int i = 0; i < kRuns; ++i) {
      double oursRun = 0, theirsRun = 0;
      oursSize = theirsSize = 0;
      for (const auto& file : corpus) {
        double t;
        oursSize += OursOnce(file.data, level, t);
        oursRun += t;
        theirsSize += ZlibOnce(file.data, row.zlibLevel, t);
        theirsRun += t;
      }
      ours = std::min(ours, oursRun);
      theirs = std::min(theirs, theirsRun);
    }
    std::printf("deflate %s: size %.3fx zlib-%d, speed %.2fx  (%zu vs %zu bytes, %.1f vs %.1f MB/s)\n", row.name,
                static_cast<double>(oursSize) / static_cast<double>(theirsSize), row.zlibLevel, theirs / ours,
                oursSize, theirsSize, static_cast<double>(total) / ours / 1e6, static_cast<double>(total) / theirs / 1e6);
    std::fflush(stdout);
    std::fprintf(stderr, "  deflate %s: %s\n", row.name, mx::bench::LoadAverage().c_str());
  }
  std::vector<const Bytes*> small;
  for (const auto& file : corpus)
    if (file.data.size() < 4096) small.push_back(&file.data);
  SmallEntries(small, "F", mx::codec::DeflateLevel(DeflateType::dtDeflateF), 2);
  SmallEntries(small, "N", mx::codec::DeflateLevel(DeflateType::dtDeflateN), 7);
  return 0;
}
