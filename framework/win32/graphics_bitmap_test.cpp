// Bitmaps: pixel formats, BMP streams at every depth against the codec and Pillow, sizing, transparency.
#include <gtest/gtest.h>

#include "framework/core/streams.h"
#include "framework/win32/graphics.h"
#include "framework/win32/graphics_test_util.h"
#include "testing/test_env.h"

namespace {

using namespace fw;
using gfxtest::Rgb;
using gfxtest::RgbAt;

TColor FromRgb(uint32_t rgb) { return fw::RGB(static_cast<int>(rgb >> 16) & 255, static_cast<int>(rgb >> 8) & 255, static_cast<int>(rgb) & 255); }

struct DepthCase {
    TPixelFormat format;
    int bpp;
};

// A pattern of colours the depth holds exactly: its own palette's for palette formats.
uint32_t PatternColour(const std::vector<uint32_t>& palette, int bpp, int x, int y) {
    if (bpp <= 8) return palette[static_cast<size_t>(x * 7 + y * 3) % palette.size()];
    return static_cast<uint32_t>(((x * 19) & 255) << 16 | ((y * 37) & 255) << 8 | ((x * y * 5) & 255));
}

TEST(Bitmap, EveryDepthRoundTripsThroughBmpCodecAndPillow) {
    gfxtest::CaseDir dir = gfxtest::NewCaseDir();
    const DepthCase cases[] = {{TPixelFormat::pf1bit, 1}, {TPixelFormat::pf4bit, 4}, {TPixelFormat::pf8bit, 8},
                               {TPixelFormat::pf24bit, 24}, {TPixelFormat::pf32bit, 32}};
    for (const DepthCase& c : cases) {
        SCOPED_TRACE("bpp " + std::to_string(c.bpp));
        TBitmap b;
        b.SetPixelFormat(c.format);
        b.SetSize(13, 7);  // an odd width pads every row
        ASSERT_EQ(b.PixelFormat(), c.format);
        ASSERT_EQ(b.HandleType(), TBitmapHandleType::bmDIB);
        std::vector<uint32_t> palette = b.ToImage().palette;
        if (c.bpp <= 8) {
            ASSERT_EQ(palette.size(), size_t{1} << c.bpp);
        }
        std::vector<uint32_t> want;
        for (int y = 0; y < 7; ++y)
            for (int x = 0; x < 13; ++x) {
                uint32_t colour = PatternColour(palette, c.bpp, x, y);
                b.Canvas()->SetPixels(x, y, FromRgb(colour));
                want.push_back(colour);
            }
        ASSERT_EQ(Rgb(b), want);

        std::vector<uint8_t> bytes = b.SaveToBytes();
        BmpImage decoded;
        std::string error;
        ASSERT_TRUE(DecodeBmp(bytes, decoded, &error)) << error;
        EXPECT_EQ(decoded.bitsPerPixel, c.bpp);
        ASSERT_EQ(decoded.width, 13);
        ASSERT_EQ(decoded.height, 7);
        for (size_t i = 0; i < want.size(); ++i) ASSERT_EQ(decoded.pixels[i] & 0xFFFFFF, want[i]) << "pixel " << i;

        TBitmap back;
        back.LoadFromBytes(bytes);
        EXPECT_EQ(back.PixelFormat(), c.format);
        EXPECT_EQ(back.Width(), 13);
        EXPECT_EQ(back.Height(), 7);
        EXPECT_EQ(Rgb(back), want);
        if (c.bpp <= 8) {
            EXPECT_EQ(back.ToImage().indices, b.ToImage().indices);
            EXPECT_EQ(back.SaveToBytes(), bytes);
        }

        const std::string name = "depth" + std::to_string(c.bpp) + ".bmp";
        b.SaveToFile(dir.win + "\\" + name);
        int w = 0, h = 0;
        std::vector<uint32_t> pil;
        ASSERT_TRUE(gfxtest::PillowPixels(dir, name, w, h, pil, error)) << error;
        EXPECT_EQ(w, 13);
        EXPECT_EQ(h, 7);
        EXPECT_EQ(pil, want);
    }
}

TEST(Bitmap, ThirtyTwoBitKeepsTheFourthByte) {
    BmpImage image;
    image.width = 3;
    image.height = 2;
    image.bitsPerPixel = 32;
    image.pixels = {0x80FF0000, 0x00112233, 0xFF00FF00, 0x01020304, 0x7F7F7F7F, 0xFFFFFFFF};
    TBitmap b;
    b.FromImage(image);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(b.ToImage().pixels, image.pixels);
    BmpImage decoded = ReadBmp(b.SaveToBytes());
    EXPECT_EQ(decoded.pixels, image.pixels);
}

TEST(Bitmap, SizeFormatAndConversions) {
    TBitmap b;
    EXPECT_TRUE(b.Empty());
    EXPECT_EQ(b.Canvas()->Handle() != nullptr, true);  // an empty bitmap still has a canvas
    b.SetPixelFormat(TPixelFormat::pf24bit);
    b.SetSize(4, 3);
    EXPECT_FALSE(b.Empty());
    for (uint32_t p : Rgb(b)) EXPECT_EQ(p, 0xFFFFFFu);  // new pixels are white
    b.Canvas()->SetPixels(1, 1, clRed);
    b.SetSize(6, 5);  // grows, keeping the picture
    EXPECT_EQ(RgbAt(b, 1, 1), 0xFF0000u);
    EXPECT_EQ(RgbAt(b, 5, 4), 0xFFFFFFu);
    b.SetWidth(2);
    EXPECT_EQ(b.Width(), 2);
    EXPECT_EQ(RgbAt(b, 1, 1), 0xFF0000u);

    // 24 -> 8 -> 24 keeps colours the 8-bit palette holds.
    b.SetPixelFormat(TPixelFormat::pf8bit);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_NE(b.Palette(), nullptr);
    EXPECT_EQ(RgbAt(b, 1, 1), 0xFF0000u);
    b.SetPixelFormat(TPixelFormat::pf24bit);
    EXPECT_EQ(RgbAt(b, 1, 1), 0xFF0000u);

    b.SetMonochrome(true);
    EXPECT_TRUE(b.Monochrome());
    EXPECT_EQ(b.HandleType(), TBitmapHandleType::bmDDB);
    EXPECT_EQ(RgbAt(b, 0, 0), 0xFFFFFFu);

    TBitmap device;
    device.SetSize(5, 5);
    EXPECT_EQ(device.PixelFormat(), TPixelFormat::pfDevice);
    EXPECT_EQ(device.HandleType(), TBitmapHandleType::bmDDB);
    device.Canvas()->SetPixels(2, 2, clBlue);
    EXPECT_EQ(RgbAt(device, 2, 2), 0x0000FFu);
    device.SetHandleType(TBitmapHandleType::bmDIB);
    EXPECT_EQ(device.HandleType(), TBitmapHandleType::bmDIB);
    EXPECT_EQ(RgbAt(device, 2, 2), 0x0000FFu);
    TBitmap fromDevice;
    fromDevice.LoadFromBytes(device.SaveToBytes());
    EXPECT_EQ(RgbAt(fromDevice, 2, 2), 0x0000FFu);

    b.SetSize(0, 0);
    EXPECT_TRUE(b.Empty());

    // Width and then Height, one at a time, give a picture of both sizes.
    TBitmap stepwise;
    stepwise.SetWidth(13);
    EXPECT_TRUE(stepwise.Empty());
    EXPECT_EQ(stepwise.Width(), 13);
    stepwise.SetHeight(7);
    EXPECT_FALSE(stepwise.Empty());
    EXPECT_EQ(stepwise.Width(), 13);
    EXPECT_EQ(stepwise.Height(), 7);
}

TEST(Bitmap, AssignCopiesAndReleaseHandleKeepsThePicture) {
    TBitmap a;
    a.SetPixelFormat(TPixelFormat::pf4bit);
    a.SetSize(9, 4);
    a.Canvas()->SetPixels(8, 3, clNavy);
    TBitmap b;
    b.Assign(&a);
    EXPECT_EQ(b.PixelFormat(), TPixelFormat::pf4bit);
    EXPECT_EQ(Rgb(b), Rgb(a));
    a.Canvas()->SetPixels(8, 3, clYellow);  // a copy, not a share
    EXPECT_EQ(RgbAt(b, 8, 3), 0x000080u);

    HBITMAP given = b.ReleaseHandle();
    ASSERT_NE(given, nullptr);
    EXPECT_NE(b.Handle(), given);
    EXPECT_EQ(RgbAt(b, 8, 3), 0x000080u);
    BITMAP bm{};
    EXPECT_EQ(GetObjectA(given, sizeof bm, &bm), static_cast<int>(sizeof bm));
    EXPECT_EQ(bm.bmWidth, 9);
    DeleteObject(given);

    b.Assign(nullptr);
    EXPECT_TRUE(b.Empty());

    // A top-down DIB section handed in by its creator copies the right way up.
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    bi.bmiHeader.biWidth = 3;
    bi.bmiHeader.biHeight = -2;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP topDown = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(topDown, nullptr);
    static_cast<uint32_t*>(bits)[0] = 0x00FF0000;  // top-left red
    static_cast<uint32_t*>(bits)[5] = 0x000000FF;  // bottom-right blue
    TBitmap held;
    held.SetHandle(topDown);
    EXPECT_EQ(held.PixelFormat(), TPixelFormat::pf32bit);
    EXPECT_EQ(RgbAt(held, 0, 0), 0xFF0000u);
    EXPECT_EQ(RgbAt(held, 2, 1), 0x0000FFu);
    TBitmap copy;
    copy.Assign(&held);
    EXPECT_EQ(Rgb(copy), Rgb(held));

    // A foreign 4-bit top-down DIB: indices and colour table come through, and it saves at 4 bits.
    struct {
        BITMAPINFOHEADER header;
        RGBQUAD colors[16];
    } pi{};
    pi.header = bi.bmiHeader;
    pi.header.biBitCount = 4;
    pi.header.biClrUsed = 16;
    for (int i = 0; i < 16; ++i) pi.colors[i] = {static_cast<BYTE>(i * 16), 0, static_cast<BYTE>(255 - i * 16), 0};
    HBITMAP four = CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&pi), DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(four, nullptr);
    static_cast<uint8_t*>(bits)[0] = 0x3F;  // top row: indices 3, 15, 0
    TBitmap paletted;
    paletted.SetHandle(four);
    EXPECT_EQ(paletted.PixelFormat(), TPixelFormat::pf4bit);
    BmpImage image = paletted.ToImage();
    EXPECT_EQ(image.indices[0], 3);
    EXPECT_EQ(image.indices[1], 15);
    EXPECT_EQ(image.indices[3], 0);  // the bottom row
    EXPECT_EQ(image.palette[15], 0x0000F0u + (0x0Fu << 16));
    EXPECT_EQ(ReadBmp(paletted.SaveToBytes()).bitsPerPixel, 4);
}

