// Icons: ICO save and load round trips, Pillow's view of what we write, cursors, damaged files.
#include <gtest/gtest.h>

#include "framework/core/streams.h"
#include "framework/win32/graphics.h"
#include "framework/win32/graphics_test_util.h"
#include "testing/test_env.h"

namespace {

using namespace fw;
using gfxtest::Rgb;
using gfxtest::RgbAt;

// A 32x32 icon: red left half, blue right half, a transparent 8x8 top-left corner.
HICON MakeIcon() {
    TBitmap colour;
    colour.SetPixelFormat(TPixelFormat::pf24bit);
    colour.SetSize(32, 32);
    colour.Canvas()->Brush()->SetColor(clRed);
    colour.Canvas()->FillRect(Rect(0, 0, 16, 32));
    colour.Canvas()->Brush()->SetColor(clBlue);
    colour.Canvas()->FillRect(Rect(16, 0, 32, 32));
    colour.Canvas()->Brush()->SetColor(clBlack);
    colour.Canvas()->FillRect(Rect(0, 0, 8, 8));
    TBitmap mask;
    mask.SetMonochrome(true);
    mask.SetSize(32, 32);
    mask.Canvas()->Brush()->SetColor(clBlack);
    mask.Canvas()->FillRect(Rect(0, 0, 32, 32));
    mask.Canvas()->Brush()->SetColor(clWhite);
    mask.Canvas()->FillRect(Rect(0, 0, 8, 8));
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmColor = colour.Handle();
    info.hbmMask = mask.Handle();
    return CreateIconIndirect(&info);  // copies the bitmaps
}

// The icon drawn at its size over green.
std::vector<uint32_t> Drawn(TIcon& icon) {
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf24bit);
    b.SetSize(32, 32);
    b.Canvas()->Brush()->SetColor(clLime);
    b.Canvas()->FillRect(Rect(0, 0, 32, 32));
    b.Canvas()->Draw(0, 0, &icon);
    return Rgb(b);
}

TEST(Icon, SavedIconReadsBackAndDecodesInPillow) {
    TIcon icon;
    icon.SetHandle(MakeIcon());
    ASSERT_FALSE(icon.Empty());
    EXPECT_EQ(icon.Width(), 32);
    EXPECT_EQ(icon.Height(), 32);
    EXPECT_FALSE(icon.IsCursor());
    std::vector<uint32_t> drawn = Drawn(icon);
    EXPECT_EQ(drawn[0], 0x00FF00u);               // transparent corner
    EXPECT_EQ(drawn[20 * 32 + 4], 0xFF0000u);     // red half
    EXPECT_EQ(drawn[20 * 32 + 20], 0x0000FFu);    // blue half
    EXPECT_THROW(icon.SetWidth(16), EInvalidGraphicOperation);

    std::vector<uint8_t> file = icon.SaveToBytes();
    ASSERT_GT(file.size(), 22u);
    EXPECT_EQ(file[2], 1);  // an icon directory
    TIcon back;
    back.LoadFromBytes(file);
    EXPECT_EQ(back.Width(), 32);
    EXPECT_EQ(Drawn(back), drawn);
    EXPECT_EQ(back.SaveToBytes(), file);  // the image read is the image written

    gfxtest::CaseDir dir = gfxtest::NewCaseDir();
    icon.SaveToFile(dir.win + "\\red.ico");
    int w = 0, h = 0;
    std::vector<uint32_t> pil;
    std::string error;
    ASSERT_TRUE(gfxtest::PillowPixels(dir, "red.ico", w, h, pil, error)) << error;
    EXPECT_EQ(w, 32);
    EXPECT_EQ(h, 32);
    EXPECT_EQ(pil[20 * 32 + 4], 0xFF0000u);
    EXPECT_EQ(pil[20 * 32 + 20], 0x0000FFu);

    // A copy through Assign draws the same.
    TIcon copy;
    copy.Assign(&back);
    EXPECT_EQ(Drawn(copy), drawn);
    copy.Assign(&icon);
    EXPECT_EQ(Drawn(copy), drawn);
}

