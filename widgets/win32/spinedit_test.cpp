// The spin edit over the system EDIT under Wine: Enter presses the form's default button and never
// reaches the field, the arrow and page keys and the wheel step within the limits, refused characters
// beep, leaving the field puts an out-of-range number right, and holding a half of the spin button
// repeats its step.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "framework/win32/std_button.h"
#include "widgets/kvxapplication.h"
#include "framework/core/formtext.h"
#include "widgets/win32/spinedit.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new test::TSuiteEnvironment);

using test::Pump;

class KVXSpinEdits : public test::TControlsTest {
protected:
    void SetUp() override {
        KVXSetSpinBeep([this] { ++beeps; });
    }
    void TearDown() override {
        KVXSetSpinBeep(nullptr);
        TControlsTest::TearDown();
    }
    TKVXSpinEdit* MakeSpin() {
        auto* s = fw::Make<TKVXSpinEdit>(form);
        s->SetParent(form);
        s->SetBounds(20, 20, 100, 24);
        s->SetFocus();
        Pump();
        return s;
    }
    // A key as the keyboard gives it: the key-down, and its character through TranslateMessage.
    static void Key(TKVXSpinEdit* s, UINT vk) {
        PostMessageA(s->Handle(), WM_KEYDOWN, vk, 1);
        PostMessageA(s->Handle(), WM_KEYUP, vk, 0xC0000001);
        Pump();
    }
    static void Char(TKVXSpinEdit* s, char c) {
        PostMessageA(s->Handle(), WM_CHAR, static_cast<unsigned char>(c), 1);
        Pump();
    }
    int beeps = 0;
};

