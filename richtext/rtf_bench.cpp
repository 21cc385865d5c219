// RTF read and write speed on the fixture corpus, against unrtf reading the same bytes. The corpus is
// every fixture wrapped into one document and repeated to a few megabytes; the best of several rounds
// counts. Prints:
//   rtf read: <MB/s> MB/s, write: <MB/s> MB/s; read <ours/unrtf>x unrtf --text
//   rtf layout: <lines/s> lines/s (fixed metrics, the corpus wrapped at 400 pixels)
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "framework/core/streams.h"
#include "richtext/testdata/bench_corpus.h"
#include "richtext/text_io.h"
#include "richtext/text_paint.h"

namespace {

double Seconds(const std::chrono::steady_clock::time_point& start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main() {
    namespace fs = std::filesystem;
    const std::string big = rt::test::BenchCorpus(fs::path(RT_SOURCE_DIR) / "testdata/fixtures", 4 * 1024 * 1024);
    const double mb = static_cast<double>(big.size()) / 1e6;

    double bestRead = 1e9, bestWrite = 1e9;
    size_t written = 0;
    for (int round = 0; round < 3; ++round) {
        rt::TZrtRTFTextIo doc;
        fw::TMemoryStream in;
        in.WriteString(big);
        in.SetPosition(0);
        doc.LoadFormat = "RTF";
        auto start = std::chrono::steady_clock::now();
        doc.LoadFromStream(in);
        bestRead = std::min(bestRead, Seconds(start));
        fw::TMemoryStream out;
        doc.SaveFormat = "RTF";
        start = std::chrono::steady_clock::now();
        doc.SaveToStream(out);
        bestWrite = std::min(bestWrite, Seconds(start));
        written = static_cast<size_t>(out.Size());
    }

    // Layout with fixed glyph metrics: every paragraph measured and wrapped.
    double bestLayout = 1e9;
    size_t lines = 0;
    {
        rt::FixedCellMetrics metrics;
        rt::TZrtRTFTextPaint doc;
        fw::TMemoryStream in;
        in.WriteString(big);
        in.SetPosition(0);
        doc.LoadFormat = "RTF";
        doc.LoadFromStream(in);
        doc.SetCanvas(&metrics);
        doc.SetWrapToWindow(true);
        for (int round = 0; round < 3; ++round) {
            const auto start = std::chrono::steady_clock::now();
            doc.SetClientWidth(400 + round);
            bestLayout = std::min(bestLayout, Seconds(start));
        }
        lines = 0;
        for (rt::TParagraph* p = doc.Body; p; p = p->Next)
            for (rt::TTextLine* l = p->FirstLine; l; l = l->Next) ++lines;
    }

    // unrtf reads the corpus from a file inside the build tree.
    const fs::path file = fs::path(RT_BENCH_DIR) / "rt_bench_corpus.rtf";
    std::ofstream(file, std::ios::binary) << big;
    double unrtf = 1e9;
    for (int round = 0; round < 2; ++round) {
        const auto start = std::chrono::steady_clock::now();
        const int rc = std::system(("unrtf --text '" + file.string() + "' >/dev/null 2>&1").c_str());
        if (rc != 0) {
            std::fprintf(stderr, "rtf bench: unrtf failed (Debian package unrtf)\n");
            unrtf = 0;
            break;
        }
        unrtf = std::min(unrtf, Seconds(start));
    }
    fs::remove(file);
    std::fprintf(stderr, "rtf bench: %.1f MB read, %.1f MB written\n", mb, static_cast<double>(written) / 1e6);
    std::printf("rtf read: %.1f MB/s, write: %.1f MB/s; read %.2fx unrtf --text\n", mb / bestRead,
                static_cast<double>(written) / 1e6 / bestWrite, unrtf > 0 ? unrtf / bestRead : 0.0);
    std::printf("rtf layout: %.0f lines/s (fixed metrics, %zu lines)\n", static_cast<double>(lines) / bestLayout, lines);
    return 0;
}
