// Layout speed with the GDI metrics of the screen's fonts (run under Wine by tools/bench), on the same
// fixture corpus as the native benchmark's fixed-metrics line. The best of three rounds counts. Prints:
//   rtf layout: <lines/s> lines/s (GDI metrics, <n> lines)
#include "framework/win32/winapi.h"

#include <chrono>
#include <cstdio>
#include <string>

#include "framework/core/streams.h"
#include "richtext/testdata/bench_corpus.h"
#include "richtext/text_paint.h"
#include "richtext/win32/gdi_metrics.h"
#include "richtext/win32/win32_system.h"

int main() {
    rt::InstallRichTextSystem();
    const std::string corpus = rt::test::BenchCorpus(RT_FIXTURES_DIR, 4 * 1024 * 1024);
    HDC dc = CreateCompatibleDC(nullptr);
    rt::TGdiFontCache fonts;
    rt::TGdiCellMetrics metrics(dc, fonts);
    rt::TZrtRTFTextPaint doc;
    fw::TMemoryStream in;
    in.WriteString(corpus);
    in.SetPosition(0);
    doc.LoadFormat = "RTF";
    doc.LoadFromStream(in);
    doc.SetCanvas(&metrics);
    doc.SetWrapToWindow(true);
    double best = 1e9;
    for (int round = 0; round < 3; ++round) {
        const auto start = std::chrono::steady_clock::now();
        doc.SetClientWidth(400 + round);  // a new width lays everything out again
        best = std::min(best, std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
    size_t lines = 0;
    for (rt::TParagraph* p = doc.Body; p; p = p->Next)
        for (rt::TTextLine* l = p->FirstLine; l; l = l->Next) ++lines;
    std::printf("rtf layout: %.0f lines/s (GDI metrics, %zu lines)\n", static_cast<double>(lines) / best, lines);
    DeleteDC(dc);
    return 0;
}
