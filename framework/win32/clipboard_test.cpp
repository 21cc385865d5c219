// The clipboard under Wine: text round trip, raw formats, several formats in one change, bitmaps.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "framework/win32/clipboard.h"
#include "framework/win32/graphics.h"
#include "framework/win32/winapi.h"

namespace fw {
namespace {

TEST(ClipboardTest, TextRoundTrip) {
    const std::vector<std::string> texts = {"hello", "", "two\r\nlines", std::string("caf\xE9 \xB5", 6),
                                            std::string(70000, 'x')};
    for (const std::string& text : texts) {
        SCOPED_TRACE(text.substr(0, 20));
        Clipboard().SetAsText(text);
        EXPECT_TRUE(Clipboard().HasFormat(CF_TEXT));
        EXPECT_EQ(Clipboard().AsText(), text);
        // What other programs read.
        ASSERT_TRUE(OpenClipboard(nullptr));
        HANDLE data = GetClipboardData(CF_TEXT);
        ASSERT_NE(data, nullptr);
        EXPECT_EQ(std::string(static_cast<const char*>(GlobalLock(data))), text);
        GlobalUnlock(data);
        CloseClipboard();
    }
}

TEST(ClipboardTest, TextSetByAnotherProgramIsRead) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    const char text[] = "from elsewhere";
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(text) + 16);  // larger than the text
    std::memcpy(GlobalLock(block), text, sizeof(text));
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
    EXPECT_EQ(Clipboard().AsText(), "from elsewhere");
}

TEST(ClipboardTest, RawFormatKeepsEveryByte) {
    const unsigned format = TClipboard::RegisterFormat("Fw Clipboard Test Bytes");
    EXPECT_EQ(TClipboard::RegisterFormat("Fw Clipboard Test Bytes"), format);
    const std::vector<uint8_t> bytes = {0, 1, 2, 0, 0xFF, 0x80, 0, 7};
    Clipboard().SetBuffer(format, bytes.data(), bytes.size());
    EXPECT_TRUE(Clipboard().HasFormat(format));
    EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));  // the change replaced the text
    std::vector<uint8_t> back = Clipboard().GetBuffer(format);
    ASSERT_GE(back.size(), bytes.size());  // the system may round the block up
    back.resize(bytes.size());
    EXPECT_EQ(back, bytes);
}

TEST(ClipboardTest, OpenCloseMakesSeveralFormatsOneChange) {
    const unsigned format = TClipboard::RegisterFormat("Fw Clipboard Test Extra");
    const uint8_t extra[] = {9, 8, 7};
    Clipboard().Open();
    Clipboard().SetAsText("both");
    Clipboard().SetBuffer(format, extra, sizeof(extra));
    Clipboard().Open();  // nested
    Clipboard().Close();
    Clipboard().Close();
    EXPECT_TRUE(Clipboard().HasFormat(CF_TEXT));
    EXPECT_TRUE(Clipboard().HasFormat(format));
    EXPECT_EQ(Clipboard().AsText(), "both");
    const std::vector<unsigned> formats = Clipboard().Formats();
    EXPECT_NE(std::find(formats.begin(), formats.end(), format), formats.end());

    Clipboard().Clear();
    EXPECT_FALSE(Clipboard().HasFormat(CF_TEXT));
    EXPECT_FALSE(Clipboard().HasFormat(format));
    EXPECT_EQ(Clipboard().AsText(), "");
    EXPECT_TRUE(Clipboard().GetBuffer(format).empty());
    Clipboard().Close();  // unbalanced: ignored
}

TEST(ClipboardTest, BitmapHandle) {
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 5, 3);
    ReleaseDC(nullptr, screen);
    ASSERT_NE(bitmap, nullptr);
    Clipboard().SetAsHandle(CF_BITMAP, bitmap);  // the clipboard owns it now
    EXPECT_TRUE(Clipboard().HasFormat(CF_BITMAP));
    auto* back = static_cast<HBITMAP>(Clipboard().GetAsHandle(CF_BITMAP));
    ASSERT_NE(back, nullptr);
    BITMAP info{};
    ASSERT_NE(GetObjectA(back, sizeof(info), &info), 0);
    EXPECT_EQ(info.bmWidth, 5);
    EXPECT_EQ(info.bmHeight, 3);
}

// Pictures go through the graphic classes' clipboard formats: a bitmap leaves as a DIB and comes back
// pixel for pixel, into a bitmap or into a picture.
TEST(ClipboardTest, BitmapThroughTheGraphicClasses) {
    RegisterGraphicsClasses();
    const TColor colours[3][4] = {{clRed, clLime, clBlue, clWhite},
                                  {clBlack, clYellow, clFuchsia, clAqua},
                                  {clGray, clMaroon, clNavy, clOlive}};
    TBitmap source;
    source.SetPixelFormat(TPixelFormat::pf24bit);
    source.SetSize(4, 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x) source.Canvas()->SetPixels(x, y, colours[y][x]);
    Clipboard().Assign(&source);
    EXPECT_TRUE(Clipboard().HasFormat(CF_DIB));
    EXPECT_TRUE(Clipboard().HasPicture());

    TBitmap back;
    back.Assign(&Clipboard());
    ASSERT_EQ(back.Width(), 4);
    ASSERT_EQ(back.Height(), 3);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(back.Canvas()->Pixels(x, y), colours[y][x]) << x << "," << y;

    TPicture picture;
    picture.Assign(&Clipboard());
    ASSERT_NE(dynamic_cast<TBitmap*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), 4);
    EXPECT_EQ(picture.Height(), 3);

    // Text is no picture.
    Clipboard().SetAsText("no picture");
    EXPECT_FALSE(Clipboard().HasPicture());
    TBitmap none;
    EXPECT_THROW(none.Assign(&Clipboard()), EInvalidGraphic);
    // Nothing is not a picture either.
    EXPECT_THROW(Clipboard().Assign(nullptr), EConvertError);
}

}  // namespace
}  // namespace fw