TEST(Bitmap, TransparentColourIsBottomLeftUnlessFixed) {
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf24bit);
    b.SetSize(4, 4);
    b.Canvas()->Brush()->SetColor(clLime);
    b.Canvas()->FillRect(Rect(0, 0, 4, 4));
    b.Canvas()->SetPixels(0, 3, clFuchsia);
    b.Canvas()->SetPixels(1, 1, clRed);
    EXPECT_EQ(b.TransparentMode(), TTransparentMode::tmAuto);
    EXPECT_EQ(b.TransparentColor(), clFuchsia);
    b.SetTransparentColor(clLime);
    EXPECT_EQ(b.TransparentMode(), TTransparentMode::tmFixed);
    EXPECT_EQ(b.TransparentColor(), clLime);

    // Drawn transparently, the lime pixels leave the blue background.
    TBitmap target;
    target.SetPixelFormat(TPixelFormat::pf24bit);
    target.SetSize(4, 4);
    target.Canvas()->Brush()->SetColor(clBlue);
    target.Canvas()->FillRect(Rect(0, 0, 4, 4));
    b.SetTransparent(true);
    target.Canvas()->Draw(0, 0, &b);
    EXPECT_EQ(RgbAt(target, 2, 2), 0x0000FFu);
    EXPECT_EQ(RgbAt(target, 1, 1), 0xFF0000u);
    EXPECT_EQ(RgbAt(target, 0, 3), 0xFF00FFu);

    // The mask: white where the colour was.
    HBITMAP mask = b.MaskHandle();
    ASSERT_NE(mask, nullptr);
    b.Mask(clLime);
    EXPECT_TRUE(b.Monochrome());
    EXPECT_EQ(RgbAt(b, 2, 2), 0xFFFFFFu);
    EXPECT_EQ(RgbAt(b, 1, 1), 0x000000u);
    EXPECT_EQ(RgbAt(b, 0, 3), 0x000000u);
}

