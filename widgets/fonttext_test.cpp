#include "widgets/fonttext.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/exceptions.h"

namespace kvx {
namespace {

std::vector<std::string> Split(const std::string& text) {
    fw::TStringList list;
    KVXSplitString(text, ',', &list);
    std::vector<std::string> out;
    for (int i = 0; i < list.Count(); ++i) out.push_back(list[i]);
    return out;
}

TEST(KVXFontText, Split) {
    struct Case {
        std::string text;
        std::vector<std::string> want;
    };
    const Case cases[] = {
        {"a,,b,", {"a", "", "b"}}, {",a", {"", "a"}}, {"abc", {"abc"}}, {"", {}}, {",", {""}}, {",,", {"", ""}},
    };
    for (const Case& c : cases) EXPECT_EQ(Split(c.text), c.want) << c.text;
    // Full lengths: a text of 300 characters splits where an 8-bit position would wrap.
    const std::string longText = std::string(299, 'x') + ",y";
    EXPECT_EQ(Split(longText), (std::vector<std::string>{std::string(299, 'x'), "y"}));
    KVXSplitString("a,b", ',', nullptr);
}

// A font that records every write in order.
struct Recorder final : TKVXFontFields {
    std::string name = "MS Sans Serif";
    int size = 8;
    fw::TColor color = fw::clWindowText;
    uint8_t style = 0;
    std::vector<std::string> writes;
    std::string Name() const override { return name; }
    int Size() const override { return size; }
    fw::TColor Color() const override { return color; }
    uint8_t Style() const override { return style; }
    void SetName(const std::string& v) override { name = v, writes.push_back("name"); }
    void SetSize(int v) override { size = v, writes.push_back("size"); }
    void SetColor(fw::TColor v) override { color = v, writes.push_back("color"); }
    void SetStyle(uint8_t v) override { style = v, writes.push_back("style"); }
};

TEST(KVXFontText, FontLines) {
    Recorder f;
    f.name = "Arial";
    f.size = 8;
    f.color = fw::clBlack;
    f.style = kFontBold | kFontItalic;
    EXPECT_EQ(KVXFontToString(f), "Arial,8,clBlack,1,1,0,0");
    f.color = 0x123456;
    f.style = kFontStrikeOut;
    EXPECT_EQ(KVXFontToString(f), "Arial,8,$00123456,0,0,0,1");

    Recorder g;
    KVXStringToFont("Arial,12,clRed,1,0,0,0", g);
    EXPECT_EQ(g.name, "Arial");
    EXPECT_EQ(g.size, 12);
    EXPECT_EQ(g.color, fw::clRed);
    EXPECT_EQ(g.style, kFontBold);
    EXPECT_EQ(g.writes, (std::vector<std::string>{"name", "size", "color", "style", "style"}));

    Recorder h;
    KVXStringToFont("Arial,x,clRed,0,0,0,0", h);
    EXPECT_EQ(h.size, 10);
    KVXStringToFont("Courier,9,$00FF00FF,0,2,256,513", h);  // the low byte decides
    EXPECT_EQ(h.color, 0xFF00FF);
    EXPECT_EQ(h.style, kFontItalic | kFontStrikeOut);
}

TEST(KVXFontText, WrongFieldCountsChangeNothing) {
    for (const char* line : {"Arial,12,clRed,1,0,0", "Arial,12,clRed,1,0,0,0,0", "", "Arial"}) {
        Recorder r;
        KVXStringToFont(line, r);
        EXPECT_TRUE(r.writes.empty()) << line;
    }
}

TEST(KVXFontText, ConversionErrorsComeAfterTheFieldsBefore) {
    Recorder r;
    EXPECT_THROW(KVXStringToFont("Arial,12,clNoSuchColour,1,0,0,0", r), fw::EConvertError);
    EXPECT_EQ(r.writes, (std::vector<std::string>{"name", "size"}));
    Recorder s;
    EXPECT_THROW(KVXStringToFont("Arial,12,clRed,1,bold,0,0", s), fw::EConvertError);
    EXPECT_EQ(s.style, kFontBold);  // bold was set before the bad field
}

}  // namespace
}  // namespace kvx
