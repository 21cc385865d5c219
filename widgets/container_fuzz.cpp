// Loads arbitrary bytes as a stored string list or wave list (with or without offsets, by the first
// byte); a list that loads must store and load again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "framework/core/exceptions.h"
#include "framework/core/streams.h"
#include "widgets/kvxlists.h"

namespace {

template <class List>
void Load(const uint8_t* data, size_t size, bool withOffsets) {
    fw::TMemoryStream in;
    if (size) in.WriteBuffer(data, static_cast<int64_t>(size));
    in.SetPosition(0);
    List* list = fw::Make<List>(nullptr);
    try {
        list->LoadFromStream(in, withOffsets);
    } catch (const fw::Exception&) {
        list->Free();
        return;
    }
    fw::TMemoryStream first, second;
    list->SaveToStream(first, withOffsets);
    first.SetPosition(0);
    list->LoadFromStream(first, withOffsets);
    list->SaveToStream(second, withOffsets);
    if (first.Size() != second.Size() || std::memcmp(first.Memory(), second.Memory(), static_cast<size_t>(first.Size())) != 0)
        std::abort();
    list->Free();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    const bool withOffsets = data[0] & 1;
    if (data[0] & 2)
        Load<kvx::TKVXWaveList>(data + 1, size - 1, withOffsets);
    else
        Load<kvx::TKVXStringList>(data + 1, size - 1, withOffsets);
    return 0;
}
