// Fuzz target: any bytes read as RTF into a fresh document, written back as RTF, and that read again.
// What the writer makes must always read back; the text is also laid out with fixed
// metrics and painted into a paint list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>

#include "richtext/testdata/rt_test_util.h"
#include "richtext/text_paint.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rt::TZrtRTFTextIo doc;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        rt::test::LoadString(doc, bytes, "RTF");
    } catch (const std::exception&) {
        return 0;
    }
    const std::string written = rt::test::SaveString(doc, "RTF");
    rt::TZrtRTFTextIo again;
    try {
        rt::test::LoadString(again, written, "RTF");
    } catch (const std::exception&) {
        std::abort();
    }
    rt::FixedCellMetrics metrics;
    rt::TZrtRTFTextPaint laid;
    try {
        rt::test::LoadString(laid, written, "RTF");
    } catch (const std::exception&) {
        std::abort();
    }
    laid.SetCanvas(&metrics);
    laid.SetWrapToWindow(true);
    laid.SetClientWidth(static_cast<int>(size % 300));
    laid.SelectRange(1, static_cast<int>(size % 50));
    laid.Paginate(nullptr);
    laid.SetClientHeight(2000);
    rt::TPaintList list;
    laid.PaintArea(0, 0, 2000, 400, list);
    return 0;
}