TEST(Bitmap, DamagedStreamsRaiseAndKeepThePicture) {
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf24bit);
    b.SetSize(2, 2);
    std::vector<uint8_t> good = b.SaveToBytes();
    const std::vector<std::vector<uint8_t>> bad = {
        {'B', 'M'},
        {'X', 'Y', 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
        std::vector<uint8_t>(good.begin(), good.begin() + 40),
    };
    for (const auto& data : bad) {
        EXPECT_THROW(b.LoadFromBytes(data), EInvalidGraphic);
        TMemoryStream s;
        s.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
        s.SetPosition(0);
        EXPECT_THROW(b.LoadFromStream(s), EInvalidGraphic);
        EXPECT_EQ(b.Width(), 2);
    }
    // A stream holding more after the picture: the file header's size says where it ends.
    TMemoryStream s;
    s.WriteBuffer(good.data(), static_cast<int64_t>(good.size()));
    s.WriteString("tail");
    s.SetPosition(0);
    TBitmap c;
    c.LoadFromStream(s);
    EXPECT_EQ(c.Width(), 2);
    EXPECT_EQ(s.Position(), static_cast<int64_t>(good.size()));
}

TEST(Bitmap, DataIsLengthAndFileImage) {
    TBitmap b;
    b.SetPixelFormat(TPixelFormat::pf8bit);
    b.SetSize(3, 3);
    b.Canvas()->SetPixels(0, 0, clRed);
    TMemoryStream data;
    b.WriteData(data);
    std::vector<uint8_t> file = b.SaveToBytes();
    ASSERT_EQ(data.Size(), static_cast<int64_t>(file.size() + 4));
    EXPECT_EQ(data.Data()[0], static_cast<uint8_t>(file.size()));
    EXPECT_EQ(std::vector<uint8_t>(data.Data().begin() + 4, data.Data().end()), file);
    data.SetPosition(0);
    TBitmap c;
    c.ReadData(data);
    EXPECT_EQ(Rgb(c), Rgb(b));
    // The bare file image (a form text made from a file) is read too.
    TMemoryStream bare;
    bare.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
    bare.SetPosition(0);
    TBitmap d;
    d.ReadData(bare);
    EXPECT_EQ(Rgb(d), Rgb(b));
}

}  // namespace

