// The filled panel and the picture list box on a real form under Wine: item heights the list box
// reports per item, the pictures drawn beside the items, and the panel's fill read back in pixels.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "framework/core/formtext.h"
#include "widgets/win32/bitmaplist.h"
#include "widgets/win32/captiondraw.h"
#include "widgets/win32/imagelistbox.h"
#include "widgets/win32/panelfill.h"
#include "widgets/win32/panels.h"
#include "widgets/win32/testsupport/dibcanvas.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

using O = TKVXImageBoxOption;
using test::Pump;
using test::WindowPixel;

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new test::TSuiteEnvironment);

class KVXImageListBoxTest : public test::TControlsTest {};
class KVXPanelFillTest : public test::TControlsTest {};

// A bitmap list of solid pictures, one per (width, height, colour).
struct Picture {
    int width, height;
    fw::TColor color;
};
TKVXBitmapList* MakeBitmapList(fw::TComponent* owner, std::initializer_list<Picture> pictures) {
    auto* list = fw::Make<TKVXBitmapList>(owner);
    for (const Picture& p : pictures) {
        fw::TBitmap bitmap;
        test::PaintPicture(&bitmap, p.width, p.height, [&](int, int) { return p.color; });
        list->Item(list->AddItem())->SetBitmap(&bitmap);
    }
    return list;
}

