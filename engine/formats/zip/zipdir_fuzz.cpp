// Locates the directory of arbitrary bytes and walks it to the end, central or local, reading every
// extra field on the way.
#include <cstddef>
#include <cstdint>

#include "engine/formats/zip/central_walker.h"
#include "engine/formats/zip/directory_locator.h"
#include "engine/formats/zip/local_walker.h"

namespace {

void WalkExtras(const std::string& extra) {
    engine::zip::ExtraFieldReader reader({reinterpret_cast<const uint8_t*>(extra.data()), extra.size()});
    engine::zip::ExtraField field;
    while (reader.Next(field)) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace engine::zip;
    engine::SpanSource source({data, size});
    const uint64_t embedded = size > 8 ? data[size - 1] : 0;  // exercise shifted offsets too
    for (const uint64_t offset : {uint64_t{0}, embedded}) {
        const DirectoryLocation loc = LocateDirectory(source, offset, offset);
        if (loc.kind == DirectoryLocation::Kind::Central) {
            CentralDirectoryWalker walker(source, loc.position);
            CentralEntry entry;
            while (walker.Next(entry) == WalkStep::Entry) WalkExtras(entry.extra);
        }
        // The local walk runs over every input, as the fallback would.
        LocalHeaderWalker local(source, loc.kind == DirectoryLocation::Kind::Local ? loc.position : 0);
        LocalEntry entry;
        while (local.Next(entry) == WalkStep::Entry) WalkExtras(entry.extra);
    }
    return 0;
}
