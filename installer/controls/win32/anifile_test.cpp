// Animated cursors made by icotool and testdata/make_ani.py: Wine's user32 loads them, and so do we;
// icon lists streamed into form data; icons on the clipboard.
#include <gtest/gtest.h>

#include "framework/core/exceptions.h"
#include "framework/win32/clipboard.h"
#include "installer/controls/win32/anifile.h"
#include "installer/controls/win32/clipicon.h"
#include "installer/controls/win32/icolist.h"
#include "installer/controls/win32/pictures_test_support.h"
#include "testing/test_env.h"

namespace inst::test {
namespace {

TEST_F(PicturesTest, TheSystemLoadsOurAnimatedCursorFixtures) {
    for (const char* name : {"spin.ani", "split.ani"}) {
        const std::string path = PictureFiles().win + "\\" + name;
        HANDLE cursor = LoadImageA(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE);
        ASSERT_NE(cursor, nullptr) << name << ": user32 refused the file: " << GetLastError();
        DestroyCursor(static_cast<HCURSOR>(cursor));
    }
}

TEST_F(PicturesTest, AnimatedCursorFramesRatesOrderAndHotSpots) {
    TAnimatedCursorImage split;
    split.LoadFromFile(PictureFiles().win + "\\split.ani");
    ASSERT_EQ(split.Count(), 5);
    EXPECT_EQ(split.Frames(3)->DisplayRate(), 24u) << "one entry per chunk serves the next step";
    EXPECT_EQ(split.Frames(3)->IconIndex(), 1);
    TAnimatedCursorImage ani;
    ani.LoadFromFile(PictureFiles().win + "\\spin.ani");
    ASSERT_EQ(ani.Count(), 5);
    EXPECT_EQ(ani.Header().steps, 5u);
    EXPECT_EQ(ani.Title(), "Spin");
    EXPECT_EQ(ani.Author(), "Me");
    EXPECT_EQ(ani.SourceColorCount(), 256);
    const uint32_t rates[] = {6, 12, 18, 24, 30};
    const int order[] = {0, 1, 2, 1, 0};
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(ani.Frames(i)->DisplayRate(), rates[i]) << i;
        EXPECT_EQ(ani.Frames(i)->IconIndex(), order[i]) << i;
        EXPECT_EQ(ani.Icons(i)->Width(), 32);
    }
    EXPECT_EQ(ani.Icons(0), ani.Icons(4)) << "steps showing one icon share it";
    EXPECT_EQ(ani.Icons(1), ani.Icons(3));
    EXPECT_NE(ani.Icons(0), ani.Icons(1));
    EXPECT_TRUE(ani.Frames(0)->IsIcon());
    EXPECT_EQ(ani.Frames(0)->HotX(), 16) << "an icon's hot spot is its centre";
    EXPECT_FALSE(ani.Frames(1)->IsIcon());
    EXPECT_EQ(ani.Frames(1)->HotX(), 3) << "a cursor's comes from its directory";
    EXPECT_EQ(ani.Frames(1)->HotY(), 5);

    fw::TIcon icon;
    icon.Assign(&ani);
    EXPECT_EQ(icon.Width(), 32);
    fw::TBitmap strip;
    strip.Assign(&ani);
    EXPECT_EQ(strip.Width(), 5 * 32);
    EXPECT_EQ(strip.Height(), 32);
    EXPECT_EQ(gfxtest::RgbAt(strip, 16, 16), 0xFF0000u) << "frame 0 is red";
    EXPECT_EQ(gfxtest::RgbAt(strip, 32 + 16, 16), 0x00FF00u) << "frame 1 is lime";
    TIconList list;
    list.Assign(&ani);
    EXPECT_EQ(list.Count(), 5);

    TAnimatedCursorImage copy;
    copy.Assign(&ani);
    EXPECT_EQ(copy.Count(), 5);
    EXPECT_EQ(copy.Frames(4)->DisplayRate(), 30u);
    EXPECT_NE(copy.Icons(0), ani.Icons(0)) << "a copy has icons of its own";
}

TEST_F(PicturesTest, DamagedAnimatedCursorsAreRefused) {
    const gfxtest::CaseDir d = gfxtest::NewCaseDir();
    std::vector<uint8_t> bytes = ReadBytes(PictureFiles().win + "\\spin.ani");
    bytes[8] = 'X';  // the form type
    mx::test::WriteFile(d.win + "\\bad.ani", std::string(bytes.begin(), bytes.end()));
    TAnimatedCursorImage ani;
    ani.LoadFromFile(PictureFiles().win + "\\spin.ani");
    try {
        ani.LoadFromFile(d.win + "\\bad.ani");
        ADD_FAILURE() << "a form that is not ACON was read";
    } catch (const fw::EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    EXPECT_EQ(ani.Count(), 0) << "a failed load leaves the image cleared";
}

// An empty entry in the middle of a list comes back in its place.
TEST_F(PicturesTest, IconListStreamsWithAnEmptyEntry) {
    TIconList list;
    int changes = 0;
    list.OnChange.Bind(&changes, [](void* count, fw::TObject*) { ++*static_cast<int*>(count); });
    fw::TIcon red, blue;
    red.LoadFromFile(PictureFiles().win + "\\i0.ico");
    blue.LoadFromFile(PictureFiles().win + "\\i2.ico");
    list.BeginUpdate();
    list.Add(&red);
    list.Put(1, nullptr);
    list.Add(&blue);
    list.EndUpdate();
    EXPECT_EQ(changes, 1) << "one change for the whole update";
    ASSERT_EQ(list.Count(), 3);
    list.Get(1)->Assign(nullptr);
    fw::TMemoryStream s;
    list.SaveToStream(s);
    s.SetPosition(0);
    TIconList back;
    back.LoadFromStream(s);
    ASSERT_EQ(back.Count(), 3);
    EXPECT_FALSE(back.Get(0)->Empty());
    EXPECT_EQ(back.Get(1), nullptr) << "the empty entry stays empty";
    EXPECT_EQ(back.Get(2)->SaveToBytes(), blue.SaveToBytes());

    // Counts and sizes past the stream are refused before anything is allocated.
    for (const std::vector<uint8_t>& bad : {std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0x7F}, std::vector<uint8_t>{1, 0, 0, 0, 0, 0, 0, 0x7F}}) {
        fw::TMemoryStream b;
        b.WriteBuffer(bad.data(), static_cast<int64_t>(bad.size()));
        b.SetPosition(0);
        EXPECT_THROW(back.LoadFromStream(b), fw::EReadError);
    }
}

TEST_F(PicturesTest, IconsOnThePrivateClipboardFormat) {
    TClipboardIcon icon;
    icon.LoadFromFile(PictureFiles().win + "\\i0.ico");
    fw::Clipboard().Assign(&icon);
    EXPECT_TRUE(fw::Clipboard().HasFormat(IconClipboardFormat()));
    fw::TPicture picture;
    picture.Assign(&fw::Clipboard());
    auto* pasted = dynamic_cast<fw::TIcon*>(picture.Graphic());
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->SaveToBytes(), icon.SaveToBytes());
}

}  // namespace
}  // namespace inst::test
