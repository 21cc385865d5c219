// Item-id lists as bytes: the shell names every folder and object by a list of items, each one
// starting with its own 16-bit byte count (the count included), the list ended by a 16-bit zero.
//
//   +------+--------------+------+--------------+------+
//   | cb 1 | cb1 - 2 bytes| cb 2 | cb2 - 2 bytes| 0000 |
//   +------+--------------+------+--------------+------+
//
// Every walk here is bounded by the bytes the caller can vouch for (`capacity`): an item whose count
// is 1 (it would never move on) or that runs past the bound makes the list malformed, and a malformed
// list has size 0, no items and is never copied. The Win32 layer passes lists it got from the shell
// with kIDListMaxBytes as the bound.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace uis {

// The bound for lists whose length nobody told us (lists the shell handed out).
constexpr size_t kIDListMaxBytes = 1u << 20;

using IDListBytes = std::span<const uint8_t>;

// Bytes of the list including its terminator; 0 for a malformed list or none (null, capacity < 2).
size_t IDListSize(const uint8_t* list, size_t capacity);

// The number of items before the terminator; 0 for the empty list and for a malformed one.
size_t IDListItemCount(const uint8_t* list, size_t capacity);

// Item `index` (its count included), or an empty span when the list is malformed or shorter.
IDListBytes IDListItem(const uint8_t* list, size_t capacity, size_t index);

// Offset of the last item, or -1 for the empty list and a malformed one.
std::ptrdiff_t IDListLastItemOffset(const uint8_t* list, size_t capacity);

// The first list without its terminator followed by the second list. Empty (not even a terminator)
// when either is malformed.
std::vector<uint8_t> IDListConcat(const uint8_t* first, size_t firstCapacity, const uint8_t* second,
                                  size_t secondCapacity);

// Splits a list before its last item: `parent` gets the items before it and a terminator, `last` the
// last item alone with a terminator. False (both cleared) for the empty list and a malformed one.
bool IDListSplitLast(const uint8_t* list, size_t capacity, std::vector<uint8_t>& parent, std::vector<uint8_t>& last);

}  // namespace uis
