// The owner-drawn edits on a real form under Wine: typing and key moves posted to the window, the
// system clipboard read back through the raw API, the built-in menu as the system shows it, the caret
// following the scroll, OEM conversion against the system's code pages, and the caret's blink time
// through its seam (Wine keeps no blink time of its own).
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win32/callback.h"
#include "framework/win32/screen.h"
#include "widgets/kvxapplication.h"
// kOemHolds: which bytes 0x80-0xFF of code page 1252 code page 437 holds, by Python's codecs.
#include "edit_oem_oracle.inc"
#include "widgets/win32/customedit.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

using test::Pump;

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new test::TSuiteEnvironment);

// The modifiers as the thread's key state shows them (what the framework reads for a posted key).
void SetModifiers(bool shift, bool ctrl) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = shift ? 0x80 : 0;
    keys[VK_CONTROL] = keys[VK_LCONTROL] = ctrl ? 0x80 : 0;
    SetKeyboardState(keys);
}

// One key down and up, with a character for printable keys, as the window would get it.
void PostKey(HWND window, WPARAM vk, bool shift = false, bool ctrl = false, char ch = 0) {
    SetModifiers(shift, ctrl);
    PostMessageA(window, WM_KEYDOWN, vk, 1);
    if (ch) PostMessageA(window, WM_CHAR, static_cast<unsigned char>(ch), 1);
    PostMessageA(window, WM_KEYUP, vk, 0xC0000001);
    Pump();
    SetModifiers(false, false);
}

void Type(HWND window, const std::string& text) {
    for (char c : text) PostMessageA(window, WM_CHAR, static_cast<unsigned char>(c), 1);
    Pump();
}

// The clipboard's CF_TEXT through the raw API.
std::string RawClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return "<busy>";
    if (HANDLE h = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(h))) {
            text = p;
            GlobalUnlock(h);
        }
    }
    CloseClipboard();
    return text;
}

void SetRawClipboardText(const std::string& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(h), text.c_str(), text.size() + 1);
    GlobalUnlock(h);
    SetClipboardData(CF_TEXT, h);
    CloseClipboard();
}

void EmptyRawClipboard() {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
}

// The width of Text in the control's font, as the system measures it.
int TextWidth(fw::TWinControl* control, const std::string& text, int* height = nullptr) {
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, control->Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    if (height) *height = size.cy;
    return size.cx;
}

void Mouse(HWND window, UINT msg, WPARAM keys, int x) {
    PostMessageA(window, msg, keys, MAKELPARAM(x, 6));
    Pump();
}

class KVXEdits : public test::TControlsTest {
protected:
    void SetUp() override { KVXApplication->SetEditMode(kEditInsert); }
    TKVXEdit* MakeEdit(int top = 20, int width = 200) {
        auto* edit = fw::Make<TKVXEdit>(form);
        edit->SetParent(form);
        edit->SetBounds(20, top, width, 24);
        edit->SetFocus();
        Pump();
        return edit;
    }
};

