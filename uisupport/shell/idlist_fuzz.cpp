// Walks arbitrary bytes as item-id lists, bounded by exactly the input's size, and checks that the
// routines agree: the size, the items and the last item describe one walk, and joining and
// splitting give back well-formed lists of the expected sizes.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "uisupport/shell/idlist.h"

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

void Walk(const uint8_t* data, size_t size) {
    const size_t total = uis::IDListSize(data, size);
    const size_t count = uis::IDListItemCount(data, size);
    const std::ptrdiff_t last = uis::IDListLastItemOffset(data, size);
    if (!total) {
        Check(count == 0 && last < 0 && uis::IDListItem(data, size, 0).empty());
        return;
    }
    Check(total <= size && total >= 2 && data[total - 2] == 0 && data[total - 1] == 0);
    size_t sum = 2;
    for (size_t i = 0; i < count; ++i) {
        const uis::IDListBytes item = uis::IDListItem(data, size, i);
        Check(item.size() >= 2 && item.data() >= data && item.data() + item.size() <= data + total);
        sum += item.size();
    }
    Check(sum == total && uis::IDListItem(data, size, count).empty());
    Check((count == 0) == (last < 0));
    std::vector<uint8_t> parent, tail;
    Check(uis::IDListSplitLast(data, size, parent, tail) == (count > 0));
    if (count > 0) {
        Check(uis::IDListSize(parent.data(), parent.size()) == parent.size());
        Check(uis::IDListItemCount(tail.data(), tail.size()) == 1);
        const std::vector<uint8_t> again = uis::IDListConcat(parent.data(), parent.size(), tail.data(), tail.size());
        Check(again.size() == total && std::memcmp(again.data(), data, total) == 0);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> in(data, data + size);  // exactly the input's size
    Walk(in.data(), in.size());
    // The first byte splits the rest into two lists to join.
    if (size >= 1) {
        const size_t cut = std::min<size_t>(data[0], size - 1);
        std::vector<uint8_t> a(data + 1, data + 1 + cut), b(data + 1 + cut, data + size);
        const std::vector<uint8_t> joined = uis::IDListConcat(a.data(), a.size(), b.data(), b.size());
        const size_t sa = uis::IDListSize(a.data(), a.size()), sb = uis::IDListSize(b.data(), b.size());
        if (sa && sb) {
            Check(joined.size() == sa + sb - 2);
            Check(uis::IDListSize(joined.data(), joined.size()) == joined.size());
            Check(uis::IDListItemCount(joined.data(), joined.size()) ==
                  uis::IDListItemCount(a.data(), a.size()) + uis::IDListItemCount(b.data(), b.size()));
        } else {
            Check(joined.empty());
        }
    }
    return 0;
}