std::vector<int> ItemHeights(TKVXImageListBox* box) {
    std::vector<int> heights;
    const int count = static_cast<int>(SendMessageA(box->Handle(), LB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i)
        heights.push_back(static_cast<int>(SendMessageA(box->Handle(), LB_GETITEMHEIGHT, static_cast<WPARAM>(i), 0)));
    return heights;
}

TKVXImageListBox* MakeBox(fw::TForm* form, std::initializer_list<const char*> items) {
    auto* box = fw::Make<TKVXImageListBox>(form);
    box->SetParent(form);
    box->SetBounds(10, 10, 200, 300);
    for (const char* s : items) box->Items()->Add(s);
    return box;
}

TEST_F(KVXImageListBoxTest, CalcHeightGivesEveryItemItsPictureHeight) {
    auto* pictures = MakeBitmapList(form, {{10, 10, fw::clRed}, {12, 30, fw::clLime}, {14, 50, fw::clBlue}});
    struct Case {
        const char* name;
        TKVXImageBoxOptions options;
        int defaultItem;
        std::initializer_list<const char*> items;
        std::vector<int> want;
    };
    const Case cases[] = {
        // Pictures of 10, 30 and 50 pixels plus 2; the box's own height (16) is the least.
        {"list order", {O::lboImageListOrder, O::lboCheckImageNr, O::lboCalcHeight}, -1, {"a", "b", "c", "d"},
         {16, 32, 52, 16}},
        {"number after the delimiter", {O::lboCheckImageNr, O::lboCalcHeight}, -1, {"a|2", "b|0", "c|1", "d"},
         {52, 16, 32, 16}},
        {"a number outside the list is no picture", {O::lboCheckImageNr, O::lboCalcHeight}, 1, {"a|3", "b|-1", "c|x", "d"},
         {16, 16, 16, 32}},
        {"fixed heights", {O::lboImageListOrder, O::lboCheckImageNr}, -1, {"a", "b", "c"}, {16, 16, 16}},
    };
    for (const Case& c : cases) {
        auto* box = MakeBox(form, c.items);
        box->SetItemHeight(16);
        box->SetOptions(c.options);
        box->SetDefaultItem(c.defaultItem);
        box->SetImageList(pictures);
        Pump();
        EXPECT_EQ(ItemHeights(box), c.want) << c.name;
        box->Free();
    }
}

TEST_F(KVXImageListBoxTest, MultilineTextCanOutgrowThePicture) {
    auto* pictures = MakeBitmapList(form, {{10, 10, fw::clRed}});
    auto* box = MakeBox(form, {"short|0", "a long text that wraps over several lines in this narrow box|0"});
    box->SetWidth(90);
    box->SetMultiline(true);
    box->SetOptions({O::lboCheckImageNr, O::lboCalcHeight});
    box->SetImageList(pictures);
    Pump();
    const std::vector<int> heights = ItemHeights(box);
    ASSERT_EQ(heights.size(), 2u);
    EXPECT_EQ(heights[0], box->ItemHeight());
    EXPECT_GT(heights[1], 3 * heights[0]);
}

TEST_F(KVXImageListBoxTest, PicturesAreDrawnBesideTheirItems) {
    auto* pictures = MakeBitmapList(form, {{12, 12, fw::clRed}, {12, 12, fw::clBlue}});
    auto* box = MakeBox(form, {"one|1", "two|5", "three"});
    box->SetColor(fw::clWhite);
    box->SetItemHeight(20);
    box->SetOptions({O::lboCheckImageNr});
    box->SetDefaultItem(0);
    box->SetImageList(pictures);
    Pump();
    // The colour of the picture found in an item's row, or white.
    const auto pictureIn = [&](int item) {
        for (int y = item * 20; y < item * 20 + 20; ++y)
            for (int x = 0; x < 40; ++x) {
                const fw::TColor c = WindowPixel(box->Handle(), x, y);
                if (c == fw::clRed || c == fw::clBlue) return c;
            }
        return fw::clWhite;
    };
    EXPECT_EQ(pictureIn(0), fw::clBlue);
    EXPECT_EQ(pictureIn(1), fw::clWhite);  // picture 5 does not exist
    EXPECT_EQ(pictureIn(2), fw::clRed);    // the default picture
    EXPECT_EQ(box->ItemText(0), "one");
}

TEST_F(KVXImageListBoxTest, ImagesOnlyMakesOneItemPerPicture) {
    auto* pictures = MakeBitmapList(form, {{8, 8, fw::clRed}, {8, 8, fw::clLime}, {8, 8, fw::clBlue}});
    auto* box = MakeBox(form, {"x"});
    box->SetImageList(pictures);
    box->SetImagesOnly(true);
    EXPECT_EQ(box->Items()->Count(), 3);
    pictures->AddItem();
    Pump();
    EXPECT_EQ(box->Items()->Count(), 4);
    box->SetImagesOnly(false);
    EXPECT_EQ(box->Items()->Count(), 0);
    // A list that is freed leaves the box without pictures.
    pictures->Free();
    EXPECT_EQ(box->ImageList(), nullptr);
    EXPECT_EQ(box->PictureCount(), -1);
}

TEST_F(KVXImageListBoxTest, TransparentBoxShowsTheParentsTile) {
    const auto checker = test::Checker(4, fw::clRed, fw::clBlue);
    auto* tiles = test::MakeImageList(form, 16, 16, {checker});
    auto* back = fw::Make<TKVXBackPanel>(form);
    back->SetParent(form);
    back->SetBounds(220, 10, 240, 200);
    back->SetImageList(tiles);
    auto* box = fw::Make<TKVXImageListBox>(form);
    box->SetParent(back);
    box->SetBounds(20, 30, 180, 150);
    box->SetItemHeight(20);
    box->Items()->Add("one");
    box->Items()->Add("two");
    box->SetTransparent(true);
    Pump();
    back->Repaint();
    Pump();
    // The box's client origin: its place plus the 2-pixel client edge.
    POINT origin{0, 0};
    MapWindowPoints(box->Handle(), back->Handle(), &origin, 1);
    ASSERT_EQ(origin.x, 22);
    const auto mismatches = [&](int x0, int y0) {
        int wrong = 0;
        for (int y = y0; y < y0 + 8; ++y)
            for (int x = x0; x < x0 + 8; ++x)
                if (WindowPixel(box->Handle(), x, y) != checker((origin.x + x) % 16, (origin.y + y) % 16)) ++wrong;
        return wrong;
    };
    EXPECT_EQ(mismatches(140, 6), 0) << "behind the first item, right of its text";
    EXPECT_EQ(mismatches(140, 26), 0) << "behind the second item";
    EXPECT_EQ(mismatches(60, 100), 0) << "below the last item";
    // Scrolled by a line, the tile stays where it was and the items move over it.
    for (int i = 0; i < 12; ++i) box->Items()->Add("more " + std::to_string(i));
    Pump();
    SendMessageA(box->Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
    SendMessageA(box->Handle(), WM_VSCROLL, SB_ENDSCROLL, 0);
    Pump();
    EXPECT_EQ(box->TopIndex(), 1);
    EXPECT_EQ(mismatches(140, 6), 0) << "behind the new first item";
    EXPECT_EQ(mismatches(140, 46), 0) << "further down";
    // An opaque box paints its own colour.
    box->SetTransparent(false);
    box->SetColor(fw::clWhite);
    Pump();
    EXPECT_EQ(WindowPixel(box->Handle(), 140, 6), fw::clWhite);
    EXPECT_EQ(WindowPixel(box->Handle(), 60, 100), fw::clWhite);
}

TEST_F(KVXImageListBoxTest, FormTextKeepsItemsUnlessMadeFromPictures) {
    auto* pictures = MakeBitmapList(form, {{8, 8, fw::clRed}, {8, 8, fw::clLime}});
    auto* root = new fw::TForm(nullptr);
    root->SetName("frmText");
    auto* box = fw::Make<TKVXImageListBox>(root);
    box->SetName("lstPictures");
    box->SetParent(root);
    box->Items()->Add("kept|1");
    std::string text = fw::WriteComponentText(root);
    EXPECT_NE(text.find("'kept|1'"), std::string::npos) << text;
    box->SetImageList(pictures);
    box->SetImagesOnly(true);
    ASSERT_EQ(box->Items()->Count(), 2);
    text = fw::WriteComponentText(root);
    EXPECT_EQ(text.find("Items"), std::string::npos) << text;
    EXPECT_NE(text.find("ImagesOnly = True"), std::string::npos) << text;
    root->Free();
}

TEST_F(KVXPanelFillTest, GradientFollowsAResize) {
    auto* panel = fw::Make<TKVXPanelFill>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 100, 60);
    panel->Bevel()->SetStyleOuter(TKVXBevelStyle::bvNone);
    panel->Bevel()->SetStyleInner(TKVXBevelStyle::bvNone);
    TKVXGradient* gradient = panel->FillObject()->Gradient();
    gradient->SetStyle(TKVXGradientStyle::gstHorizontal);
    gradient->SetColor(fw::clRed);
    gradient->SetEndColor(fw::clBlue);
    gradient->SetColorCount(2);
    panel->FillObject()->SetStyle(TKVXFillStyle::sfGradient);
    Pump();
    ASSERT_NE(panel->OwnBitmap(), nullptr);
    const auto check = [&](const char* when) {
        const int w = panel->ClientWidth(), h = panel->ClientHeight();
        EXPECT_EQ(panel->OwnBitmap()->Width(), panel->Width()) << when;
        const fw::TColor left = WindowPixel(panel->Handle(), 2, h / 2), right = WindowPixel(panel->Handle(), w - 3, h / 2);
        EXPECT_NE(left, right) << when;
        EXPECT_TRUE(left == fw::clRed || left == fw::clBlue) << when << " " << std::hex << left;
        EXPECT_TRUE(right == fw::clRed || right == fw::clBlue) << when << " " << std::hex << right;
        // Two colours: the change sits at the middle.
        EXPECT_EQ(WindowPixel(panel->Handle(), w / 2 - 3, h / 2), left) << when;
        EXPECT_EQ(WindowPixel(panel->Handle(), w / 2 + 3, h / 2), right) << when;
    };
    check("first");
    panel->SetWidth(240);
    Pump();
    check("after the resize");
    // An empty fill drops the bitmap: the panel shows its colour.
    panel->FillObject()->SetStyle(TKVXFillStyle::sfNone);
    panel->SetColor(fw::clYellow);
    Pump();
    EXPECT_EQ(panel->OwnBitmap(), nullptr);
    EXPECT_EQ(WindowPixel(panel->Handle(), 20, 20), fw::clYellow);
}

TEST_F(KVXPanelFillTest, ListPictureFillsThePanelAndItsTransparentChildren) {
    auto* pictures = MakeBitmapList(form, {{8, 8, fw::clRed}, {8, 8, fw::clLime}});
    auto* panel = fw::Make<TKVXPanelFill>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 10, 120, 80);
    panel->Bevel()->SetStyleOuter(TKVXBevelStyle::bvNone);
    panel->Bevel()->SetStyleInner(TKVXBevelStyle::bvNone);
    panel->FillObject()->SetStyle(TKVXFillStyle::sfBitmapList);
    panel->SetImageList(pictures);
    panel->SetImageValue(1, 1);  // ListIndex: the second bitmap
    auto* child = fw::Make<TKVXSimplePanel>(form);
    child->SetParent(panel);
    child->SetBounds(40, 20, 40, 30);
    child->Bevel()->SetStyleOuter(TKVXBevelStyle::bvNone);
    child->Bevel()->SetStyleInner(TKVXBevelStyle::bvNone);
    child->SetTransparent(true);
    Pump();
    EXPECT_EQ(WindowPixel(panel->Handle(), 5, 5), fw::clLime);
    EXPECT_EQ(WindowPixel(child->Handle(), 10, 10), fw::clLime);
    // Another picture reaches the children too.
    panel->SetImageValue(1, 0);
    Pump();
    EXPECT_EQ(WindowPixel(panel->Handle(), 5, 5), fw::clRed);
    EXPECT_EQ(WindowPixel(child->Handle(), 10, 10), fw::clRed);
}

