// Item-id lists as bytes: sizes, items, the last item and joining, on well-formed lists and on lists
// whose counts lie (a count of 1 that would never move on, counts past the end, no terminator).
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "uisupport/shell/idlist.h"

namespace uis {
namespace {

using Bytes = std::vector<uint8_t>;

// An item of `cb` bytes in all (its count included), filled with `fill`.
Bytes Item(uint16_t cb, uint8_t fill) {
    Bytes b(cb < 2 ? 2 : cb, fill);
    b[0] = static_cast<uint8_t>(cb & 0xFF);
    b[1] = static_cast<uint8_t>(cb >> 8);
    return b;
}

Bytes List(std::initializer_list<Bytes> items, bool terminated = true) {
    Bytes b;
    for (const Bytes& i : items) b.insert(b.end(), i.begin(), i.end());
    if (terminated) b.insert(b.end(), {0, 0});
    return b;
}

struct SizeCase {
    const char* why;
    Bytes list;
    size_t size;
    size_t count;
    std::ptrdiff_t lastOffset;
};

TEST(IDList, SizesCountsAndLastItems) {
    const SizeCase cases[] = {
        {"the empty list (the desktop)", List({}), 2, 0, -1},
        {"one item", List({Item(4, 0xA1)}), 6, 1, 0},
        {"three items of different sizes", List({Item(20, 1), Item(3, 2), Item(9, 3)}), 34, 3, 23},
        {"an item of the largest count", List({Item(0xFFFF, 7)}), 0xFFFF + 2, 1, 0},
        {"a count of 1 never moves on", List({Item(4, 1), Bytes{1, 0, 0xEE}}), 0, 0, -1},
        {"a count past the end", Bytes{8, 0, 1, 2}, 0, 0, -1},
        {"no terminator", List({Item(4, 1)}, false), 0, 0, -1},
        {"half a terminator", Bytes{4, 0, 9, 9, 0}, 0, 0, -1},
        {"nothing at all", Bytes{}, 0, 0, -1},
        {"one byte", Bytes{0}, 0, 0, -1},
    };
    for (const SizeCase& c : cases) {
        SCOPED_TRACE(c.why);
        EXPECT_EQ(IDListSize(c.list.data(), c.list.size()), c.size);
        EXPECT_EQ(IDListItemCount(c.list.data(), c.list.size()), c.count);
        EXPECT_EQ(IDListLastItemOffset(c.list.data(), c.list.size()), c.lastOffset);
    }
    EXPECT_EQ(IDListSize(nullptr, 100), 0u);
}

TEST(IDList, TheBoundIsWhatTheCallerVouchesFor) {
    // Bytes after the terminator are never looked at; bytes before it must all lie inside the bound.
    Bytes list = List({Item(6, 1), Item(4, 2)});
    list.insert(list.end(), {0xFF, 0xFF, 0xFF});
    EXPECT_EQ(IDListSize(list.data(), list.size()), 12u);
    EXPECT_EQ(IDListSize(list.data(), 12), 12u);
    EXPECT_EQ(IDListSize(list.data(), 11), 0u);
    EXPECT_EQ(IDListSize(list.data(), 6), 0u);
}

TEST(IDList, ItemsByIndex) {
    const Bytes list = List({Item(5, 0x11), Item(3, 0x22)});
    const IDListBytes first = IDListItem(list.data(), list.size(), 0);
    ASSERT_EQ(first.size(), 5u);
    EXPECT_EQ(first[2], 0x11);
    const IDListBytes second = IDListItem(list.data(), list.size(), 1);
    ASSERT_EQ(second.size(), 3u);
    EXPECT_EQ(second[2], 0x22);
    EXPECT_TRUE(IDListItem(list.data(), list.size(), 2).empty());
    const Bytes broken{5, 0, 1, 2, 3, 1, 0};
    EXPECT_TRUE(IDListItem(broken.data(), broken.size(), 0).empty()) << "no item of a malformed list";
}

TEST(IDList, ConcatJoinsWithoutTheFirstTerminator) {
    const Bytes a = List({Item(4, 1), Item(5, 2)});
    const Bytes b = List({Item(6, 3)});
    const Bytes joined = IDListConcat(a.data(), a.size(), b.data(), b.size());
    EXPECT_EQ(joined, List({Item(4, 1), Item(5, 2), Item(6, 3)}));
    const Bytes empty = List({});
    EXPECT_EQ(IDListConcat(empty.data(), empty.size(), b.data(), b.size()), b);
    EXPECT_EQ(IDListConcat(a.data(), a.size(), empty.data(), empty.size()), a);
    const Bytes broken{9, 0, 1};
    EXPECT_TRUE(IDListConcat(a.data(), a.size(), broken.data(), broken.size()).empty());
    EXPECT_TRUE(IDListConcat(broken.data(), broken.size(), b.data(), b.size()).empty());
}

TEST(IDList, SplitLastGivesTheParentAndTheItem) {
    const Bytes list = List({Item(4, 1), Item(5, 2), Item(3, 3)});
    Bytes parent, last;
    ASSERT_TRUE(IDListSplitLast(list.data(), list.size(), parent, last));
    EXPECT_EQ(parent, List({Item(4, 1), Item(5, 2)}));
    EXPECT_EQ(last, List({Item(3, 3)}));
    // The desktop has no parent.
    const Bytes empty = List({});
    EXPECT_FALSE(IDListSplitLast(empty.data(), empty.size(), parent, last));
    EXPECT_TRUE(parent.empty());
    EXPECT_TRUE(last.empty());
    const Bytes broken = List({Item(4, 1), Bytes{1, 0}});
    EXPECT_FALSE(IDListSplitLast(broken.data(), broken.size(), parent, last));
}

}  // namespace
}  // namespace uis
