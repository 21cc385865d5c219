// Fuzz target: any bytes read as plain text, written as plain text and RTF, and the plain text read again
// into the same paragraphs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>

#include "richtext/testdata/rt_test_util.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rt::TZrtRTFTextIo doc;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    try {
        rt::test::LoadString(doc, bytes, "ANSI");
    } catch (const std::exception&) {
        return 0;
    }
    rt::test::SaveString(doc, "RTF");
    doc.Header->StoreOptions.Include(rt::TStoreOption::soNoNULLChar);
    const std::string plain = rt::test::SaveString(doc, "ANSI");
    rt::TZrtRTFTextIo again;
    rt::test::LoadString(again, plain, "ANSI");
    if (rt::test::BodyText(again) != rt::test::BodyText(doc)) std::abort();
    return 0;
}