TEST_F(KVXSpinEdits, EnterPressesTheDefaultButton) {
    auto* ok = fw::Make<fw::TButton>(form);
    ok->SetParent(form);
    ok->SetBounds(200, 20, 75, 25);
    ok->SetDefault(true);
    int clicks = 0;
    ok->OnClick.Bind(&clicks, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
    auto* s = MakeSpin();
    s->SetValue(7);
    Key(s, VK_RETURN);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(s->Text(), "7") << "no line break reaches the field";
    EXPECT_EQ(beeps, 0);
    EXPECT_TRUE(GetWindowLongPtrA(s->Handle(), GWL_STYLE) & ES_MULTILINE);
}

TEST_F(KVXSpinEdits, KeysAndWheelStepWithinTheLimits) {
    auto* s = MakeSpin();
    s->SetMaxValue(50);
    s->SetMinValue(-5);
    s->SetValue(10);
    struct Case {
        const char* name;
        UINT msg;
        WPARAM w;
        int32_t want;
    };
    const WPARAM wheelUp = MAKEWPARAM(0, WHEEL_DELTA), wheelDown = MAKEWPARAM(0, static_cast<WORD>(-WHEEL_DELTA));
    const Case cases[] = {
        {"Up", WM_KEYDOWN, VK_UP, 11},           {"Down", WM_KEYDOWN, VK_DOWN, 10},
        {"Page Up", WM_KEYDOWN, VK_PRIOR, 20},   {"Page Up", WM_KEYDOWN, VK_PRIOR, 30},
        {"Page Up", WM_KEYDOWN, VK_PRIOR, 40},   {"Page Up to the limit", WM_KEYDOWN, VK_PRIOR, 50},
        {"Up at the limit", WM_KEYDOWN, VK_UP, 50}, {"wheel down", WM_MOUSEWHEEL, wheelDown, 49},
        {"wheel up", WM_MOUSEWHEEL, wheelUp, 50}, {"Page Down", WM_KEYDOWN, VK_NEXT, 40},
    };
    RECT r;
    GetWindowRect(s->Handle(), &r);
    for (const Case& c : cases) {
        const LPARAM l = c.msg == WM_MOUSEWHEEL ? MAKELPARAM(r.left + 10, r.top + 5) : 1;
        PostMessageA(s->Handle(), c.msg, c.w, l);
        Pump();
        EXPECT_EQ(s->Value(), c.want) << c.name;
    }
    s->SetLineSize(INT_MAX);
    s->SetMinValue(INT_MIN);
    s->SetMaxValue(INT_MAX);
    s->SetValue(INT_MAX - 1);
    Key(s, VK_UP);
    EXPECT_EQ(s->Value(), INT_MAX) << "a huge step stops at the limit";
    Key(s, VK_DOWN);
    Key(s, VK_DOWN);
    Key(s, VK_DOWN);
    EXPECT_EQ(s->Value(), INT_MIN);
    EXPECT_EQ(beeps, 0);
}

TEST_F(KVXSpinEdits, ReadOnlyBeepsOnLineStepsAndIgnoresPages) {
    auto* s = MakeSpin();
    s->SetValue(5);
    s->SetReadOnly(true);
    Key(s, VK_UP);
    Key(s, VK_PRIOR);
    EXPECT_EQ(s->Value(), 5);
    EXPECT_EQ(beeps, 1);
}

TEST_F(KVXSpinEdits, TypingAndLeavingTheField) {
    auto* s = MakeSpin();
    s->SetSuffix(" kB");
    EXPECT_EQ(s->Text(), "0 kB");
    s->SetSelStart(0);
    s->SetSelLength(1);
    for (char c : std::string("5x00")) Char(s, c);
    EXPECT_EQ(beeps, 1) << "the letter is refused";
    EXPECT_EQ(s->Text(), "500 kB");
    EXPECT_EQ(s->Value(), 500) << "the limits apply when leaving";
    auto* other = fw::Make<TKVXSpinEdit>(form);
    other->SetParent(form);
    other->SetBounds(20, 60, 100, 24);
    other->SetFocus();
    Pump();
    EXPECT_EQ(s->Text(), "100 kB");
    s->SetEditorEnabled(false);
    s->SetFocus();
    Pump();
    Char(s, '7');
    Char(s, '\b');
    EXPECT_EQ(beeps, 3) << "without the editor digits and Back beep";
    EXPECT_EQ(s->Text(), "100 kB");
    SendMessageA(s->Handle(), WM_PASTE, 0, 0);
    EXPECT_EQ(s->Text(), "100 kB");
    s->SetText("1-2 kB");
    EXPECT_EQ(s->Value(), 0);
    EXPECT_EQ(s->Text(), "0 kB");
}

TEST_F(KVXSpinEdits, LayoutAndButtonFaces) {
    auto* s = MakeSpin();
    s->SetHeight(5);
    Pump();
    EXPECT_GT(s->Height(), 5) << "never below the font's height";
    TKVXSpinButton* b = s->Button();
    EXPECT_EQ(b->Width(), b->Height()) << "a square";
    RECT rect;
    SendMessageA(s->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    EXPECT_LE(rect.right, s->ClientWidth() - b->Width()) << "the text stops before the button";
    s->SetEnabled(false);
    EXPECT_EQ(b->State(), 3);
    EXPECT_FALSE(b->Enabled());
    s->SetEnabled(true);
    EXPECT_EQ(b->State(), 0);
    s->SetAlignment(fw::TAlignment::taRightJustify);
    s->SetValue(7);
    EXPECT_TRUE(GetWindowLongPtrA(s->Handle(), GWL_STYLE) & ES_RIGHT);
    EXPECT_EQ(s->Text(), "7");
    char text[16] = {};
    GetWindowTextA(s->Handle(), text, sizeof text);
    EXPECT_STREQ(text, "7");
    SendMessageA(s->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    EXPECT_GT(rect.right, 20) << "room for the text after the window was made again";
}

TEST_F(KVXSpinEdits, HeldHalfRepeatsItsStep) {
    auto* s = MakeSpin();
    s->SetMaxValue(1000);
    TKVXSpinButton* b = s->Button();
    HWND holder = ::GetWindow(s->Handle(), GW_CHILD);
    ASSERT_TRUE(holder);
    const LPARAM top = MAKELPARAM(b->Left() + 3, b->Top() + 3);
    SendMessageA(holder, WM_LBUTTONDOWN, MK_LBUTTON, top);
    EXPECT_EQ(s->Value(), 1) << "one step at once";
    EXPECT_EQ(b->State(), 1);
    // Once at once, then after 300 ms, then every 100 ms: about 8 in a second, with the pool's phase
    // and a busy machine allowed for.
    test::PumpFor(1000);
    SendMessageA(holder, WM_LBUTTONUP, 0, top);
    const int32_t held = s->Value();
    EXPECT_GE(held, 4);
    EXPECT_LE(held, 12);
    test::PumpFor(300);
    EXPECT_EQ(s->Value(), held) << "released: no more steps";
    EXPECT_EQ(b->State(), 0);
    const LPARAM bottom = MAKELPARAM(b->Left() + b->Width() - 3, b->Top() + b->Height() - 3);
    SendMessageA(holder, WM_LBUTTONDOWN, MK_LBUTTON, bottom);
    SendMessageA(holder, WM_LBUTTONUP, 0, bottom);
    EXPECT_EQ(s->Value(), held - 1);
    // Pressed on the top half, then moved onto the bottom one: the button is up and nothing repeats.
    SendMessageA(holder, WM_LBUTTONDOWN, MK_LBUTTON, top);
    SendMessageA(holder, WM_MOUSEMOVE, MK_LBUTTON, bottom);
    EXPECT_EQ(b->State(), 0);
    test::PumpFor(600);
    SendMessageA(holder, WM_LBUTTONUP, 0, bottom);
    EXPECT_EQ(s->Value(), held) << "only the step at the press";
}

TEST_F(KVXSpinEdits, FullTimerPoolFailsTheCreation) {
    std::vector<uint16_t> taken;
    while (const uint16_t id = KVXApplication->AddTimer(1000, TNotifyEvent())) taken.push_back(id);
    const int before = form->ComponentCount();
    try {
        fw::Make<TKVXSpinEdit>(form);
        ADD_FAILURE() << "made without a timer";
    } catch (const fw::EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "Not enough timers available");
    }
    EXPECT_EQ(form->ComponentCount(), before) << "nothing is left behind";
    for (uint16_t id : taken) KVXApplication->RemoveTimer(id);
    auto* s = MakeSpin();
    EXPECT_EQ(s->Value(), 0);
}

TEST_F(KVXSpinEdits, LimitsPullTheValueAlong) {
    auto* s = MakeSpin();
    s->SetValue(80);
    s->SetMaxValue(50);
    EXPECT_EQ(s->Text(), "50");
    s->SetMinValue(60);
    EXPECT_EQ(s->MinValue(), 0) << "a minimum above the maximum is dropped";
    s->SetMinValue(-20);
    s->SetValue(-30);
    EXPECT_EQ(s->Value(), -20);
    s->SetMinValue(-10);
    EXPECT_EQ(s->Value(), -10);
    s->SetMaxValue(-10);
    EXPECT_EQ(s->MaxValue(), 50) << "MaxValue := MinValue is ignored";
    s->SetSuffix(" B");
    EXPECT_EQ(s->Text(), "-10 B");
    auto* cancel = fw::Make<fw::TButton>(form);
    cancel->SetParent(form);
    cancel->SetBounds(200, 60, 75, 25);
    cancel->SetCancel(true);
    int clicks = 0;
    cancel->OnClick.Bind(&clicks, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
    s->SetFocus();
    Pump();
    Key(s, VK_ESCAPE);
    EXPECT_EQ(clicks, 1) << "Escape presses the cancel button";
}

// A new font (the form's, given after the window is made) resets the system's formatting rectangle:
// right-aligned text would then sit under the spin button.
TEST_F(KVXSpinEdits, TextStaysClearOfTheButtonAfterAFontChange) {
    auto* root = fw::TForm::CreateNew(nullptr);
    fw::ReadComponentText(root,
                          "object SpinHost: TForm\n"
                          "  object spnCount: TKVXSpinEdit\n"
                          "    Width = 120\n"
                          "    Alignment = taRightJustify\n"
                          "    Value = 7\n"
                          "  end\n"
                          "end\n",
                          "SpinHost");
    root->Show();
    Pump();
    auto* s = dynamic_cast<TKVXSpinEdit*>(root->FindComponent("spnCount"));
    ASSERT_NE(s, nullptr);
    s->Font()->SetSize(11);
    Pump();
    RECT rect;
    SendMessageA(s->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&rect));
    EXPECT_LE(rect.right, s->Button()->Parent()->Left());
    EXPECT_EQ(s->Text(), "7");
    root->Free();
}

}  // namespace
}  // namespace kvx::win32