TEST_F(KVXEdits, TypingAndKeyMoves) {
    TKVXEdit* edit = MakeEdit();
    HWND h = edit->Handle();
    Type(h, "hello big world");
    EXPECT_EQ(edit->Text(), "hello big world");
    EXPECT_EQ(edit->CursorPos(), 16);
    PostKey(h, VK_LEFT, false, true);  // Ctrl+Left: before the space that ends "big"
    EXPECT_EQ(edit->CursorPos(), 10);
    PostKey(h, VK_LEFT, true, true);  // Ctrl+Shift+Left: selects " big"
    EXPECT_EQ(edit->GetSelText(), " big");
    PostKey(h, VK_RIGHT, true);  // Shift+Right gives one back
    EXPECT_EQ(edit->GetSelText(), "big");
    Type(h, "X");  // typing replaces the selection
    EXPECT_EQ(edit->Text(), "hello X world");
    PostKey(h, VK_HOME);
    PostKey(h, VK_END, true);
    EXPECT_EQ(edit->SelLength(), 13);
    PostKey(h, VK_BACK);
    EXPECT_EQ(edit->Text(), "");
    // An OnKeyPress that clears the character stops it.
    edit->OnKeyPress.Bind(this, [](void*, TObject*, char& key) {
        if (key == 'q') key = 0;
    });
    Type(h, "aqb");
    EXPECT_EQ(edit->Text(), "ab");
    // An OnKeyDown that clears the key stops the edit's own handling.
    edit->OnKeyDown.Bind(this, [](void*, TObject*, uint16_t& key, fw::TShiftState) {
        if (key == VK_BACK) key = 0;
    });
    PostKey(h, VK_BACK);
    EXPECT_EQ(edit->Text(), "ab");
    PostKey(h, VK_LEFT);
    EXPECT_EQ(edit->CursorPos(), 2);
}

TEST_F(KVXEdits, FocusHidesAndShowsTheSelection) {
    TKVXEdit* edit = MakeEdit();
    TKVXEdit* other = MakeEdit(60);
    edit->SetText("selected words");
    edit->SetSelStart(1);
    edit->SetSelLength(8);
    edit->SetFocus();
    Pump();
    EXPECT_FALSE(edit->SelectionHidden());
    other->SetFocus();
    Pump();
    EXPECT_TRUE(edit->SelectionHidden());
    EXPECT_EQ(edit->SelLength(), 8) << "hidden, not dropped";
    edit->SetFocus();
    Pump();
    EXPECT_FALSE(edit->SelectionHidden());
    // AutoSelect selects everything on entry; without HideSelection the selection stays shown.
    other->SetText("all of it");
    other->SetAutoSelect(true);
    other->SetHideSelection(false);
    other->SetFocus();
    Pump();
    EXPECT_EQ(other->GetSelText(), "all of it");
    edit->SetFocus();
    Pump();
    EXPECT_FALSE(other->SelectionHidden());
}

TEST_F(KVXEdits, SelectionIsPaintedOnlyWhileShown) {
    TKVXEdit* edit = MakeEdit();
    TKVXEdit* other = MakeEdit(60);
    edit->SetText("WWWW wwww");
    edit->SetFocus();
    edit->SetSelStart(1);
    edit->SetSelLength(4);
    edit->PaintText(-1);
    Pump();
    // The top row of the text rectangle is the highlight's outline inside the selection, the edit's
    // colour beyond it.
    const int inside = 1 + TextWidth(edit, "WW"), beyond = 1 + TextWidth(edit, "WWWW ww");
    HWND h = edit->Handle();
    EXPECT_EQ(test::WindowPixel(h, inside, 1), static_cast<fw::TColor>(GetSysColor(COLOR_HIGHLIGHT)));
    EXPECT_EQ(test::WindowPixel(h, beyond, 1), static_cast<fw::TColor>(RGB(255, 255, 255)));
    other->SetFocus();
    Pump();
    EXPECT_EQ(test::WindowPixel(h, inside, 1), static_cast<fw::TColor>(RGB(255, 255, 255)));
}

