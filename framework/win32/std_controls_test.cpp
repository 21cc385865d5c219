// The standard controls of this unit against the Win32 state under Wine: edits (a multi-line
// descendant, re-creation keeping text and selection), buttons (Default, Cancel, ModalResult, the
// default frame following the focus, owner-drawn descendants), check and radio buttons, labels.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "framework/win32/keyboard.h"
#include "framework/win32/std_bitbtn.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_combobox.h"
#include "framework/win32/std_edit.h"
#include "framework/win32/std_label.h"
#include "framework/win32/std_test_support.h"

namespace fw {
namespace {

using stdtest::StdControlsTest;

// A memo-like descendant: a multi-line window with a formatting rectangle of its own.
class TMultiEdit : public TCustomEdit {
public:
    explicit TMultiEdit(TComponent* owner) : TCustomEdit(owner) { TWinControl::SetAutoSize(false); }
    using TCustomEdit::SetEditRect;

protected:
    void CreateParams(TCreateParams& params) override {
        TCustomEdit::CreateParams(params);
        params.Style |= ES_MULTILINE | ES_WANTRETURN;
        params.Style &= ~static_cast<DWORD>(ES_AUTOHSCROLL);
    }
};

// Records the default frame changes and draws itself.
class TLoggingButton : public TButton {
public:
    explicit TLoggingButton(TComponent* owner) : TButton(owner) {}
    std::vector<bool> styles;
    bool ownerDraw = false;
    int draws = 0;

protected:
    void CreateParams(TCreateParams& params) override {
        TButton::CreateParams(params);
        if (ownerDraw) params.Style = (params.Style & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW;
    }
    void SetButtonStyle(bool isDefault) override {
        styles.push_back(isDefault);
        TButton::SetButtonStyle(isDefault);
    }
    void DrawItem(const DRAWITEMSTRUCT& item) override {
        ++draws;
        FillRect(item.hDC, &item.rcItem, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    }
};

struct Clicks {
    std::vector<std::string> log;
    void Click(TObject* sender) { log.push_back(static_cast<TComponent*>(sender)->Name()); }
};

TEST_F(StdControlsTest, EditKeepsTextSelectionAndModifiedThroughRecreation) {
    TForm* form = NewForm();
    auto* edit = Add<TEdit>(form, 10, 10, 150, 21, "edtName");
    form->Show();
    EXPECT_EQ(edit->Text(), "");  // the name never becomes the text
    edit->SetText("hello world");
    edit->SetMaxLength(20);
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 20);
    edit->SetSelStart(6);
    edit->SetSelLength(5);
    EXPECT_EQ(edit->SelText(), "world");
    edit->SetModified(true);
    HWND before = edit->Handle();
    edit->SetHideSelection(false);  // re-creates the window
    EXPECT_NE(before, edit->Handle());
    EXPECT_TRUE(GetWindowLongPtrA(edit->Handle(), GWL_STYLE) & ES_NOHIDESEL);
    EXPECT_EQ(edit->Text(), "hello world");
    EXPECT_EQ(edit->SelStart(), 6);
    EXPECT_EQ(edit->SelLength(), 5);
    EXPECT_TRUE(edit->Modified());
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETLIMITTEXT, 0, 0), 20);

