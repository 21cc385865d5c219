// The ZIP writer's walks over an old archive: reading its central directory, copying each kept entry
// (descriptor included) and writing a new directory, and the header walks of the listing run.
#include <cstddef>
#include <cstdint>
#include <string>

#include "engine/formats/zip/writer/zip_component.h"
#include "engine/formats/zip/writer/zip_rebuild.h"
#include "framework/core/streams.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    using namespace engine;
    SpanSource source(std::span<const uint8_t>(data, size));
    zip::EntryList entries;
    uint64_t prefix = 0;
    if (zip::ReadDirectory(source, entries, prefix) == zip::DirectoryResult::Ok) {
        fw::TMemoryStream out;
        std::vector<zip::CentralRecord> records;
        if (zip::CopyBytes(source, 0, prefix, out) == zip::CopyResult::Ok) {
            for (int i = 0; i < entries.Count(); ++i) {
                zip::CentralRecord r;
                if (zip::CopyKeptEntry(source, entries.At(i), out, r) == zip::CopyResult::Ok)
                    records.push_back(std::move(r));
            }
            zip::WriteDirectory(out, records);
        }
    }

    fw::TMemoryStream stream;
    stream.Write(data, int64_t(size));
    auto* writer = fw::Make<TZip>(nullptr);
    for (bool central : {true, false}) {
        std::string name;
        int steps = 0;
        if (writer->FirstHeader(name, stream, central)) {
            do
                writer->LoadEntry(name);
            while (++steps < 100000 && writer->NextHeader(name, stream, central));
        }
    }
    writer->Free();
    return 0;
}