TEST_F(KVXEdits, ClipboardKeysUseTheSystemClipboard) {
    TKVXEdit* edit = MakeEdit();
    HWND h = edit->Handle();
    Type(h, "copy this");
    PostKey(h, 'A', false, true, 1);  // Ctrl+A (the character Ctrl+A makes is a control code)
    PostKey(h, 'C', false, true, 3);
    EXPECT_EQ(RawClipboardText(), "copy this");
    PostKey(h, VK_HOME);
    PostKey(h, VK_RIGHT, true);
    PostKey(h, VK_RIGHT, true);
    PostKey(h, 'X', false, true, 24);
    EXPECT_EQ(RawClipboardText(), "co");
    EXPECT_EQ(edit->Text(), "py this");
    PostKey(h, VK_END);
    SetRawClipboardText(" pasted\nline");
    PostKey(h, 'V', false, true, 22);
    EXPECT_EQ(edit->Text(), "py this pasted\r\nline");
    // A password edit hands nothing to the clipboard.
    edit->SetPasswordChar('*');
    SetRawClipboardText("before");
    PostKey(h, 'A', false, true, 1);
    PostKey(h, 'C', false, true, 3);
    PostKey(h, 'X', false, true, 24);
    EXPECT_EQ(RawClipboardText(), "before");
    EXPECT_EQ(edit->Text(), "py this pasted\r\nline");
    // The window messages do the same as the keys.
    edit->SetPasswordChar(0);
    edit->SelectAll();
    SendMessageA(h, WM_COPY, 0, 0);
    EXPECT_EQ(RawClipboardText(), "py this pasted\r\nline");
}

// The menu the system shows: MN_GETHMENU on the popup window, read while it is open, then closed.
std::vector<bool> g_menuEnabled;
std::vector<std::string> g_menuCaptions;
void CALLBACK ReadOpenMenu(HWND, UINT, UINT_PTR id, DWORD) {
    FW_CALLBACK_VOID({
        KillTimer(nullptr, id);
        HWND popup = FindWindowA("#32768", nullptr);
        HMENU menu = popup ? reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0)) : nullptr;
        for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
            char caption[64] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), caption, sizeof caption, MF_BYPOSITION);
            g_menuCaptions.push_back(caption);
            g_menuEnabled.push_back(!(GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & (MF_GRAYED | MF_DISABLED)));
        }
        EndMenu();
    })
}

// Chooses "&Cut" of the open menu by its accelerator, as a user would.
void CALLBACK ChooseCut(HWND, UINT, UINT_PTR id, DWORD) {
    FW_CALLBACK_VOID({
        KillTimer(nullptr, id);
        if (HWND popup = FindWindowA("#32768", nullptr)) {
            PostMessageA(popup, WM_KEYDOWN, 'C', 1);
            PostMessageA(popup, WM_CHAR, 'c', 1);
            PostMessageA(popup, WM_KEYUP, 'C', 0xC0000001);
        }
    })
}

