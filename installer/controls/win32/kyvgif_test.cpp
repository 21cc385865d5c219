// The GIF image as the framework's graphic under Wine: files made by ImageMagick through the picture
// class, frames against the portable decoder, our files read by Pillow, the clipboard and form data.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "framework/core/exceptions.h"
#include "framework/win32/clipboard.h"
#include "installer/controls/gif_texts.h"
#include "installer/controls/testdata/error_text.h"
#include "installer/controls/win32/anifile.h"
#include "installer/controls/win32/kyvgif.h"
#include "installer/controls/win32/pictures_test_support.h"
#include "testing/test_env.h"

namespace inst::test {
namespace {

std::vector<uint32_t> PortableRgb(const GifFrame& f) {
    const GifDecodedFrame d = DecodeGifFrame(f, true);
    std::vector<uint32_t> out;
    for (uint8_t i : d.indices) {
        const GifRgb c = f.data->table.entries[i];
        out.push_back(uint32_t{c.red} << 16 | uint32_t{c.green} << 8 | c.blue);
    }
    return out;
}

TEST_F(PicturesTest, GifFilesLoadThroughThePictureClass) {
    const gfxtest::CaseDir& d = PictureFiles();
    for (const char* name : {"anim.gif", "c256.gif", "trans.gif"}) {
        fw::TPicture picture;
        picture.LoadFromFile(d.win + "\\" + name);
        auto* gif = dynamic_cast<TGIFImage*>(picture.Graphic());
        ASSERT_NE(gif, nullptr) << name;
        const GifFile portable = ReadGif(ReadBytes(d.win + "\\" + name), true);
        ASSERT_EQ(gif->FrameCount(), static_cast<int>(portable.frames.size())) << name;
        EXPECT_EQ(gif->ActiveFrame(), 0);
        EXPECT_EQ(picture.Width(), portable.frames[0].data->width);
        for (int i = 0; i < gif->FrameCount(); ++i)
            EXPECT_EQ(gfxtest::Rgb(*gif->Frame(i)->Bitmap()), PortableRgb(portable.frames[static_cast<size_t>(i)])) << name << " frame " << i;
    }
    EXPECT_NE(fw::TPicture::GraphicFilter().find("CompuServe GIF Image (*.gif)"), std::string::npos);
    EXPECT_EQ(GifClipboardFormat(), RegisterClipboardFormatA("GIF Image"));
    EXPECT_TRUE(fw::TPicture::SupportsClipboardFormat(GifClipboardFormat()));
}

TEST_F(PicturesTest, GifFrameDetailsFromImageMagick) {
    const gfxtest::CaseDir& d = PictureFiles();
    TGIFImage anim;
    anim.LoadFromFile(d.win + "\\anim.gif");
    EXPECT_TRUE(anim.LoopEnabled());
    EXPECT_EQ(anim.Frame(1)->FrameDelay(), 70);
    EXPECT_EQ(anim.Frame(1)->Left(), 5);
    EXPECT_EQ(anim.Frame(1)->Width(), 8);
    EXPECT_EQ(anim.ScreenWidth(), 20);
    EXPECT_FALSE(anim.Transparent());
    TGIFImage trans;
    trans.LoadFromFile(d.win + "\\trans.gif");
    EXPECT_TRUE(trans.Transparent());
    EXPECT_NE(trans.Frame(0)->TransparentColor(), fw::clNone);

    // Drawn on yellow, the transparent white stays yellow; the red square is drawn.
    fw::TBitmap canvas;
    canvas.SetPixelFormat(fw::TPixelFormat::pf24bit);
    canvas.SetSize(17, 13);
    canvas.Canvas()->Brush()->SetColor(fw::clYellow);
    canvas.Canvas()->FillRect(fw::TRect{0, 0, 17, 13});
    canvas.Canvas()->Draw(0, 0, &trans);
    EXPECT_EQ(gfxtest::RgbAt(canvas, 0, 0), 0xFFFF00u);
    EXPECT_EQ(gfxtest::RgbAt(canvas, 4, 4), 0xFF0000u);
}

TEST_F(PicturesTest, GifErrorsCarryTheirTexts) {
    TGIFImage gif;
    fw::TMemoryStream bad;
    bad.WriteString("GIF88a");
    bad.SetPosition(0);
    EXPECT_EQ(MessageOf<fw::EInvalidGraphicOperation>([&] { gif.LoadFromStream(bad); }), kGifUnknownVersion);
    EXPECT_EQ(MessageOf<fw::EInvalidGraphicOperation>([&] { gif.SetWidth(3); }), kGifCannotResize);
    fw::TMemoryStream out;
    EXPECT_EQ(MessageOf<fw::EInvalidGraphicOperation>([&] { gif.SaveToStream(out); }), kGifNoData);

    const std::vector<uint8_t> whole = ReadBytes(PictureFiles().win + "\\c256.gif");
    fw::TMemoryStream half;
    half.WriteBuffer(whole.data(), static_cast<int64_t>(whole.size() / 2));
    half.SetPosition(0);
    GIFTolerant = false;
    EXPECT_EQ(MessageOf<fw::EReadError>([&] { gif.LoadFromStream(half); }), kStreamReadError);
    GIFTolerant = true;
    half.SetPosition(0);
    std::vector<int> stages;
    gif.OnProgress.Bind(&stages, [](void* seen, fw::TObject*, fw::TProgressStage stage, uint8_t, bool, const fw::TRect&,
                                    const std::string&) { static_cast<std::vector<int>*>(seen)->push_back(static_cast<int>(stage)); });
    gif.LoadFromStream(half);
    ASSERT_GE(stages.size(), 3u);
    EXPECT_EQ(stages.front(), 0) << "starting, running ..., ending";
    EXPECT_EQ(stages[1], 1);
    EXPECT_EQ(stages.back(), 2);
    ASSERT_EQ(gif.FrameCount(), 1);
    EXPECT_TRUE(gif.Frame(0)->Corrupted());
    EXPECT_EQ(gif.Width(), 64);
}

// Frames made from bitmaps are encoded when the image is written; Pillow reads the file.
TEST_F(PicturesTest, GifFromBitmapsReadsBackInPillow) {
    fw::TBitmap first;
    first.SetPixelFormat(fw::TPixelFormat::pf24bit);
    first.SetSize(16, 12);
    first.Canvas()->Brush()->SetColor(fw::clNavy);
    first.Canvas()->FillRect(fw::TRect{0, 0, 16, 12});
    first.Canvas()->Brush()->SetColor(fw::clYellow);
    first.Canvas()->FillRect(fw::TRect{3, 2, 9, 7});
    fw::TBitmap second;
    second.SetPixelFormat(fw::TPixelFormat::pf8bit);
    second.SetSize(16, 12);
    second.Canvas()->Brush()->SetColor(fw::clGreen);
    second.Canvas()->FillRect(fw::TRect{0, 0, 16, 12});

    TGIFImage gif;
    EXPECT_EQ(gif.AddFrame(&first), 0);
    EXPECT_EQ(gif.GifVersion(), 1);
    EXPECT_EQ(gif.AddFrame(&second), 1);
    EXPECT_EQ(gif.GifVersion(), 2);
    gif.Frame(0)->SetFrameDelay(7);
    gif.Frame(1)->SetFrameDelay(250);
    gif.SetLoopEnabled(true);
    gif.SetLoopCount(4);
    const gfxtest::CaseDir d = gfxtest::NewCaseDir();
    gif.SaveToFile(d.win + "\\ours.gif");
    EXPECT_FALSE(gif.Frame(1)->HasLocalTable() && gif.Frame(0)->HasLocalTable()) << "the first frame's table is global";
    EXPECT_TRUE(gif.Frame(1)->HasLocalTable());

    const GifFile back = ReadGif(ReadBytes(d.win + "\\ours.gif"), false);
    ASSERT_EQ(back.frames.size(), 2u);
    EXPECT_EQ(back.frames[0].frameDelay, 0) << "7 ms is written as 0";
    EXPECT_EQ(back.frames[1].frameDelay, 250);
    EXPECT_TRUE(back.loopEnabled);
    EXPECT_EQ(back.loopCount, 4);
    int w = 0, h = 0;
    std::vector<uint32_t> rgb;
    std::string error;
    ASSERT_TRUE(gfxtest::PillowPixels(d, "ours.gif", w, h, rgb, error)) << error;
    EXPECT_EQ(w, 16);
    EXPECT_EQ(rgb, gfxtest::Rgb(first)) << "Pillow's first frame is the bitmap";

    // Form data: a 32-bit length and the file.
    fw::TMemoryStream data;
    gif.WriteData(data);
    data.SetPosition(0);
    TGIFImage again;
    again.ReadData(data);
    EXPECT_EQ(again.FrameCount(), 2);
    EXPECT_EQ(gfxtest::Rgb(*again.Frame(1)->Bitmap()), gfxtest::Rgb(second));
}

TEST_F(PicturesTest, GifOnTheClipboard) {
    TGIFImage gif;
    gif.LoadFromFile(PictureFiles().win + "\\anim.gif");
    CopyGifToClipboard(&gif);
    EXPECT_TRUE(fw::Clipboard().HasFormat(GifClipboardFormat()));
    EXPECT_TRUE(fw::Clipboard().HasFormat(CF_DIB));
    fw::TPicture picture;
    picture.Assign(&fw::Clipboard());
    auto* pasted = dynamic_cast<TGIFImage*>(picture.Graphic());
    ASSERT_NE(pasted, nullptr) << "the GIF format comes first";
    EXPECT_EQ(pasted->FrameCount(), 3);
    EXPECT_EQ(gfxtest::Rgb(*pasted->Frame(0)->Bitmap()), gfxtest::Rgb(*gif.Frame(0)->Bitmap()));
}

TEST_F(PicturesTest, GifCopiesShareTheirData) {
    TGIFImage gif;
    gif.LoadFromFile(PictureFiles().win + "\\anim.gif");
    TGIFImage copy;
    copy.Assign(&gif);
    EXPECT_TRUE(copy.Equals(&gif));
    EXPECT_EQ(copy.FrameCount(), 3);
    EXPECT_EQ(copy.Frame(2)->Model().data, gif.Frame(2)->Model().data);
    fw::TBitmap bitmap;
    bitmap.Assign(&gif);  // the active frame
    EXPECT_EQ(bitmap.Width(), 20);
    TGIFImage single;
    single.Assign(gif.Frame(1));
    EXPECT_EQ(single.FrameCount(), 1);
    EXPECT_EQ(single.ScreenWidth(), 13) << "origin 5 plus width 8";
    copy.SetComment({"changed"});
    EXPECT_TRUE(gif.Comment().empty()) << "a change copies the shared data first";
}

TEST_F(PicturesTest, GifFromAnAnimatedCursor) {
    TAnimatedCursorImage cursor;
    cursor.LoadFromFile(PictureFiles().win + "\\spin.ani");
    TGIFImage gif;
    gif.Assign(&cursor);
    ASSERT_EQ(gif.FrameCount(), 5);
    EXPECT_EQ(gif.BackgroundColor(), fw::clWindow);
    EXPECT_EQ(gif.Frame(1)->FrameDelay(), 12 * 100 / 6);
    EXPECT_EQ(gif.Frame(0)->Width(), 32);
    fw::TMemoryStream out;
    gif.SaveToStream(out);
    EXPECT_EQ(ReadGif(std::span<const uint8_t>(out.Memory(), static_cast<size_t>(out.Size())), false).frames.size(), 5u);
}

}  // namespace
}  // namespace inst::test