TEST_F(KVXPanelFillTest, RotatedCaptionInARasterFontTurnsToArial) {
    ASSERT_TRUE(test::LoadWineBitmapFont()) << "Wine's bitmap fonts: install the Debian package fonts-wine";
    auto* panel = fw::Make<TKVXPanelFill>(form);
    panel->SetParent(form);
    panel->Font()->SetHandle(test::RasterSansSerif());
    ASSERT_FALSE(KVXIsTrueTypeFont(panel->Font()));
    panel->SetCaption("Log");
    panel->FontFx()->SetAngle(90);
    EXPECT_EQ(panel->Font()->Name(), "Arial");
    EXPECT_FALSE(panel->ParentFont());
}

TEST_F(KVXPanelFillTest, CaptionIsDrawnWhereTheAlignmentPutsIt) {
    auto* panel = fw::Make<TKVXPanelFill>(form);
    panel->SetParent(form);
    panel->SetBounds(10, 80, 200, 60);
    panel->SetColor(fw::clWhite);
    panel->Font()->SetColor(fw::clBlack);
    panel->Font()->SetSize(14);
    panel->SetCaption("WWW");
    const auto blackIn = [&](int x0, int x1) {
        for (int y = 2; y < 58; ++y)
            for (int x = x0; x < x1; ++x)
                if (WindowPixel(panel->Handle(), x, y) == fw::clBlack) return true;
        return false;
    };
    panel->SetAlignment(TKVXAlignment::agCenterLeft);
    Pump();
    EXPECT_TRUE(blackIn(2, 40));
    EXPECT_FALSE(blackIn(150, 198));
    panel->SetAlignment(TKVXAlignment::agCenterRight);
    Pump();
    EXPECT_FALSE(blackIn(2, 40));
    EXPECT_TRUE(blackIn(150, 198));
}

}  // namespace
}  // namespace kvx::win32