TEST_F(KVXEdits, ContextMenuItemsFollowTheState) {
    TKVXEdit* edit = MakeEdit();
    const struct {
        const char* name;
        std::string text;
        int32_t selStart, selLength;
        bool readOnly, modified, clipboard;
        std::vector<bool> want;  // Undo, Cut, Copy, Insert, Delete, Select all
    } cases[] = {
        {"empty", "", 1, 0, false, false, false, {false, false, false, false, false, false}},
        {"text, no selection", "abc", 1, 0, false, true, true, {true, false, false, true, false, true}},
        {"selection", "abc", 1, 2, false, false, true, {false, true, true, true, true, true}},
        {"read-only selection", "abc", 1, 2, true, false, true, {false, false, true, false, true, true}},
    };
    for (const auto& c : cases) {
        edit->SetText(c.text);
        edit->SetSelStart(c.selStart);
        edit->SetSelLength(c.selLength);
        edit->SetReadOnly(c.readOnly);
        edit->SetModified(c.modified);
        if (c.clipboard)
            SetRawClipboardText("clip");
        else
            EmptyRawClipboard();
        fw::TPopupMenu* menu = edit->MakeEditMenu();
        std::vector<bool> enabled;
        for (int i : {0, 2, 3, 4, 5, 7}) enabled.push_back(menu->Items()->Items(i)->Enabled());
        menu->Free();
        EXPECT_EQ(enabled, c.want) << c.name;
    }
    // The real menu on a right click: seven items and two separators' worth of captions.
    edit->SetReadOnly(false);
    edit->SetText("abc");
    edit->SelectAll();
    g_menuEnabled.clear();
    g_menuCaptions.clear();
    SetTimer(nullptr, 0, 300, ReadOpenMenu);
    PostMessageA(edit->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    test::PumpFor(800);
    EXPECT_EQ(g_menuCaptions, (std::vector<std::string>{"&Undo", "", "&Cut", "&Copy", "&Insert", "&Delete", "",
                                                         "Select all"}));
    ASSERT_EQ(g_menuEnabled.size(), 8u);
    EXPECT_TRUE(g_menuEnabled[2]);  // Cut
    EXPECT_TRUE(g_menuEnabled[7]);  // Select all
    EXPECT_EQ(edit->Text(), "abc");
    // A chosen item runs its command.
    SetRawClipboardText("");
    SetTimer(nullptr, 0, 300, ChooseCut);
    PostMessageA(edit->Handle(), WM_RBUTTONUP, 0, MAKELPARAM(10, 10));
    test::PumpFor(800);
    EXPECT_EQ(edit->Text(), "");
    EXPECT_EQ(RawClipboardText(), "abc");
}

TEST_F(KVXEdits, CaretFollowsTheScroll) {
    TKVXEdit* edit = MakeEdit(60, 80);
    HWND h = edit->Handle();
    // The caret of an unscrolled edit stands at the left of the text rectangle: one pixel inside.
    POINT p{};
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.x, 1);
    Type(h, "a rather long line that cannot fit");
    EXPECT_GT(edit->ScrollOffset(), 0);
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_LE(p.x, edit->ClientWidth());
    EXPECT_GT(p.x, edit->ClientWidth() / 2);
    // Where the caret stands is the width of the text before it, less the scroll.
    HDC dc = GetDC(h);
    HGDIOBJ old = SelectObject(dc, edit->Font()->Handle());
    SIZE size{};
    const std::string shown = edit->Text();
    GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    SelectObject(dc, old);
    ReleaseDC(h, dc);
    EXPECT_EQ(p.x, size.cx - edit->ScrollOffset() + 1);
    PostKey(h, VK_HOME);
    EXPECT_EQ(edit->ScrollOffset(), 0);
    ASSERT_TRUE(GetCaretPos(&p));
    EXPECT_EQ(p.x, 1);
    // A click right of the last character puts the cursor at the end.
    PostKey(h, VK_END);
    PostMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(edit->ClientWidth() - 1, 5));
    PostMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(edit->ClientWidth() - 1, 5));
    Pump();
    EXPECT_EQ(edit->CursorPos(), static_cast<int32_t>(shown.size()) + 1);
}

TEST_F(KVXEdits, OemConversionMatchesTheSystemCodePages) {
    ASSERT_EQ(GetACP(), 1252u);
    ASSERT_EQ(GetOEMCP(), 437u);
    TKVXEdit* edit = MakeEdit();
    edit->SetOEMConvert(true);
    std::string typed;
    for (int c = 0x80; c <= 0xFF; ++c) typed += static_cast<char>(c);
    Type(edit->Handle(), typed);
    const std::string stored = edit->Text();
    ASSERT_EQ(stored.size(), typed.size());
    int held = 0, replaced = 0;
    for (size_t i = 0; i < typed.size(); ++i) {
        const auto byte = static_cast<unsigned char>(typed[i]);
        // The system's own round trip is the reference for every byte; what cp437 holds comes back
        // unchanged (for the rest the system picks a nearest character, which may be the same).
        char oem[2] = {typed[i], 0}, back[2] = {};
        CharToOemA(oem, oem);
        OemToCharA(oem, back);
        EXPECT_EQ(stored[i], back[0]) << "byte " << int(byte);
        if (kOemHolds[byte - 0x80] == 1) {
            ++held;
            EXPECT_EQ(stored[i], typed[i]) << "cp437 holds byte " << int(byte);
        }
        if (stored[i] != typed[i]) ++replaced;
    }
    EXPECT_EQ(held, 54);
    EXPECT_GT(replaced, 20);
    EXPECT_EQ(stored[0xA9 - 0x80], 'c');  // the copyright sign
    EXPECT_EQ(stored[0x80 - 0x80], '?');  // the euro sign
}

