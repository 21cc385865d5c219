// The speed buttons on a real form under Wine: hot while the mouse is over them and back up when the
// poll finds it gone (no leave message), repeated clicks while held, the drop-down menu in the dropped
// look, the explorer look over a parent's background, and glyph strips shared through the cache.
#include <gtest/gtest.h>

#include "framework/win32/callback.h"
#include "framework/win32/menus.h"
#include "widgets/glyphcache.h"
#include "widgets/win32/panels.h"
#include "widgets/win32/speedbutton.h"
#include "widgets/win32/testsupport/controlhost.h"

namespace kvx::win32 {
namespace {

using S = TKVXButtonState;
using test::Pump;
using test::WindowPixel;

class KVXSpeedButtons : public test::TControlsTest {
protected:
    TKVXCustomSpeedButton* MakeButton(fw::TWinControl* parent, int x, int y) {
        auto* b = fw::Make<TKVXCustomSpeedButton>(form);
        b->SetParent(parent);
        b->SetBounds(x, y, 40, 30);
        b->OnClick.Bind(&clicks, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
        return b;
    }
    void Mouse(UINT msg, WPARAM keys, TKVXCustomSpeedButton* b) {
        SendMessageA(form->Handle(), msg, keys, MAKELPARAM(b->Left() + 10, b->Top() + 10));
    }
    int clicks = 0;
};

TEST_F(KVXSpeedButtons, HotUntilThePollFindsTheMouseGone) {
    auto* b = MakeButton(form, 20, 20);
    SetCursorPos(0, 0);  // the real pointer is elsewhere: no leave message will come
    Mouse(WM_MOUSEMOVE, 0, b);
    EXPECT_EQ(b->State(), S::bstHot);
    test::PumpFor(400);
    EXPECT_EQ(b->State(), S::bstUp);
}

TEST_F(KVXSpeedButtons, HeldRepeatingButtonClicksAboutTenTimesASecond) {
    auto* b = MakeButton(form, 20, 20);
    b->SetRepeatingInterval(120);
    EXPECT_EQ(b->RepeatingInterval(), 100) << "the pool counts in 50 ms";
    b->SetRepeatedClick(true);
    POINT p{b->Left() + 10, b->Top() + 10};
    ClientToScreen(form->Handle(), &p);
    SetCursorPos(p.x, p.y);
    Mouse(WM_MOUSEMOVE, 0, b);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, b);
    test::PumpFor(1000);
    Mouse(WM_LBUTTONUP, 0, b);
    EXPECT_GE(clicks, 5);
    EXPECT_LE(clicks, 14);
    SetCursorPos(0, 0);
}

struct DropProbe {
    TKVXCustomSpeedButton* button = nullptr;
    bool menuSeen = false;
    S state = S::bstUp;
};
DropProbe g_drop;

void CALLBACK ProbeDropDown(HWND, UINT, UINT_PTR id, DWORD) {
    FW_CALLBACK_VOID({
        KillTimer(nullptr, id);
        g_drop.menuSeen = FindWindowA("#32768", nullptr) != nullptr;
        g_drop.state = g_drop.button->State();
        EndMenu();
    })
}

TEST_F(KVXSpeedButtons, DropDownMenuShowsTheDroppedLook) {
    auto* b = MakeButton(form, 20, 20);
    auto* menu = fw::Make<fw::TPopupMenu>(form);
    auto* item = fw::Make<fw::TMenuItem>(menu);
    item->SetCaption("Open");
    menu->Items()->Add(item);
    b->SetDropDownMenu(menu);
    g_drop = {b};
    SetTimer(nullptr, 0, 200, ProbeDropDown);
    Mouse(WM_LBUTTONDOWN, MK_LBUTTON, b);
    EXPECT_TRUE(g_drop.menuSeen);
    EXPECT_EQ(g_drop.state, S::bstDropped);
    EXPECT_NE(b->State(), S::bstDropped);
    Mouse(WM_LBUTTONUP, 0, b);
    menu->Free();
}

TEST_F(KVXSpeedButtons, ExplorerLookShowsTheParentsBackground) {
    TKVXImageList* list = test::MakeImageList(form, 16, 16, {test::Checker(4, fw::clRed, fw::clBlue)});
    auto* back = fw::Make<TKVXBackPanel>(form);
    back->SetParent(form);
    back->SetBounds(10, 10, 200, 100);
    back->SetImageList(list);
    auto* b = MakeButton(back, 21, 13);
    b->SetStyle(TKVXUserButtonStyle::ubsExplorer);
    Pump();
    back->Repaint();
    int wrong = 0;
    for (int y = 8; y < 22; ++y)
        for (int x = 8; x < 32; ++x)
            if (WindowPixel(back->Handle(), 21 + x, 13 + y) != test::Checker(4, fw::clRed, fw::clBlue)((21 + x) % 16, (13 + y) % 16))
                ++wrong;
    EXPECT_EQ(wrong, 0);
}

TEST_F(KVXSpeedButtons, SameSizedGlyphsShareOneStrip) {
    auto count = [] { return KVXGlyphCacheIfAny() ? KVXGlyphCacheIfAny()->Count() : 0; };
    const int before = count();
    fw::TBitmap glyph;
    test::PaintPicture(&glyph, 17, 15, [](int x, int) { return x < 8 ? fw::clNavy : fw::clFuchsia; });
    auto* a = MakeButton(form, 20, 20);
    auto* b = MakeButton(form, 80, 20);
    a->SetGlyph(&glyph);
    b->SetGlyph(&glyph);
    Pump();
    a->Repaint();
    b->Repaint();
    EXPECT_EQ(count(), before + 1);
    a->Free();
    EXPECT_EQ(count(), before + 1);
    b->Free();
    EXPECT_EQ(count(), before);
}

}  // namespace
}  // namespace kvx::win32
