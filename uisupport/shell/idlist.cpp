#include "uisupport/shell/idlist.h"

namespace uis {
namespace {

uint16_t CountAt(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }

// Walks the items; calls visit(offset, count) for each and returns the list size with its terminator,
// or 0 when the list is malformed. The walk stops early (returning 0) when visit says so.
template <class Visit>
size_t Walk(const uint8_t* list, size_t capacity, Visit visit) {
    if (!list || capacity < 2) return 0;
    size_t offset = 0;
    for (;;) {
        if (capacity - offset < 2) return 0;  // no room left for a count
        const uint16_t cb = CountAt(list + offset);
        if (cb == 0) return offset + 2;
        if (cb < 2 || cb > capacity - offset) return 0;
        if (!visit(offset, cb)) return 0;
        offset += cb;
    }
}

}  // namespace

size_t IDListSize(const uint8_t* list, size_t capacity) {
    return Walk(list, capacity, [](size_t, uint16_t) { return true; });
}

size_t IDListItemCount(const uint8_t* list, size_t capacity) {
    size_t count = 0;
    if (!Walk(list, capacity, [&](size_t, uint16_t) { return ++count, true; })) return 0;
    return count;
}

IDListBytes IDListItem(const uint8_t* list, size_t capacity, size_t index) {
    size_t seen = 0;
    IDListBytes found;
    if (!Walk(list, capacity, [&](size_t offset, uint16_t cb) {
            if (seen++ == index) found = IDListBytes(list + offset, cb);
            return true;
        }))
        return {};
    return found;
}

std::ptrdiff_t IDListLastItemOffset(const uint8_t* list, size_t capacity) {
    std::ptrdiff_t last = -1;
    if (!Walk(list, capacity, [&](size_t offset, uint16_t) { return last = static_cast<std::ptrdiff_t>(offset), true; }))
        return -1;
    return last;
}

std::vector<uint8_t> IDListConcat(const uint8_t* first, size_t firstCapacity, const uint8_t* second,
                                  size_t secondCapacity) {
    const size_t a = IDListSize(first, firstCapacity);
    const size_t b = IDListSize(second, secondCapacity);
    if (!a || !b) return {};
    std::vector<uint8_t> out(first, first + (a - 2));
    out.insert(out.end(), second, second + b);
    return out;
}

bool IDListSplitLast(const uint8_t* list, size_t capacity, std::vector<uint8_t>& parent, std::vector<uint8_t>& last) {
    parent.clear();
    last.clear();
    const size_t size = IDListSize(list, capacity);
    const std::ptrdiff_t at = IDListLastItemOffset(list, capacity);
    if (!size || at < 0) return false;
    const auto offset = static_cast<size_t>(at);
    parent.assign(list, list + offset);
    parent.insert(parent.end(), {0, 0});
    last.assign(list + offset, list + (size - 2));
    last.insert(last.end(), {0, 0});
    return true;
}

}  // namespace uis