// The blink time as the caret sets it: saved at creation, its own rate only while shown.
std::vector<unsigned> g_blinkSets;
unsigned FakeGetBlink() { return 530; }
void FakeSetBlink(unsigned ms) { g_blinkSets.push_back(ms); }

TEST_F(KVXEdits, BlinkTimeOnlyWhileTheCaretShows) {
    KVXSetBlinkTimeApi({FakeGetBlink, FakeSetBlink});
    g_blinkSets.clear();
    TKVXEdit* edit = MakeEdit();
    auto* other = MakeEdit(60);
    edit->Caret()->SetBlinkRate(200);
    edit->SetFocus();
    Pump();
    ASSERT_FALSE(g_blinkSets.empty());
    EXPECT_EQ(g_blinkSets.back(), 200u);
    other->SetFocus();
    Pump();
    EXPECT_EQ(g_blinkSets.back(), 530u);
    // Repainting the edit without the focus leaves the desktop's blink time alone.
    const size_t before = g_blinkSets.size();
    edit->SetText("repaint me");
    edit->Repaint();
    Pump();
    for (size_t i = before; i < g_blinkSets.size(); ++i) EXPECT_EQ(g_blinkSets[i], 530u);
    EXPECT_FALSE(edit->Caret()->Shown());
    edit->Free();
    EXPECT_EQ(g_blinkSets.back(), 530u);
    KVXSetBlinkTimeApi({});
}

TEST_F(KVXEdits, CaretShapesAndAssign) {
    TKVXEdit* edit = MakeEdit();
    TKVXCaret* caret = edit->Caret();
    caret->SetStyle(TKVXCaretStyles::csUnder);
    caret->SetWidth(7);
    caret->SetCaretBmpMode(TKVXCaretBitmap::cbTile);
    TKVXCaret other(nullptr);
    other.Assign(caret);
    EXPECT_EQ(other.Style(), TKVXCaretStyles::csUnder);
    EXPECT_EQ(other.Width(), 7);
    EXPECT_EQ(other.CaretBmpMode(), TKVXCaretBitmap::cbBmpSize);
    // An underline caret stands at the text top plus the line height less 3.
    auto* second = MakeEdit(60);
    second->Caret()->Assign(caret);
    edit->SetFocus();
    Pump();
    second->SetFocus();
    Pump();
    POINT p{};
    ASSERT_TRUE(GetCaretPos(&p));
    HDC dc = GetDC(nullptr);
    HGDIOBJ old = SelectObject(dc, second->Font()->Handle());
    SIZE size{};
    GetTextExtentPoint32A(dc, "Qp", 2, &size);
    SelectObject(dc, old);
    ReleaseDC(nullptr, dc);
    EXPECT_EQ(p.y, 1 + size.cy - 3);
    // A tiled bitmap caret can be made, and made again.
    caret->SetStyle(TKVXCaretStyles::csBitmap);
    test::PaintPicture(caret->Bitmap(), 2, 2, test::Checker(1, fw::clBlack, fw::clWhite));
    edit->SetFocus();
    Pump();
    caret->CreateSysCaret();
    EXPECT_TRUE(GetCaretPos(&p));
}

