// Helpers of the layout, painting and editing tests: a paint target that records what is drawn, and
// the comparison of two laid-out documents line by line.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "richtext/paint_list.h"
#include "richtext/rtf_text.h"

namespace rt::test {

class PaintRecorder : public IPaintTarget {
public:
    void Draw(const TPaintList& list) override { lists.push_back(list); }
    void ResetClip() override { ++resets; }
    std::vector<TPaintList> lists;
    int resets = 0;
};

// Both documents hold the same paragraphs, lines and line tops.
inline void ExpectSameLayout(const TZrtRTFText& edited, const TZrtRTFText& fresh) {
    for (TParagraph *a = edited.Body, *b = fresh.Body; a || b; a = a->Next, b = b->Next) {
        ASSERT_TRUE(a && b);
        TTextLine* x = a->FirstLine;
        TTextLine* y = b->FirstLine;
        for (; x || y; x = x->Next, y = y->Next) {
            ASSERT_TRUE(x && y);
            EXPECT_EQ(std::string(x->Chars.data(), x->Length), std::string(y->Chars.data(), y->Length));
            EXPECT_EQ(x->Top, y->Top);
        }
    }
}

}  // namespace rt::test