    edit->SetPasswordChar('*');
    EXPECT_EQ(SendMessageA(edit->Handle(), EM_GETPASSWORDCHAR, 0, 0), '*');
    EXPECT_EQ(edit->Text(), "hello world");
    edit->SetReadOnly(true);
    EXPECT_TRUE(GetWindowLongPtrA(edit->Handle(), GWL_STYLE) & ES_READONLY);
    edit->SetCharCase(TEditCharCase::ecUpperCase);
    EXPECT_TRUE(GetWindowLongPtrA(edit->Handle(), GWL_STYLE) & ES_UPPERCASE);
    EXPECT_EQ(edit->Text(), "HELLO WORLD");
    form->Release();
}

TEST_F(StdControlsTest, EditChangeFiresForUserAndCodeButNotForCreation) {
    TForm* form = NewForm();
    auto* edit = Add<TEdit>(form, 10, 10, 150, 21, "edtName");
    int changes = 0;
    struct Counter {
        int* n;
        void Changed(TObject*) { ++*n; }
    } counter{&changes};
    edit->OnChange = TNotifyEvent(&counter, &Counter::Changed);
    edit->SetText("before the window");
    form->Show();
    EXPECT_EQ(changes, 0);
    edit->SetText("by code");
    EXPECT_EQ(changes, 1);
    edit->SetFocus();
    SendMessageA(edit->Handle(), WM_CHAR, 'x', 1);
    EXPECT_EQ(changes, 2);
    form->Release();
}

TEST_F(StdControlsTest, DescendantMakesAMultiLineEditWithItsOwnRectangle) {
    TForm* form = NewForm();
    auto* memo = Add<TMultiEdit>(form, 10, 10, 200, 100, "memo");
    form->Show();
    EXPECT_TRUE(GetWindowLongPtrA(memo->Handle(), GWL_STYLE) & ES_MULTILINE);
    EXPECT_EQ(memo->Height(), 100);  // not auto-sized
    memo->SetText("one\r\ntwo\r\nthree");
    EXPECT_EQ(SendMessageA(memo->Handle(), EM_GETLINECOUNT, 0, 0), 3);
    // The system may add its own margins: compare two rectangles.
    memo->SetEditRect(Rect(0, 0, 150, 80));
    RECT base{};
    SendMessageA(memo->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&base));
    memo->SetEditRect(Rect(8, 6, 150, 80));
    RECT r{};
    SendMessageA(memo->Handle(), EM_GETRECT, 0, reinterpret_cast<LPARAM>(&r));
    EXPECT_EQ(r.left - base.left, 8);
    EXPECT_EQ(r.top - base.top, 6);
    // The multi-line window wants every key (Enter stays in it).
    EXPECT_TRUE(SendMessageA(memo->Handle(), WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS);
    memo->RecreateWnd();
    EXPECT_EQ(SendMessageA(memo->Handle(), EM_GETLINECOUNT, 0, 0), 3);
    form->Release();
}

TEST_F(StdControlsTest, ButtonsFollowTheFocusAndAnswerDialogKeys) {
    TForm* form = NewForm();
    Clicks clicks;
    auto* edit = Add<TEdit>(form, 10, 10, 150, 21, "edtName");
    auto* ok = Add<TLoggingButton>(form, 10, 50, 75, 25, "btnOk");
    auto* cancel = Add<TLoggingButton>(form, 100, 50, 75, 25, "btnCancel");
    ok->SetCaption("&OK");
    cancel->SetCaption("Cancel");
    ok->SetDefault(true);
    ok->SetModalResult(mrOk);
    cancel->SetCancel(true);
    cancel->SetModalResult(mrCancel);
    ok->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
    cancel->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
    form->Show();
    EXPECT_EQ(GetWindowLongPtrA(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongPtrA(cancel->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);

    // Focus on the cancel button: it takes the default frame from the OK button.
    cancel->SetFocus();
    Pump();
    EXPECT_TRUE(cancel->Active());
    EXPECT_FALSE(ok->Active());
    EXPECT_EQ(GetWindowLongPtrA(ok->Handle(), GWL_STYLE) & BS_TYPEMASK, BS_PUSHBUTTON);
    ASSERT_FALSE(ok->styles.empty());
    EXPECT_FALSE(ok->styles.back());
    // Back on the edit: the Default button is active again.
    edit->SetFocus();
    Pump();
    EXPECT_TRUE(ok->Active());
    EXPECT_TRUE(ok->styles.back());
    EXPECT_FALSE(cancel->Active());

    // Enter and Escape forwarded to the form, as a control that does not take them does.
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 1);
    EXPECT_EQ(form->ModalResult(), mrOk);
    form->SetModalResult(mrNone);
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_ESCAPE, 0), 1);
    EXPECT_EQ(form->ModalResult(), mrCancel);
    // The accelerator of a caption clicks the button.
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'o', 0), 1);
    EXPECT_EQ(clicks.log, (std::vector<std::string>{"btnOk", "btnCancel", "btnOk"}));
    // A disabled default button answers nothing.
    ok->SetEnabled(false);
    EXPECT_EQ(form->Perform(CM_DIALOGKEY, VK_RETURN, 0), 0);
    form->Release();
}