namespace {

using namespace fw;

TEST(Resources, BitmapsAndIconsLoadByNameAndId) {
    HINSTANCE self = GetModuleHandleA(nullptr);
    TBitmap glyph;
    glyph.LoadFromResourceName(self, "GFXGLYPH");
    EXPECT_EQ(glyph.PixelFormat(), TPixelFormat::pf8bit);
    EXPECT_EQ(glyph.Width(), 8);
    EXPECT_EQ(glyph.Height(), 6);
    // The file the resource was made from, decoded by the codec, has the same pixels.
    BmpImage file = ReadBmp([] {
        std::string bytes = mx::test::ReadFile(mx::test::SourceDir() + "/framework/win32/testdata/graphics_glyph8.bmp");
        return std::vector<uint8_t>(bytes.begin(), bytes.end());
    }());
    std::vector<uint32_t> want(file.pixels);
    for (uint32_t& p : want) p &= 0xFFFFFF;
    EXPECT_EQ(gfxtest::Rgb(glyph), want);
    EXPECT_EQ(gfxtest::RgbAt(glyph, 1, 0), 0xFF0000u);

    TBitmap byId;
    byId.LoadFromResourceID(self, 101);
    EXPECT_EQ(byId.PixelFormat(), TPixelFormat::pf24bit);
    EXPECT_EQ(gfxtest::RgbAt(byId, 0, 0), 0x0000FFu);
    EXPECT_EQ(gfxtest::RgbAt(byId, 4, 3), 0xFF0000u);
    EXPECT_EQ(gfxtest::RgbAt(byId, 2, 2), 0x0A141Eu);

    EXPECT_THROW(byId.LoadFromResourceName(self, "NOSUCH"), EInvalidGraphic);
    EXPECT_EQ(byId.Width(), 5);

    TIcon icon;
    icon.LoadFromResourceName(self, "GFXRED");
    EXPECT_EQ(icon.Width(), 32);
    TIcon icon2;
    icon2.LoadFromResourceID(self, 102);
    EXPECT_FALSE(icon2.Empty());
    EXPECT_THROW(icon2.LoadFromResourceID(self, 999), EInvalidGraphic);
}

}  // namespace
