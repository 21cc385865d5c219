// The control bases and panels on a real form under Wine: window styles, the posted focus events, the
// image-list link, what SetBounds reports, and the background chain read back pixel by pixel.
#include <gtest/gtest.h>

#include <vector>

#include "framework/core/formtext.h"
#include "widgets/win32/inicomponent.h"
#include "widgets/win32/labels.h"
#include "widgets/win32/panels.h"
#include "widgets/win32/speedbutton.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

using test::Pump;
using test::WindowPixel;

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new test::TSuiteEnvironment);

class KVXControlBases : public test::TControlsTest {};

TEST_F(KVXControlBases, WindowClassAndStyle) {
    auto* panel = fw::Make<TKVXSimplePanel>(form);
    panel->SetParent(form);
    HWND h = panel->Handle();
    EXPECT_EQ(GetClassLongPtrA(h, GCL_STYLE) & (CS_HREDRAW | CS_VREDRAW), 0u);
    EXPECT_NE(GetWindowLongPtrA(h, GWL_STYLE) & WS_CLIPCHILDREN, 0);
    EXPECT_EQ(panel->Width(), 100);
    EXPECT_EQ(panel->Height(), 40);
    EXPECT_FALSE(panel->TabStop());
}

TEST_F(KVXControlBases, AfterEnterFiresOnceTheQueueRuns) {
    auto* a = fw::Make<TKVXSimplePanel>(form);
    auto* b = fw::Make<TKVXSimplePanel>(form);
    a->SetParent(form);
    b->SetParent(form);
    b->SetLeft(200);
    std::vector<std::string> events;
    a->OnAfterEnter.Bind(&events, [](void* e, fw::TObject*) { static_cast<std::vector<std::string>*>(e)->push_back("a enter"); });
    a->OnAfterExit.Bind(&events, [](void* e, fw::TObject*) { static_cast<std::vector<std::string>*>(e)->push_back("a exit"); });
    Pump();
    a->SetFocus();
    EXPECT_TRUE(events.empty()) << "not from inside the focus change";
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"a enter"}));
    b->SetFocus();
    EXPECT_EQ(events.size(), 1u);
    Pump();
    EXPECT_EQ(events, (std::vector<std::string>{"a enter", "a exit"}));
}

TEST_F(KVXControlBases, FreeingTheImageListClearsEveryLink) {
    TKVXImageList* list = test::MakeImageList(form, 16, 16, {test::Checker(4, fw::clRed, fw::clBlue)});
    auto* label = fw::Make<TKVXGlyphLabel>(form);
    auto* panel = fw::Make<TKVXBackPanel>(form);
    auto* button = fw::Make<TKVXOfficeButton>(form);
    panel->SetParent(form);
    label->SetParent(panel);
    button->SetParent(panel);
    label->SetImageList(list);
    panel->SetImageList(list);
    button->SetImageList(list);
    EXPECT_EQ(list->LinkCount(), 3);
    EXPECT_FALSE(panel->NoImage());
    EXPECT_FALSE(button->Glyph()->Empty()) << "the button's glyph comes from the list";
    list->Free();
    EXPECT_EQ(label->ImageList(), nullptr);
    EXPECT_EQ(panel->ImageList(), nullptr);
    EXPECT_EQ(button->ImageList(), nullptr);
    EXPECT_TRUE(button->Glyph()->Empty());
    EXPECT_TRUE(panel->NoImage());
}

TEST_F(KVXControlBases, NegativeAndUnchangedIndexesAreIgnored) {
    auto* label = fw::Make<TKVXGlyphLabel>(form);
    label->SetParent(form);
    label->SetImageValue(0, 3);  // no list: stored
    EXPECT_EQ(label->ImageIndex(), 3);
    label->SetImageValue(0, -1);
    EXPECT_EQ(label->ImageIndex(), 3);
    label->SetImageValue(1, -5);
    EXPECT_EQ(label->ListIndex(), 0);
}

