// Bitmap files from framework bitmaps through GetDIBits and the colour reductions, and the
// transparent blit, under Wine.
#include <gtest/gtest.h>

#include "framework/core/bmp.h"
#include "framework/core/exceptions.h"
#include "framework/win32/automation_endpoint.h"
#include "installer/controls/win32/kyvgraph.h"
#include "installer/controls/win32/kyvguiutils.h"
#include "installer/controls/win32/pictures_test_support.h"

namespace inst::test {
namespace {

// A 24-bit bitmap: four colour quarters, so every method keeps them apart.
std::unique_ptr<fw::TBitmap> Quarters(int w = 12, int h = 10, fw::TPixelFormat format = fw::TPixelFormat::pf24bit) {
    auto b = std::make_unique<fw::TBitmap>();
    b->SetPixelFormat(format);
    b->SetSize(w, h);
    fw::TCanvas* c = b->Canvas();
    const fw::TColor colors[4] = {fw::clRed, fw::clLime, fw::clBlue, fw::clWhite};
    for (int q = 0; q < 4; ++q) {
        c->Brush()->SetColor(colors[q]);
        c->FillRect(fw::TRect{(q % 2) * w / 2, (q / 2) * h / 2, (q % 2 + 1) * w / 2, (q / 2 + 1) * h / 2});
    }
    return b;
}

fw::BmpImage Decode(fw::TMemoryStream& s) {
    fw::BmpImage image;
    std::string why;
    EXPECT_TRUE(fw::DecodeBmp(std::span<const uint8_t>(s.Memory(), static_cast<size_t>(s.Size())), image, &why)) << why;
    return image;
}

uint32_t ColorsUsed(fw::TMemoryStream& s) { return s.Memory()[46] | s.Memory()[47] << 8; }

TEST_F(PicturesTest, EveryMethodKeepsTheQuarters) {
    const struct {
        TReductionMethod method;
        uint32_t colorsUsed;
    } cases[] = {{TReductionMethod::rmHistogram, 0},  {TReductionMethod::rmMedianCut, 4}, {TReductionMethod::rmUniform784, 224},
                 {TReductionMethod::rmUniform666, 216}, {TReductionMethod::rmChannelPattern, 0}, {TReductionMethod::rmGrayscale, 0}};
    for (const auto& c : cases) {
        auto bitmap = Quarters();
        auto file = ConvertBitmapToDIB(bitmap.get(), fw::TPixelFormat::pf8bit, c.method);
        EXPECT_EQ(file->Position(), 0);
        EXPECT_EQ(ColorsUsed(*file), c.colorsUsed) << static_cast<int>(c.method);
        const fw::BmpImage image = Decode(*file);
        EXPECT_EQ(image.bitsPerPixel, 8);
        EXPECT_EQ(image.width, 12);
        if (c.method == TReductionMethod::rmChannelPattern) continue;  // a pattern, not a colour per pixel
        if (c.method == TReductionMethod::rmGrayscale) {
            EXPECT_EQ(image.Pixel(0, 0) & 0xFFFFFF, 0x4C4C4Cu) << "red's grey: 255 x 77 >> 8";
            continue;
        }
        // The median cut's entries are its cells' upper corners: a 0 channel shows as 15.
        const uint32_t low = c.method == TReductionMethod::rmMedianCut ? 0x0F : 0x00;
        EXPECT_EQ(image.Pixel(0, 0) & 0xFFFFFF, 0xFF0000u | low << 8 | low) << static_cast<int>(c.method);
        EXPECT_EQ(image.Pixel(11, 0) & 0xFFFFFF, 0x00FF00u | low << 16 | low) << static_cast<int>(c.method);
        EXPECT_EQ(image.Pixel(0, 9) & 0xFFFFFF, 0x0000FFu | low << 16 | low << 8) << static_cast<int>(c.method);
        EXPECT_EQ(image.Pixel(11, 9) & 0xFFFFFF, 0xFFFFFFu) << static_cast<int>(c.method);
    }
}

TEST_F(PicturesTest, FormatsAndRefusals) {
    // Already 8 bits: saved unchanged unless grey is asked for.
    auto eight = Quarters(12, 10, fw::TPixelFormat::pf8bit);
    fw::TMemoryStream saved;
    eight->SaveToStream(saved);
    auto same = ConvertBitmapToDIB(eight.get(), fw::TPixelFormat::pf8bit, TReductionMethod::rmHistogram);
    EXPECT_EQ(same->Data(), saved.Data());
    auto grey = ConvertBitmapToDIB(eight.get(), fw::TPixelFormat::pf8bit, TReductionMethod::rmGrayscale);
    EXPECT_NE(grey->Data(), saved.Data());

    // The system's own conversions to 1 and 4 bits.
    auto bitmap = Quarters();
    EXPECT_EQ(Decode(*ConvertBitmapToDIB(bitmap.get(), fw::TPixelFormat::pf1bit, TReductionMethod::rmHistogram)).bitsPerPixel, 1);
    EXPECT_EQ(Decode(*ReduceBitmapColors(bitmap.get(), 3)).bitsPerPixel, 4) << "3 colours take 4 bits";
    EXPECT_EQ(Decode(*ReduceBitmapColors(bitmap.get(), 200)).bitsPerPixel, 8);
    EXPECT_EQ(Decode(*ReduceBitmapColors(bitmap.get(), 300)).bitsPerPixel, 24) << "a 24-bit bitmap as it is";

    // 24 bits of an 8-bit picture: the methods only make indices.
    try {
        ConvertBitmapToDIB(eight.get(), fw::TPixelFormat::pf24bit, TReductionMethod::rmHistogram);
        ADD_FAILURE() << "pf24bit with an 8-bit method was accepted";
    } catch (const fw::EInvalidGraphic& e) {
        EXPECT_EQ(e.Message(), "Bitmap image is not valid");
    }
    fw::TBitmap none;
    EXPECT_THROW(ConvertBitmapToDIB(&none, fw::TPixelFormat::pf8bit, TReductionMethod::rmHistogram), fw::EInvalidGraphic);

    // An unsupported format says so (answered from the queue) and ends silently.
    fw::automation::QueueAnswer("messagebox", "OK");
    EXPECT_THROW(ConvertBitmapToDIB(bitmap.get(), fw::TPixelFormat::pf15bit, TReductionMethod::rmHistogram), fw::EAbort);
}

// The transparent colour's pixels leave the background as it was; the others are copied.
TEST_F(PicturesTest, TransparentStretchBltLeavesTheKeyColourOut) {
    fw::TBitmap source;
    source.SetPixelFormat(fw::TPixelFormat::pf24bit);
    source.SetSize(4, 4);
    source.Canvas()->Brush()->SetColor(fw::clFuchsia);
    source.Canvas()->FillRect(fw::TRect{0, 0, 4, 4});
    source.Canvas()->SetPixels(1, 1, fw::clBlue);
    source.Canvas()->SetPixels(2, 3, fw::clRed);
    fw::TBitmap dest;
    dest.SetPixelFormat(fw::TPixelFormat::pf24bit);
    dest.SetSize(8, 8);
    dest.Canvas()->Brush()->SetColor(fw::clYellow);
    dest.Canvas()->FillRect(fw::TRect{0, 0, 8, 8});
    // Stretched twice: every source pixel covers 2x2.
    TransparentStretchBlt(dest.Canvas()->Handle(), 0, 0, 8, 8, source.Canvas()->Handle(), 0, 0, 4, 4, fw::clFuchsia, nullptr);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x) {
            const uint32_t want = (x / 2 == 1 && y / 2 == 1) ? 0x0000FF : (x / 2 == 2 && y / 2 == 3) ? 0xFF0000 : 0xFFFF00;
            ASSERT_EQ(gfxtest::RgbAt(dest, x, y), want) << x << "," << y;
        }
    // clDefault takes the bottom-left pixel (fuchsia) as the key.
    dest.Canvas()->FillRect(fw::TRect{0, 0, 8, 8});
    DrawBitmapTransparent(dest.Canvas(), &source, fw::clDefault, 0, 0, 0, 0, 0, 0, 0, 0);
    EXPECT_EQ(gfxtest::RgbAt(dest, 0, 0), 0xFFFF00u);
    EXPECT_EQ(gfxtest::RgbAt(dest, 1, 1), 0x0000FFu);
}

TEST_F(PicturesTest, MemoryRoutines) {
    void* block = AllocMemo(16);
    ASSERT_NE(block, nullptr);
    const char zeros[16] = {};
    EXPECT_TRUE(CompareMem(block, zeros, 16));
    CopyMem(OffsetPointer(block, 3), "ab", 2);
    EXPECT_FALSE(CompareMem(block, zeros, 16));
    EXPECT_EQ(static_cast<char*>(block)[4], 'b');
    FreeMemo(block);
    EXPECT_EQ(block, nullptr);
    EXPECT_EQ(AllocMemo(0), nullptr);
    EXPECT_EQ(AllocMemo(-5), nullptr);
}

}  // namespace
}  // namespace inst::test
