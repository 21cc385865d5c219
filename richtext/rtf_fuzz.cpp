// Fuzz target: any bytes read as RTF into a fresh document, written back as RTF, and that read again.
// What the writer makes must always read back; the text is also laid out with fixed
// metrics, painted into a paint list, and edited with keys and points taken from the input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>

#include "richtext/testdata/rt_test_util.h"
#include "richtext/text_input.h"

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
    rt::TZrtRTFTextInput laid;
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

    laid.NoBlockMarking = false;
    static const char keys[] = {8, 10, 12, 13, 127, 'a', ' ', 9};
    for (size_t i = 0; i + 2 < size && i < 24; i += 3) {
        laid.SetCursorFromPoint(data[i] % 200, data[i + 1] % 200, false, (data[i + 2] & 0x80) != 0);
        if (data[i + 2] & 0x40) {
            rt::TAttrCell bold;
            bold.Flags = rt::afBold;
            laid.ApplyAttr(bold, 0x40);
        }
        laid.InputString(std::string(1, keys[data[i + 2] % 8]));
    }
    laid.FormatDirty(true);
    list.clear();
    laid.PaintArea(0, 0, 2000, 400, list);
    return 0;
}