TEST_F(KVXEdits, AutoSizeHeightsFollowTheBevel) {
    TKVXEdit* edit = MakeEdit();
    int qp = 0;
    TextWidth(edit, "Qp", &qp);
    edit->SetAutoSize(true);
    EXPECT_EQ(edit->Height(), qp * 5 / 4 + 5);
    TKVXBevel custom;
    custom.SetMode(TKVXBevelMode::bmCustom);
    custom.SetStyleOuter(TKVXBevelStyle::bvRaised);
    custom.SetWidthOuter(3);
    custom.SetBorderWidth(2);
    edit->SetBevel(&custom);
    ASSERT_EQ(edit->Bevel()->Extent(), 5);
    EXPECT_EQ(edit->Height(), qp * 5 / 4 + 10);
    // A shadowed 3D font adds its shadow to the line height.
    TKVX3DCaption shadowed;
    shadowed.SetStyle(TKVXThreeDStyle::tdRaisedShadow);
    shadowed.SetDepth(1, 4);
    edit->SetFont3D(&shadowed);
    EXPECT_EQ(edit->Height(), (qp + 4) * 5 / 4 + 10);
}

TEST_F(KVXEdits, PasswordCharShowsAndMeasuresTheMask) {
    TKVXEdit* edit = MakeEdit();
    HWND h = edit->Handle();
    edit->SetText("abc");
    edit->SetPasswordChar('*');
    EXPECT_EQ(edit->DisplayText(), "abc") << "the mask shows from the next text change";
    Type(h, "d");
    EXPECT_EQ(edit->DisplayText(), "****");
    EXPECT_EQ(edit->Text(), "dabc") << "setting the text puts the cursor at 1";
    // Clicks are measured on the mask, not on the hidden (much wider) letters.
    edit->SetText("WWWW");
    ASSERT_LT(TextWidth(edit, "**") + 2, TextWidth(edit, "WW"));
    Mouse(h, WM_LBUTTONDOWN, MK_LBUTTON, 1 + TextWidth(edit, "**") + 1);
    Mouse(h, WM_LBUTTONUP, 0, 1 + TextWidth(edit, "**") + 1);
    EXPECT_EQ(edit->CursorPos(), 3);
}

TEST_F(KVXEdits, MouseSelectsWordsAndDragsText) {
    TKVXEdit* edit = MakeEdit(20, 300);
    HWND h = edit->Handle();
    edit->SetText("one two three");
    // The x just left of the right edge of the first N characters lies on character N.
    auto on = [&](int n) { return 1 + TextWidth(edit, edit->Text().substr(0, static_cast<size_t>(n))) - 1; };
    Mouse(h, WM_LBUTTONDOWN, MK_LBUTTON, on(10));
    Mouse(h, WM_LBUTTONUP, 0, on(10));
    Mouse(h, WM_LBUTTONDBLCLK, MK_LBUTTON, on(10));
    Mouse(h, WM_LBUTTONUP, 0, on(10));
    EXPECT_EQ(edit->GetSelText(), "three");
    // Select "two " and drag it to the end: the cursor shows the drag while it lasts.
    edit->SetSelStart(5);
    edit->SetSelLength(4);
    Mouse(h, WM_LBUTTONDOWN, MK_LBUTTON, on(6));
    EXPECT_TRUE(edit->Model().DragMoving());
    EXPECT_EQ(fw::Screen->Cursor(), fw::crDrag);
    Mouse(h, WM_MOUSEMOVE, MK_LBUTTON, 290);
    EXPECT_EQ(edit->GetSelText(), "two ") << "moves do not stretch a dragged selection";
    Mouse(h, WM_LBUTTONUP, 0, 290);
    EXPECT_EQ(edit->Text(), "one threetwo ");
    EXPECT_EQ(edit->CursorPos(), 10);
    EXPECT_NE(fw::Screen->Cursor(), fw::crDrag);
    // A plain press and a move with the button held select.
    Mouse(h, WM_LBUTTONDOWN, MK_LBUTTON, on(1));
    Mouse(h, WM_MOUSEMOVE, MK_LBUTTON, on(3));
    Mouse(h, WM_LBUTTONUP, 0, on(3));
    EXPECT_EQ(edit->GetSelText(), "on");
}

}  // namespace
}  // namespace kvx::win32
