// Fuzz target: any bytes as the "Data" property of a document; a damaged value leaves an empty text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <exception>

#include "framework/core/streams.h"
#include "richtext/text_io.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rt::TZrtRTFTextIo doc;
    fw::TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    try {
        doc.ReadData(stream);
    } catch (const std::exception&) {
        if (!doc.IsEmpty()) std::abort();
        return 0;
    }
    fw::TMemoryStream out;
    doc.WriteData(out);
    out.SetPosition(0);
    rt::TZrtRTFTextIo again;
    again.ReadData(out);
    return 0;
}