TEST_F(StdControlsTest, OwnerDrawnButtonDrawsThroughReflectedDrawItem) {
    TForm* form = NewForm();
    auto* button = Make<TLoggingButton>(form);
    button->ownerDraw = true;
    button->SetParent(form);
    button->SetBounds(10, 10, 60, 24);
    form->Show();
    UpdateWindow(form->Handle());
    RedrawWindow(button->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_GT(button->draws, 0);
    form->Release();
}

// The columns and rows a button's dark pixels take, as it shows on the screen.
struct Ink {
    int left = 1 << 20, right = -1, rows = 0;
};
Ink InkOf(HWND window) {
    Ink ink;
    RECT r{};
    GetClientRect(window, &r);
    HDC dc = GetDC(window);
    // Inside the frame and the focus rectangle.
    for (int y = 6; y < r.bottom - 6; ++y) {
        bool row = false;
        for (int x = 6; x < r.right - 6; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            if (GetRValue(c) + GetGValue(c) + GetBValue(c) >= 200) continue;
            ink.left = std::min(ink.left, x);
            ink.right = std::max(ink.right, x);
            row = true;
        }
        ink.rows += row ? 1 : 0;
    }
    ReleaseDC(window, dc);
    return ink;
}

TEST_F(StdControlsTest, BitBtnUnderlinesItsAcceleratorInsteadOfShowingTheMark) {
    TForm* form = NewForm();
    auto make = [&](const std::string& caption, int top) {
        auto* b = Make<TBitBtn>(form);
        b->SetParent(form);
        b->SetBounds(10, top, 90, 26);
        b->SetCaption(caption);
        return b;
    };
    TBitBtn* marked = make("&Browse", 10);
    TBitBtn* plain = make("Browse", 50);
    form->Show();
    UpdateWindow(form->Handle());
    Pump();
    const Ink a = InkOf(marked->Handle()), b = InkOf(plain->Handle());
    EXPECT_EQ(a.right, b.right) << "the mark takes no room";
    EXPECT_NEAR(a.left, b.left, 2) << "(the underline may start at the letter's cell)";
    EXPECT_GT(a.rows, b.rows) << "the accelerator is underlined";
    int needed = 0, room = 0, plainNeeded = 0;
    ASSERT_TRUE(marked->MeasureCaption(needed, room));
    ASSERT_TRUE(plain->MeasureCaption(plainNeeded, room));
    EXPECT_EQ(needed, plainNeeded);
    form->Release();
}

TEST_F(StdControlsTest, CheckAndRadioButtonsClickOnChangesByCode) {
    TForm* form = NewForm();
    Clicks clicks;
    auto* check = Add<TCheckBox>(form, 10, 10, 100, 17, "chkOne");
    auto* radioA = Add<TRadioButton>(form, 10, 40, 100, 17, "rbA");
    auto* radioB = Add<TRadioButton>(form, 10, 60, 100, 17, "rbB");
    check->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
    radioA->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
    radioB->OnClick = TNotifyEvent(&clicks, &Clicks::Click);
    form->Show();
    check->SetChecked(true);
    EXPECT_EQ(SendMessageA(check->Handle(), BM_GETCHECK, 0, 0), BST_CHECKED);
    // A real click toggles through the window.
    SendMessageA(check->Handle(), BM_CLICK, 0, 0);
    EXPECT_FALSE(check->Checked());
    check->SetAllowGrayed(true);
    check->SetState(TCheckBoxState::cbGrayed);
    check->RecreateWnd();
    EXPECT_EQ(SendMessageA(check->Handle(), BM_GETCHECK, 0, 0), BST_INDETERMINATE);

    radioA->SetChecked(true);
    SendMessageA(radioB->Handle(), BM_CLICK, 0, 0);
    EXPECT_TRUE(radioB->Checked());
    EXPECT_FALSE(radioA->Checked());
    EXPECT_EQ(SendMessageA(radioA->Handle(), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(clicks.log, (std::vector<std::string>{"chkOne", "chkOne", "chkOne", "rbA", "rbB"}));
    form->Release();
}

TEST_F(StdControlsTest, LabelSizesToItsCaptionAndFocusesItsControl) {
    TForm* form = NewForm();
    auto* edit = Add<TEdit>(form, 100, 10, 150, 21, "edtName");
    auto* other = Add<TEdit>(form, 100, 40, 150, 21, "edtOther");
    auto* label = Make<TLabel>(form);
    label->SetParent(form);
    label->SetLeft(10);
    label->SetTop(12);
    label->SetCaption("&Name:");
    label->SetFocusControl(edit);
    form->Show();
    const int shortWidth = label->Width();
    EXPECT_GT(shortWidth, 10);
    label->SetCaption("&Name of the archive:");
    EXPECT_GT(label->Width(), shortWidth);
    other->SetFocus();
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'N', 0), 1);
    EXPECT_TRUE(edit->Focused());
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'x', 0), 0);
    label->SetShowAccelChar(false);
    EXPECT_EQ(form->Perform(CM_DIALOGCHAR, 'N', 0), 0);
    // The focus control going away clears the reference.
    edit->Free();
    EXPECT_EQ(label->FocusControl(), nullptr);
    form->Release();
}