TEST_F(KVXControlBases, SetBoundsReportsWhatChanged) {
    auto* label = fw::Make<TKVXSimpleLabel>(form);
    label->SetParent(form);
    label->SetFlag(0, false);
    label->SetBounds(10, 10, 50, 20);
    std::vector<uint32_t> kinds;
    label->OnBoundsChanged.Bind(&kinds, [](void* k, fw::TObject*, TKVXBoundsKind kind) {
        static_cast<std::vector<uint32_t>*>(k)->push_back(kind.Bits());
    });
    label->SetBounds(10, 10, 50, 20);  // nothing
    label->SetBounds(20, 10, 50, 20);  // moved
    label->SetBounds(20, 10, 60, 25);  // resized
    label->SetBounds(0, 0, 10, 10);    // both
    EXPECT_EQ(kinds, (std::vector<uint32_t>{2, 1, 3}));
}

// A back panel tiling a 16 x 16 checker of 4-pixel squares, with two transparent panels inside it (each
// with a client edge, inside the other).
class KVXBackground : public test::TControlsTest {
protected:
    void SetUp() override {
        list = test::MakeImageList(form, 16, 16, {test::Checker(4, fw::clRed, fw::clBlue), [](int, int) { return fw::clLime; }});
        back = fw::Make<TKVXBackPanel>(form);
        back->SetParent(form);
        back->SetBounds(10, 10, 300, 220);
        back->SetImageList(list);
        outer = MakeInner(back, 30, 20, 220, 170);
        inner = MakeInner(outer, 13, 9, 120, 100);
        Pump();
        back->Repaint();
        Pump();
    }
    TKVXSimplePanel* MakeInner(fw::TWinControl* parent, int x, int y, int w, int h) {
        auto* p = fw::Make<TKVXSimplePanel>(form);
        p->SetParent(parent);
        p->Bevel()->SetMode(TKVXBevelMode::bmWindows);
        p->SetTransparent(true);
        p->SetBounds(x, y, w, h);
        return p;
    }
    // The tile's colour at a point of the back panel's client area.
    static fw::TColor Tile(int x, int y) { return test::Checker(4, fw::clRed, fw::clBlue)(x % 16, y % 16); }
    // Compares a 24 x 24 block of a panel's client area at At with the tile, whose point At lies at
    // Origin + At.
    int Mismatches(TKVXSimplePanel* panel, TPoint origin, TPoint at = {0, 0}) {
        int wrong = 0;
        for (int y = at.Y; y < at.Y + 24; ++y)
            for (int x = at.X; x < at.X + 24; ++x)
                if (WindowPixel(panel->Handle(), x, y) != Tile(origin.X + x, origin.Y + y)) ++wrong;
        return wrong;
    }
    TKVXImageList* list = nullptr;
    TKVXBackPanel* back = nullptr;
    TKVXSimplePanel* outer = nullptr;
    TKVXSimplePanel* inner = nullptr;
};

