// Fuzz target: any bytes as an embedded-object stream. Only object classes may come out of it.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "framework/core/streams.h"
#include "richtext/text_io.h"
#include "richtext/zrt_object.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    rt::RegisterRichText();
    fw::TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    int32_t tag = 0, width = 0, height = 0;
    std::string name;
    rt::TZrtObject* object = rt::ObjectFromStream(nullptr, stream, tag, width, height, name);
    if (!object) return 0;
    if (!dynamic_cast<rt::TZrtObject*>(static_cast<fw::TObject*>(object))) std::abort();
    try {
        rt::LoadObject(object, &stream);
        fw::TMemoryStream copy;
        rt::SaveObject(object, copy);
    } catch (const std::exception&) {
    }
    object->Free();
    return 0;
}