TEST_F(StdControlsTest, ArrowsMoveWithinRadioButtonsAndKeyPreviewSeesKeysFirst) {
    TForm* form = NewForm();
    auto* radioA = Add<TRadioButton>(form, 10, 10, 100, 17, "rbA");
    auto* radioB = Add<TRadioButton>(form, 10, 30, 100, 17, "rbB");
    auto* edit = Add<TEdit>(form, 10, 60, 100, 21, "edtName");
    radioA->SetChecked(true);
    form->Show();
    radioA->SetFocus();
    Press(VK_DOWN);
    EXPECT_TRUE(radioB->Checked());
    EXPECT_FALSE(radioA->Checked());
    EXPECT_TRUE(radioB->Focused());
    Press(VK_UP);
    EXPECT_TRUE(radioA->Checked());

    struct Preview {
        std::vector<uint16_t> downs;
        void KeyDown(TObject*, uint16_t& key, TShiftState) { downs.push_back(key); }
        void KeyPress(TObject*, char& key) {
            if (key == 'x') key = 0;
            if (key == 'a') key = 'b';
        }
    } preview;
    form->SetKeyPreview(true);
    form->OnKeyDown = TKeyEvent(&preview, &Preview::KeyDown);
    form->OnKeyPress = TKeyPressEvent(&preview, &Preview::KeyPress);
    edit->SetFocus();
    Press('X');
    Press('A');
    Press('C');
    EXPECT_EQ(edit->Text(), "bc");
    EXPECT_EQ(preview.downs, (std::vector<uint16_t>{'X', 'A', 'C'}));
    form->Release();
}

TEST(StdKeys, AcceleratorsAndShortCutTexts) {
    EXPECT_TRUE(IsAccel('n', "&Name"));
    EXPECT_TRUE(IsAccel('E', "Fil&e &name"));  // only the first single '&' counts
    EXPECT_FALSE(IsAccel('n', "Fil&e &name"));
    EXPECT_FALSE(IsAccel('b', "A && B"));
    EXPECT_TRUE(IsAccel('b', "A && &B"));
    EXPECT_EQ(StripHotkey("A && &B"), "A & B");
    EXPECT_EQ(ShortCutToText(ShortCut('O', TShiftState{ssCtrl})), "Ctrl+O");
    EXPECT_EQ(ShortCutToText(ShortCut(VK_DELETE, TShiftState{ssShift})), "Shift+Del");
    EXPECT_EQ(TextToShortCut("Ctrl+O"), ShortCut('O', TShiftState{ssCtrl}));
    EXPECT_EQ(TextToShortCut("shift+ctrl+F3"), scShift | scCtrl | VK_F3);
    EXPECT_EQ(TextToShortCut("Hyper+Q"), scNone);
}

// The edit of a drop-down combo box is a window of its own: its keys still reach the combo's OnKeyDown
// and OnKeyPress, and a key a handler takes never reaches the edit.
TEST_F(StdControlsTest, DropDownComboEditKeysPassThroughTheComboEvents) {
    auto* form = NewForm();
    auto* combo = Add<TComboBox>(form, 10, 10, 200, 22, "Combo");
    struct Keys {
        std::vector<int> downs;
        std::string chars;
        void Down(TObject*, uint16_t& key, TShiftState) { downs.push_back(key); }
        void Press(TObject*, char& key) {
            chars += key;
            if (key == '\r' || key == 'x') key = 0;
        }
    } keys;
    combo->OnKeyDown = TKeyEvent(&keys, &Keys::Down);
    combo->OnKeyPress = TKeyPressEvent(&keys, &Keys::Press);
    form->Show();
    combo->SetFocus();
    Pump();
    ASSERT_NE(GetFocus(), combo->Handle()) << "the focus is in the combo's edit";
    Press('A');
    Press('X');
    Press(VK_RETURN);
    EXPECT_EQ(keys.chars, "ax\r");
    EXPECT_NE(std::find(keys.downs.begin(), keys.downs.end(), VK_RETURN), keys.downs.end());
    // "x" was taken by the handler; "a" was typed.
    EXPECT_EQ(combo->Text(), "a");
    form->Release();
}

}  // namespace
}  // namespace fw