TEST(Icon, PillowWrittenIconWithSeveralSizesLoads) {
    gfxtest::CaseDir dir = gfxtest::NewCaseDir();
    mx::test::WriteFile(dir.win + "\\multi.py",
                        "from PIL import Image\n"
                        "im = Image.new('RGBA', (48, 48), (0, 0, 255, 255))\n"
                        "im.save('multi.ico', sizes=[(16, 16), (32, 32), (48, 48)])\n");
    ASSERT_EQ(gfxtest::RunUnix(dir, "cd '" + dir.unix + "' && /usr/bin/python3 multi.py"), 0)
        << "/usr/bin/python3 with PIL (package python3-pil) is needed";
    TIcon icon;
    icon.LoadFromFile(dir.win + "\\multi.ico");
    EXPECT_EQ(icon.Width(), GetSystemMetrics(SM_CXICON));  // the entry of the system size
    EXPECT_EQ(Drawn(icon)[5 * 32 + 5], 0x0000FFu);
    TPicture picture;
    picture.LoadFromFile(dir.win + "\\multi.ico");
    ASSERT_NE(dynamic_cast<TIcon*>(picture.Graphic()), nullptr);
    EXPECT_EQ(picture.Width(), icon.Width());
}

TEST(Icon, CursorFileIsReadWithItsHotSpot) {
    TIcon icon;
    icon.SetHandle(MakeIcon());
    std::vector<uint8_t> file = icon.SaveToBytes();
    file[2] = 2;   // a cursor directory
    file[10] = 5;  // hot spot x
    file[11] = 0;
    file[12] = 7;  // hot spot y
    file[13] = 0;
    TIcon cursor;
    cursor.LoadFromBytes(file);
    EXPECT_TRUE(cursor.IsCursor());
    EXPECT_EQ(cursor.Width(), 32);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor.Handle(), &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 7u);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);

    // Saved from a handle alone, a cursor keeps its hot spot in the directory.
    TIcon fromHandle;
    fromHandle.SetHandle(CopyIcon(cursor.Handle()));
    EXPECT_TRUE(fromHandle.IsCursor());
    std::vector<uint8_t> saved = fromHandle.SaveToBytes();
    ASSERT_GT(saved.size(), 22u);
    EXPECT_EQ(saved[2], 2);
    EXPECT_EQ(saved[10], 5);
    EXPECT_EQ(saved[12], 7);
    TIcon again;
    again.LoadFromBytes(saved);
    EXPECT_TRUE(again.IsCursor());
}

TEST(Icon, DamagedFilesRaise) {
    TIcon icon;
    icon.SetHandle(MakeIcon());
    std::vector<uint8_t> good = icon.SaveToBytes();
    std::vector<std::vector<uint8_t>> bad;
    bad.push_back({});
    bad.push_back({0, 0, 1, 0});
    bad.push_back({0, 0, 1, 0, 0, 0});                              // no entries
    bad.push_back({0, 0, 3, 0, 1, 0});                              // unknown type
    bad.push_back(std::vector<uint8_t>(good.begin(), good.begin() + 30));  // image cut off
    std::vector<uint8_t> farOffset = good;
    farOffset[18] = 0xFF;
    farOffset[19] = 0xFF;
    farOffset[20] = 0xFF;
    farOffset[21] = 0x7F;
    bad.push_back(farOffset);
    std::vector<uint8_t> hugeSize = good;
    hugeSize[17] = 0xFF;
    bad.push_back(hugeSize);
    std::vector<uint8_t> manyEntries = good;
    manyEntries[4] = 0xFF;
    manyEntries[5] = 0xFF;
    bad.push_back(manyEntries);
    for (size_t i = 0; i < bad.size(); ++i) {
        SCOPED_TRACE("case " + std::to_string(i));
        TIcon target;
        EXPECT_THROW(target.LoadFromBytes(bad[i]), EInvalidGraphic);
        EXPECT_TRUE(target.Empty());
    }
}

}  // namespace
