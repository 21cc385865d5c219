// The suite's push button under Wine: the frame flags as the focus moves between buttons, a double
// click that counts as two clicks, and the drop-down menu that opens in the pushed look.
#include <gtest/gtest.h>

#include "framework/win32/callback.h"
#include "framework/win32/menus.h"
#include "framework/win32/std_edit.h"
#include "widgets/win32/pushbutton.h"
#include "widgets/win32/testsupport/controlhost.h"

namespace kvx::win32 {
namespace {

using test::Pump;

class KVXPushButtons : public test::TControlsTest {
protected:
    TKVXButton* MakeButton(const std::string& name, int x) {
        auto* b = fw::Make<TKVXButton>(form);
        b->SetName(name);
        b->SetParent(form);
        b->SetBounds(x, 20, 75, 25);
        b->SetCaption(name);
        b->OnClick.Bind(&clicks, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
        return b;
    }
    void Redraw(TKVXButton* b) { RedrawWindow(b->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); }
    int clicks = 0;
};

TEST_F(KVXPushButtons, FrameFlagsFollowTheFocus) {
    auto* ok = MakeButton("btnOk", 20);
    auto* other = MakeButton("btnOther", 110);
    ok->SetDefault(true);
    auto* edit = fw::Make<fw::TEdit>(form);
    edit->SetParent(form);
    edit->SetBounds(200, 20, 80, 21);
    edit->SetFocus();
    Pump();
    Redraw(ok);
    Redraw(other);
    EXPECT_EQ(ok->LastFrameFlags(), 0x03) << "the default button while Enter would press it";
    EXPECT_EQ(other->LastFrameFlags(), 0x01);
    other->SetFocus();
    Pump();
    Redraw(ok);
    Redraw(other);
    EXPECT_EQ(ok->LastFrameFlags(), 0x01) << "Enter now presses the focused button";
    EXPECT_EQ(other->LastFrameFlags(), 0x03);
    // A focused button that is not the one Enter presses (a button taking Enter itself is not one):
    // drawn with the focus flags.
    DRAWITEMSTRUCT item{};
    item.CtlType = ODT_BUTTON;
    item.hwndItem = ok->Handle();
    item.hDC = GetDC(ok->Handle());
    item.rcItem = {0, 0, 75, 25};
    item.itemState = ODS_FOCUS;
    ok->Perform(fw::CN_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    ReleaseDC(ok->Handle(), item.hDC);
    EXPECT_EQ(ok->LastFrameFlags(), 0x21);
    EXPECT_EQ(ok->DrawState(), TKVXButtonState::bstUp);
}

TEST_F(KVXPushButtons, DoubleClickCountsTwice) {
    auto* b = MakeButton("btnTwice", 20);
    Pump();
    HWND h = b->Handle();
    const LPARAM at = MAKELPARAM(10, 10);
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(h, WM_LBUTTONUP, 0, at);
    SendMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    SendMessageA(h, WM_LBUTTONUP, 0, at);
    Pump();
    EXPECT_EQ(clicks, 2);
}

// While the menu runs: whether its window exists and the button looks pushed; then close it.
struct MenuProbe {
    TKVXButton* button = nullptr;
    bool menuSeen = false;
    bool pushed = false;
};
MenuProbe g_probe;

void CALLBACK ProbeMenu(HWND, UINT, UINT_PTR id, DWORD) {
    FW_CALLBACK_VOID({
        KillTimer(nullptr, id);
        g_probe.menuSeen = FindWindowA("#32768", nullptr) != nullptr;
        g_probe.pushed = g_probe.button->Dropped() &&
                         (SendMessageA(g_probe.button->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED) != 0;
        EndMenu();
    })
}

TEST_F(KVXPushButtons, DropDownMenuOpensInThePushedLook) {
    auto* b = MakeButton("btnMenu", 20);
    auto* menu = fw::Make<fw::TPopupMenu>(form);
    auto* item = fw::Make<fw::TMenuItem>(menu);
    item->SetCaption("First");
    menu->Items()->Add(item);
    b->SetDropDownMenu(menu);
    int dropDowns = 0;
    b->OnDropDown.Bind(&dropDowns, [](void* n, fw::TObject*) { ++*static_cast<int*>(n); });
    Pump();
    g_probe = {b};
    SetTimer(nullptr, 0, 200, ProbeMenu);
    b->Click();
    EXPECT_EQ(clicks, 1) << "OnClick first";
    EXPECT_EQ(dropDowns, 1);
    EXPECT_TRUE(g_probe.menuSeen);
    EXPECT_TRUE(g_probe.pushed);
    EXPECT_FALSE(b->Dropped());
    EXPECT_EQ(SendMessageA(b->Handle(), BM_GETSTATE, 0, 0) & BST_PUSHED, 0) << "up again after the menu";
    // Freeing the menu clears the link.
    menu->Free();
    EXPECT_EQ(b->DropDownMenu(), nullptr);
}

}  // namespace
}  // namespace kvx::win32
