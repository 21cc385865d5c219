// The caption styler and the form fill on a real form under Wine: the caption bar's pixels read back
// through the window DC, the blank answer to WM_GETTEXT, the tiled client area, and what disabling
// gives back. The test prefix runs unmanaged windows, so the whole non-client area is ours to paint
// and to read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win32/forms.h"
#include "framework/win32/graphics.h"
#include "widgets/captionrects.h"
#include "widgets/win32/formfill.h"
#include "widgets/win32/formstyler.h"
#include "widgets/win32/sysinfo.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new test::TSuiteEnvironment);

using test::Pump;
using test::PumpFor;

// A pixel of the whole window (non-client area included).
fw::TColor FramePixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return static_cast<fw::TColor>(c);
}

class FormStyler : public ::testing::Test {
protected:
    void SetUp() override {
        form = fw::TForm::CreateNew<fw::TForm>(nullptr);
        form->SetBounds(60, 60, 320, 220);
        form->SetCaption("Styled form");
        form->Show();
        other = fw::TForm::CreateNew<fw::TForm>(nullptr);
        other->SetBounds(500, 400, 120, 80);
        other->Show();
        Pump();
    }
    void TearDown() override {
        form->Free();
        other->Free();
        Pump();
    }
    // Made as form text makes it: properties first, then Loaded hooks the form.
    TKVXFormStyler* AddStyler(TKVXColorCount colors, bool useFormCaption) {
        auto* styler = new TKVXFormStyler(form);
        styler->SetComponentState(fw::csLoading);
        styler->SetColors(colors);
        TKVXFormStyleOptions options = styler->Options();
        if (!useFormCaption) options.Exclude(TKVXFormStyleOption::fsUseFormCaption);
        styler->SetOptions(options);
        styler->Loaded();
        return styler;
    }
    // The styler paints from the next activation on: the other form takes the focus first.
    void Activate() {
        SetForegroundWindow(other->Handle());
        SetActiveWindow(other->Handle());
        PumpFor(30);
        SetForegroundWindow(form->Handle());
        SetActiveWindow(form->Handle());
        PumpFor(100);
    }
    // The bottom row of the caption bar, right of the icon: the text is centred and stays above it.
    struct Row {
        int left, right, y;
    };
    Row CaptionRow() {
        fw::TRect bar, text;
        int flags = 1;
        KVXCaptionRects(form->Handle(), bar, text, flags);
        return {text.Left, bar.Right, bar.Bottom - 1};
    }
    fw::TForm* form = nullptr;
    fw::TForm* other = nullptr;
};

TEST_F(FormStyler, ActiveCaptionWithTwoColoursIsTwoEqualBands) {
    AddStyler(2, true);
    Activate();
    const Row row = CaptionRow();
    ASSERT_GT(row.right - row.left, 100);
    fw::TRect bar, text;
    int flags = 1;
    KVXCaptionRects(form->Handle(), bar, text, flags);
    const int middle = bar.Left + bar.Width() / 2;
    const fw::TColor caption = fw::ColorToRGB(fw::clActiveCaption);
    ASSERT_NE(caption, 0) << "the caption colour must differ from black for this check";
    int wrong = 0;
    for (int x = row.left; x < row.right; ++x) {
        if (x == middle - 1 || x == middle) continue;  // the band edge may round either way
        const fw::TColor want = x < middle ? fw::clBlack : caption;
        const fw::TColor got = FramePixel(form->Handle(), x, row.y);
        if (got != want && ++wrong <= 3) ADD_FAILURE() << "x " << x << ": got " << std::hex << got << " want " << want;
    }
    EXPECT_EQ(wrong, 0);
    // The caption text is drawn over the black half in the caption text colour (white when that
    // colour is black).
    const fw::TColor textColor = fw::ColorToRGB(fw::clCaptionText) == 0 ? 0xFFFFFF : fw::ColorToRGB(fw::clCaptionText);
    int textPixels = 0;
    for (int y = text.Top; y < text.Bottom; ++y)
        for (int x = text.Left; x < middle; ++x) textPixels += FramePixel(form->Handle(), x, y) == textColor;
    EXPECT_GT(textPixels, 20);
}

TEST_F(FormStyler, DefaultGradientRunsFromBlackToTheCaptionColour) {
    AddStyler(32, true);
    Activate();
    const Row row = CaptionRow();
    fw::TRect bar, text;
    int flags = 1;
    KVXCaptionRects(form->Handle(), bar, text, flags);
    const auto brightness = [](fw::TColor c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF); };
    const fw::TColor caption = fw::ColorToRGB(fw::clActiveCaption);
    // Right of the icon the bar is still in its first few dark steps; it ends in the caption colour.
    EXPECT_LE(brightness(FramePixel(form->Handle(), row.left, row.y)), brightness(caption) / 8);
    EXPECT_EQ(FramePixel(form->Handle(), bar.Right - 1, row.y), caption);
    // Each step is at least as bright as the one on its left, and there are many of them.
    int previous = -1, steps = 0;
    for (int x = row.left; x < row.right; x += 4) {
        const int now = brightness(FramePixel(form->Handle(), x, row.y));
        EXPECT_GE(now, previous) << "x " << x;
        if (now > previous) ++steps;
        previous = now;
    }
    EXPECT_GE(steps, 20);
}