TEST_F(KVXBackground, NestedTransparentPanelsShowTheTileAtTheirPlace) {
    ASSERT_NE(GetWindowLongPtrA(inner->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    ASSERT_EQ(inner->Width() - inner->ClientWidth(), 4);
    ASSERT_TRUE(inner->HasBackground());
    // The back panel itself.
    EXPECT_EQ(WindowPixel(back->Handle(), 1, 1), Tile(1, 1));
    EXPECT_EQ(WindowPixel(back->Handle(), 5, 1), Tile(5, 1));
    // Each panel's client origin lies at its position plus its 2-pixel border.
    EXPECT_EQ(Mismatches(outer, {30 + 2, 20 + 2}, {140, 115}), 0);  // beside the inner panel
    EXPECT_EQ(Mismatches(inner, {30 + 2 + 13 + 2, 20 + 2 + 9 + 2}), 0);
    // Off by one border would not match.
    EXPECT_GT(Mismatches(inner, {30 + 13 + 2, 20 + 9 + 2}), 0);
}

TEST_F(KVXBackground, GrowingRebuildsTheBitmapShrinkingKeepsIt) {
    ASSERT_NE(back->OwnBitmap(), nullptr);
    EXPECT_EQ(back->OwnBitmap()->Width(), 300);
    back->SetBounds(10, 10, 400, 250);
    Pump();
    EXPECT_EQ(back->OwnBitmap()->Width(), 400);
    EXPECT_EQ(back->OwnBitmap()->Height(), 250);
    back->SetBounds(10, 10, 200, 150);
    Pump();
    EXPECT_EQ(back->OwnBitmap()->Width(), 400) << "a smaller panel copies from the old bitmap";
    back->Repaint();
    EXPECT_EQ(WindowPixel(back->Handle(), 6, 2), Tile(6, 2));
}

// A transparent label that counts its paints.
class TCountingLabel : public TKVXSimpleLabel {
public:
    using TKVXSimpleLabel::TKVXSimpleLabel;
    int paints = 0;

protected:
    void Paint() override {
        ++paints;
        TKVXSimpleLabel::Paint();
    }
};

TEST_F(KVXBackground, ChangedImageIndexRepaintsATransparentLabel) {
    auto* label = fw::Make<TCountingLabel>(form);
    label->SetParent(inner);
    label->SetCaption("Tiled");
    label->SetBounds(4, 4, label->Width(), label->Height());
    Pump();
    const int before = label->paints;
    back->SetImageValue(0, 1);  // the solid picture
    Pump();
    EXPECT_GT(label->paints, before);
    EXPECT_EQ(WindowPixel(inner->Handle(), 60, 60), fw::clLime) << "the inner panel shows the new picture";
    // An index the list lacks: the bitmap goes and the panel paints Color.
    back->SetImageValue(0, 7);
    Pump();
    EXPECT_EQ(back->OwnBitmap(), nullptr);
    EXPECT_FALSE(inner->HasBackground());
    // On a plain form the same label ignores the message.
    label->SetParent(form);
    Pump();
    const int plain = label->paints;
    label->Perform(fw::CM_KVXPARENTBACKCHANGED);
    Pump();
    EXPECT_EQ(label->paints, plain);
}

TEST_F(KVXBackground, Ctl3DSwitchesClientEdgeAndBorder) {
    HWND h = outer->Handle();
    EXPECT_NE(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_STYLE) & WS_BORDER, 0);
    outer->SetCtl3D(false);
    h = outer->Handle();
    EXPECT_EQ(GetWindowLongPtrA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
    EXPECT_NE(GetWindowLongPtrA(h, GWL_STYLE) & WS_BORDER, 0);
    EXPECT_EQ(outer->Width() - outer->ClientWidth(), 2);
    outer->SetCtl3D(true);
    EXPECT_NE(GetWindowLongPtrA(outer->Handle(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE, 0);
}

// An ini component that notes when it loads and saves.
std::vector<std::string> g_iniLog;

class TLoggingIni : public TKVXCustomIniComponent {
public:
    explicit TLoggingIni(TComponent* owner) : TKVXCustomIniComponent(owner, "TLoggingIni") {}

protected:
    void LoadFromIni() override { g_iniLog.push_back("load " + Name()); }
    void SaveToIni() override { g_iniLog.push_back("save " + Name()); }
};

class TIniForm : public fw::TForm {
public:
    using TForm::TForm;
    void FormCreate(TObject*) { g_iniLog.push_back("form create"); }
    void FormDestroy(TObject*) { g_iniLog.push_back("form destroy"); }
};

TEST(KVXIniComponents, ChainTheFormHandlersInReverseReadOrder) {
    fw::Class<TLoggingIni, TKVXCustomIniComponent>("TLoggingIni");
    fw::Class<TIniForm, fw::TForm>("TIniForm")
        .Method("FormCreate", &TIniForm::FormCreate)
        .Method("FormDestroy", &TIniForm::FormDestroy);
    g_iniLog.clear();
    auto* f = fw::TForm::CreateNew<TIniForm>(nullptr);
    fw::ReadComponentText(f, R"(object IniForm: TIniForm
  OnCreate = FormCreate
  OnDestroy = FormDestroy
  object Mru1: TLoggingIni
  end
  object Mru2: TLoggingIni
  end
end
)",
                          "IniForm");
    EXPECT_EQ(g_iniLog, (std::vector<std::string>{"load Mru2", "load Mru1", "form create"}));
    g_iniLog.clear();
    f->Free();
    EXPECT_EQ(g_iniLog, (std::vector<std::string>{"save Mru2", "save Mru1", "form destroy"}));

    // Anything but a form as owner is refused, naming the class.
    auto* holder = fw::Make<fw::TComponent>(nullptr);
    try {
        fw::Make<TLoggingIni>(holder);
        ADD_FAILURE() << "no exception";
    } catch (const fw::Exception& e) {
        EXPECT_STREQ(e.what(), "TLoggingIni\rInvalid Owner (<>TForm)");
    }
    holder->Free();
}

}  // namespace
}  // namespace kvx::win32
