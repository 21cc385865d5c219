#include "widgets/imageboxrules.h"

#include <gtest/gtest.h>

namespace kvx {
namespace {

using O = TKVXImageBoxOption;

TEST(KVXImageBox, PictureChoice) {
    struct Case {
        const char* name;
        TKVXImageChoice choice;
        int index;
        const char* text;
        int want;
    };
    const TKVXImageBoxOptions byNumber{O::lboCheckImageNr};
    const Case cases[] = {
        {"no image list", {kKVXImageBoxDefaultOptions, '|', -1, -1, 5}, 0, "a", -1},
        {"list order: item i shows picture i", {kKVXImageBoxDefaultOptions, '|', -1, 2, 5}, 1, "b|0", 1},
        {"list order: item 3 of five over two pictures", {kKVXImageBoxDefaultOptions, '|', -1, 2, 5}, 3, "d", -1},
        {"list order: index past the items", {kKVXImageBoxDefaultOptions, '|', -1, 9, 2}, 2, "", -1},
        {"list order: empty list of pictures", {kKVXImageBoxDefaultOptions, '|', 0, 0, 3}, 0, "a", -1},
        {"no options: default picture 6", {{}, '|', 6, 8, 3}, 0, "plain", 6},
        {"no options: default beside every plain item", {{}, '|', 6, 8, 3}, 2, "other", 6},
        {"no default: no picture", {{}, '|', -1, 8, 3}, 0, "plain", -1},
        {"number after the delimiter", {byNumber, '|', 6, 8, 3}, 0, "Docs|3", 3},
        {"only the first delimiter counts", {byNumber, '|', 6, 8, 3}, 0, "a|2|5", -1},
        {"blanks before the number", {byNumber, '|', -1, 8, 3}, 0, "a| 4", 4},
        {"hexadecimal number", {byNumber, '|', -1, 8, 3}, 0, "a|$7", 7},
        {"not a number beats the default", {byNumber, '|', 6, 8, 3}, 0, "a|x", -1},
        {"empty number", {byNumber, '|', 6, 8, 3}, 0, "a|", -1},
        {"trailing text", {byNumber, '|', 6, 8, 3}, 0, "a|3x", -1},
        {"number past the pictures", {byNumber, '|', 6, 8, 3}, 0, "a|8", -1},
        {"negative number", {byNumber, '|', 6, 8, 3}, 0, "a|-1", -1},
        {"huge number", {byNumber, '|', 6, 8, 3}, 0, "a|99999999999", -1},
        {"default past the pictures", {{}, '|', 8, 8, 3}, 0, "plain", -1},
        {"other delimiter", {byNumber, ';', -1, 8, 3}, 0, "a|1;2", 2},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXImageBoxPicture(c.choice, c.index, c.text), c.want) << c.name;
}

TEST(KVXImageBox, ItemText) {
    struct Case {
        TKVXImageBoxOptions options;
        char delimiter;
        const char* text;
        const char* want;
    };
    const Case cases[] = {
        {{O::lboCheckImageNr}, '|', "Docs|3", "Docs"},
        {{O::lboCheckImageNr}, '|', "a|b|c", "a"},
        {{O::lboCheckImageNr}, '|', "plain", "plain"},
        {{O::lboCheckImageNr}, '|', "|3", ""},
        {{}, '|', "Docs|3", "Docs|3"},
        {{O::lboImageListOrder}, '|', "Docs|3", "Docs|3"},
        {{O::lboCheckImageNr}, '#', "a|b#1", "a|b"},
    };
    for (const Case& c : cases) EXPECT_EQ(KVXImageBoxText(c.options, c.delimiter, c.text), c.want) << c.text;
}

TEST(KVXImageBox, PanelCaptionFlags) {
    const uint32_t align[] = {0, 1, 2, 4, 5, 6, 8, 9, 10};
    for (int a = 0; a < 9; ++a)
        EXPECT_EQ(KVXPanelCaptionFlags(static_cast<TKVXAlignment>(a), false), align[a] | 0x860u) << a;
    EXPECT_EQ(KVXPanelCaptionFlags(TKVXAlignment::agCenter, true), 0x20865u);
}

}  // namespace
}  // namespace kvx