TEST_F(FormStyler, InactiveCaptionIsPaintedOnlyWithInactiveGradient) {
    struct Case {
        const char* name;
        bool inactiveGradient;
        bool blackLeft;
    };
    const Case cases[] = {{"default options", false, false}, {"fsInactiveGradient", true, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKVXFormStyler* styler = AddStyler(2, true);
        if (c.inactiveGradient)
            styler->SetOptions(styler->Options() + TKVXFormStyleOptions{TKVXFormStyleOption::fsInactiveGradient});
        Activate();
        SetForegroundWindow(other->Handle());
        SetActiveWindow(other->Handle());
        PumpFor(50);
        ASSERT_FALSE(styler->CaptionActive());
        const Row row = CaptionRow();
        EXPECT_EQ(FramePixel(form->Handle(), row.left, row.y) == fw::clBlack, c.blackLeft);
        if (c.inactiveGradient) {
            EXPECT_EQ(FramePixel(form->Handle(), row.right - 1, row.y), fw::ColorToRGB(fw::clInactiveCaption));
        }
        styler->Free();
    }
}

TEST_F(FormStyler, WindowTextIsBlankOnlyWithoutFormCaption) {
    struct Case {
        const char* name;
        bool useFormCaption;
        std::string windowText;
        int textLength;
    };
    const Case cases[] = {
        {"form caption", true, "Styled form", 11},
        {"blank caption", false, " ", 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TKVXFormStyler* styler = AddStyler(32, c.useFormCaption);
        char text[64] = {};
        GetWindowTextA(form->Handle(), text, sizeof text);
        EXPECT_EQ(std::string(text), c.windowText);
        EXPECT_EQ(GetWindowTextLengthA(form->Handle()), c.textLength);
        styler->Free();
        EXPECT_EQ(form->Caption(), "Styled form");
    }
}

TEST_F(FormStyler, BlankAnswerCountsWhatWasCopied) {
    AddStyler(32, false);
    struct Case {
        int size;
        const char* want;  // answer ":" buffer
    };
    const Case cases[] = {{0, "0:xx"}, {1, "0:"}, {2, "1: "}, {50, "1: "}};
    for (const Case& c : cases) {
        std::vector<char> buffer(3, 'x');
        buffer.resize(64, '\0');
        const LRESULT n = SendMessageA(form->Handle(), WM_GETTEXT, static_cast<WPARAM>(c.size),
                                       reinterpret_cast<LPARAM>(buffer.data()));
        EXPECT_EQ(std::to_string(n) + ":" + std::string(buffer.data()).substr(0, 2), c.want) << "size " << c.size;
    }
}

TEST_F(FormStyler, DisablingRestoresTheSystemCaption) {
    TKVXFormStyler* styler = AddStyler(2, false);
    Activate();
    const Row row = CaptionRow();
    ASSERT_EQ(FramePixel(form->Handle(), row.left, row.y), fw::clBlack);
    styler->SetEnabled(false);
    PumpFor(50);
    EXPECT_NE(FramePixel(form->Handle(), row.left, row.y), fw::clBlack);
    char text[64] = {};
    GetWindowTextA(form->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "Styled form");
    // Enabled again, the styler paints at once and blanks the caption again.
    styler->SetEnabled(true);
    Activate();
    EXPECT_EQ(FramePixel(form->Handle(), row.left, row.y), fw::clBlack);
    GetWindowTextA(form->Handle(), text, sizeof text);
    EXPECT_STREQ(text, " ");
}

TEST_F(FormStyler, FormCaptionOptionSwitchesTheBlankWhileRunning) {
    TKVXFormStyler* styler = AddStyler(32, false);
    char text[64] = {};
    const auto windowText = [&] {
        GetWindowTextA(form->Handle(), text, sizeof text);
        return std::string(text);
    };
    EXPECT_EQ(windowText(), " ");
    styler->SetOptions(styler->Options() + TKVXFormStyleOptions{TKVXFormStyleOption::fsUseFormCaption});
    EXPECT_EQ(windowText(), "Styled form");
    styler->SetOptions(styler->Options() - TKVXFormStyleOptions{TKVXFormStyleOption::fsUseFormCaption});
    EXPECT_EQ(windowText(), " ");
    // Enabled twice over, the caption kept is still the form's own.
    styler->SetEnabled(false);
    styler->SetEnabled(true);
    styler->Free();
    EXPECT_EQ(windowText(), "Styled form");
}

TEST_F(FormStyler, FrameDrawnBySystemKeepsTheSystemCaption) {
    KVXSetFrameComposition([](HWND) { return true; });
    AddStyler(2, false);
    Activate();
    const Row row = CaptionRow();
    const fw::TColor left = FramePixel(form->Handle(), row.left, row.y);
    char text[64] = {};
    GetWindowTextA(form->Handle(), text, sizeof text);
    KVXSetFrameComposition(nullptr);
    EXPECT_NE(left, fw::clBlack);
    EXPECT_STREQ(text, "Styled form");
    EXPECT_EQ(form->Caption(), "Styled form");
}

TEST_F(FormStyler, OwnerDrawHandsTheBarToTheEventAndSurvivesItsException) {
    TKVXFormStyler* styler = AddStyler(32, true);
    struct Seen {
        std::vector<fw::TRect> rects;
        bool raise = true;
    } seen;
    styler->OnPaint.Bind(&seen, [](void* p, fw::TObject*, fw::TCanvas* canvas, fw::TRect dest) {
        auto* s = static_cast<Seen*>(p);
        s->rects.push_back(dest);
        canvas->Brush()->SetColor(fw::clRed);
        canvas->FillRect({dest.Left - 50, dest.Top - 50, dest.Right + 50, dest.Bottom + 50});  // clipped to the bar
        if (s->raise) throw fw::Exception("paint failed");
    });
    Activate();
    EXPECT_THROW(styler->SetPaintMode(TKVXPaintMode::pcOwnerDraw), fw::Exception);
    // The failed paint let go of its DC and flag: the next one paints.
    seen.raise = false;
    styler->PaintCaption(true);
    ASSERT_GE(seen.rects.size(), 2u);
    const fw::TRect bar = seen.rects.back();
    EXPECT_EQ(FramePixel(form->Handle(), bar.Left + 1, bar.Bottom - 1), fw::clRed);
    // Outside the bar (the frame just below it) nothing red was painted.
    EXPECT_NE(FramePixel(form->Handle(), bar.Left + 1, bar.Bottom + 1), fw::clRed);
}

class FormFill : public test::TControlsTest {};

TEST_F(FormFill, BackTilesThePictureOverTheClientArea) {
    const auto tile = test::Checker(5, fw::clYellow, fw::clNavy);
    TKVXImageList* list = test::MakeImageList(form, 20, 15, {tile});
    auto* back = new TKVXBack(form);
    back->SetComponentState(fw::csLoading);
    back->SetImageList(list);
    back->Loaded();
    form->Invalidate();
    PumpFor(50);
    int wrong = 0;
    for (int y = 3; y < 300; y += 37)
        for (int x = 2; x < 460; x += 29) {
            const fw::TColor want = tile(x % 20, y % 15);
            if (test::WindowPixel(form->Handle(), x, y) != want && ++wrong <= 3)
                ADD_FAILURE() << "pixel " << x << "," << y;
        }
    EXPECT_EQ(wrong, 0);
}

TEST_F(FormFill, OwnerDrawFillsWithTheFormColourBeforeTheEvent) {
    auto* back = new TKVXBack(form);
    back->SetComponentState(fw::csLoading);
    back->SetPaintMode(TKVXPaintMode::pcOwnerDraw);
    back->Loaded();
    struct Seen {
        fw::TRect dest;
        fw::TColor underneath = -1;
    } seen;
    back->OnPaint.Bind(&seen, [](void* p, fw::TObject*, fw::TCanvas* canvas, fw::TRect dest) {
        auto* s = static_cast<Seen*>(p);
        s->dest = dest;
        s->underneath = canvas->Pixels(10, 10);
        canvas->Brush()->SetColor(fw::clLime);
        canvas->FillRect({0, 0, 40, 40});
    });
    form->Invalidate();
    PumpFor(50);
    EXPECT_EQ(seen.dest, (fw::TRect{0, 0, form->ClientWidth(), form->ClientHeight()}));
    EXPECT_EQ(seen.underneath, fw::clWhite);
    EXPECT_EQ(test::WindowPixel(form->Handle(), 20, 20), fw::clLime);
    EXPECT_EQ(test::WindowPixel(form->Handle(), 100, 100), fw::clWhite);
}

TEST_F(FormFill, OwnerDrawWithoutEventLeavesTheBackgroundToTheForm) {
    const auto tile = test::Checker(5, fw::clYellow, fw::clNavy);
    TKVXImageList* list = test::MakeImageList(form, 20, 15, {tile});
    auto* back = new TKVXBack(form);
    back->SetComponentState(fw::csLoading);
    back->SetImageList(list);
    back->SetPaintMode(TKVXPaintMode::pcOwnerDraw);
    back->Loaded();
    form->Invalidate();
    PumpFor(50);
    EXPECT_EQ(test::WindowPixel(form->Handle(), 7, 7), fw::clWhite);
    // Disabled, the tile goes too after pcControl is back.
    back->SetPaintMode(TKVXPaintMode::pcControl);
    PumpFor(50);
    EXPECT_EQ(test::WindowPixel(form->Handle(), 7, 7), tile(7, 7));
    back->SetEnabled(false);
    PumpFor(50);
    EXPECT_EQ(test::WindowPixel(form->Handle(), 7, 7), fw::clWhite);
}

}  // namespace
}  // namespace kvx::win32
