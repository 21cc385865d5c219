// Check boxes, radio buttons and their groups on a real form under Wine: a click, Space and the
// caption's accelerator give the documented OnChange sequence (a radio group reports twice for a click
// on an unfocused button), a read-only radio group reports nothing, ItemIndex is clamped (also when it
// comes from form data), the check group's Value holds 31 boxes, and the checked and unchecked glyph
// cells differ on screen.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/formtext.h"
#include "framework/win32/actions.h"
#include "framework/win32/application.h"
#include "framework/win32/messages.h"
#include "widgets/win32/buttongroups.h"
#include "widgets/win32/testsupport/controlhost.h"

namespace kvx::win32 {
namespace {

using test::Pump;

class KVXCheckButtons : public test::TControlsTest {
protected:
    // A press and release in the control's window, as a mouse click sends them.
    static void ClickAt(fw::TWinControl* c, int x = 6, int y = 6) {
        SendMessageA(c->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
        SendMessageA(c->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(x, y));
        Pump();
    }
    static void Space(fw::TWinControl* c) {
        PostMessageA(c->Handle(), WM_KEYDOWN, VK_SPACE, 1);
        PostMessageA(c->Handle(), WM_KEYUP, VK_SPACE, 0xC0000001);
        fw::Application->ProcessMessages();
    }
    // Alt+letter through the application's loop, which hands it to the accelerators.
    static void Accel(fw::TWinControl* focused, char letter) {
        PostMessageA(focused->Handle(), WM_SYSCHAR, static_cast<unsigned char>(letter), 0x20000001);
        fw::Application->ProcessMessages();
    }
    TKVXCheckBox* MakeCheckBox(const std::string& caption, int y) {
        auto* b = fw::Make<TKVXCheckBox>(form);
        b->SetParent(form);
        b->SetBounds(20, y, 120, 17);
        b->SetCaption(caption);
        b->OnChange.Bind(&log, [](void* l, fw::TObject* s) {
            static_cast<std::vector<std::string>*>(l)->push_back("change " + static_cast<TKVXCheckBox*>(s)->Caption());
        });
        return b;
    }
    template <class G>
    G* MakeGroup(std::initializer_list<const char*> items, int columns = 1) {
        auto* g = fw::Make<G>(form);
        g->SetParent(form);
        g->SetBounds(200, 20, 240, 160);
        g->SetCaption("Group");
        g->SetColumns(columns);
        for (const char* item : items) g->Items()->Add(item);
        g->OnChange.Bind(&log, [](void* l, fw::TObject*, int index) {
            static_cast<std::vector<std::string>*>(l)->push_back("group " + std::to_string(index));
        });
        Pump();
        return g;
    }
    // The sum of the glyph cell's pixels on screen.
    static long long GlyphPixels(fw::TWinControl* c) {
        long long sum = 0;
        for (int y = 0; y < 13; ++y)
            for (int x = 0; x < 13; ++x) sum = sum * 3 + static_cast<long long>(test::WindowPixel(c->Handle(), 1 + x, 2 + y) & 0xFFFFFF) % 1000003;
        return sum;
    }
    std::vector<std::string> log;
};

using Log = std::vector<std::string>;

TEST_F(KVXCheckButtons, CheckBoxClickSpaceAndAccelerator) {
    auto* a = MakeCheckBox("&Archive", 20);
    auto* b = MakeCheckBox("&Hidden", 50);
    a->SetChecked(true);
    a->SetState(fw::TCheckBoxState::cbGrayed);
    a->SetState(fw::TCheckBoxState::cbUnchecked);
    EXPECT_TRUE(log.empty()) << "code never raises OnChange";
    ClickAt(a);
    EXPECT_EQ(a->State(), fw::TCheckBoxState::cbChecked);
    EXPECT_TRUE(a->Focused()) << "the press takes the focus";
    Space(a);
    EXPECT_EQ(a->State(), fw::TCheckBoxState::cbUnchecked);
    Accel(a, 'h');
    EXPECT_TRUE(b->Focused());
    EXPECT_TRUE(b->Checked());
    EXPECT_EQ(log, (Log{"change &Archive", "change &Archive", "change &Hidden"}));
    log.clear();
    b->SetAllowGrayed(true);
    b->SetState(fw::TCheckBoxState::cbUnchecked);
    const fw::TCheckBoxState cycle[] = {fw::TCheckBoxState::cbGrayed, fw::TCheckBoxState::cbChecked,
                                        fw::TCheckBoxState::cbUnchecked};
    for (fw::TCheckBoxState want : cycle) {
        Space(b);
        EXPECT_EQ(b->State(), want);
    }
    EXPECT_EQ(log.size(), 3u);
    log.clear();
    b->SetReadOnly(true);
    Space(b);
    ClickAt(b);
    EXPECT_TRUE(log.empty()) << "a read-only box does not change";
    EXPECT_EQ(b->State(), fw::TCheckBoxState::cbUnchecked);
}

TEST_F(KVXCheckButtons, DoubleClickIsTwoClicksAndActionsSetTheState) {
    auto* a = MakeCheckBox("Twice", 20);
    HWND h = a->Handle();
    SendMessageA(h, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(6, 6));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
    SendMessageA(h, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(6, 6));
    SendMessageA(h, WM_LBUTTONUP, 0, MAKELPARAM(6, 6));
    Pump();
    EXPECT_EQ(log, (Log{"change Twice", "change Twice"}));
    EXPECT_FALSE(a->Checked());
    log.clear();
    auto* action = fw::Make<fw::TAction>(form);
    action->SetCaption("Linked");
    action->SetChecked(true);
    a->SetAction(action);
    EXPECT_TRUE(a->Checked());
    EXPECT_EQ(a->Caption(), "Linked");
    action->SetChecked(false);
    EXPECT_FALSE(a->Checked());
    EXPECT_TRUE(log.empty()) << "an action's state is not the user's change";
    a->SetAction(nullptr);
}

TEST_F(KVXCheckButtons, AutoSizeFitsGlyphAndCaption) {
    auto* a = MakeCheckBox("A longer caption", 20);
    auto* b = MakeCheckBox("Short", 50);
    a->SetAutoSize(true);
    b->SetAutoSize(true);
    EXPECT_GT(a->Width(), b->Width());
    EXPECT_GT(b->Width(), 13 + 4) << "glyph, spacing and text";
    EXPECT_LT(b->Width(), 105);
    EXPECT_GE(b->Height(), 13);
    const int narrow = b->Width();
    b->SetCaption("Short, now longer");
    b->Perform(fw::CM_FONTCHANGED);
    EXPECT_GT(b->Width(), narrow);
}

// The caption check (framework/win32/caption_check.h) asks the button and its group for the room
// their captions take: an auto-sized button has exactly that room.
TEST_F(KVXCheckButtons, CaptionsMeasureTheRoomAutoSizeGives) {
    auto* box = MakeCheckBox("Keep the folder names", 20);
    box->SetAutoSize(true);
    int needed = 0, room = 0;
    ASSERT_TRUE(box->MeasureCaption(needed, room));
    EXPECT_EQ(needed, box->Width());
    EXPECT_EQ(room, box->Width());
    box->SetAutoSize(false);
    box->SetWidth(box->Width() - 10);
    ASSERT_TRUE(box->MeasureCaption(needed, room));
    EXPECT_EQ(needed, room + 10) << "cut off";
    box->SetCaption("");
    EXPECT_FALSE(box->MeasureCaption(needed, room));

    auto* group = MakeGroup<TKVXRadioGroup>({"Store", "Maximum compression"});
    ASSERT_TRUE(group->MeasureCaption(needed, room));
    EXPECT_LE(needed, room);
    group->SetCaption("Compression method used for every entry");
    group->SetWidth(120);
    Pump();
    ASSERT_TRUE(group->MeasureCaption(needed, room));
    EXPECT_GT(needed, room) << "the caption runs past its strip on the frame";
    ASSERT_TRUE(group->Buttons(1)->MeasureCaption(needed, room));
    EXPECT_GT(needed, room) << "\"Maximum compression\" in a column of a narrow group";
}

TEST_F(KVXCheckButtons, CheckedAndUncheckedCellsDifferOnScreen) {
    auto* off = MakeCheckBox("Off", 20);
    auto* on = MakeCheckBox("On", 50);
    on->SetChecked(true);
    auto* dim = MakeCheckBox("Dim", 80);
    dim->SetChecked(true);
    dim->SetEnabled(false);
    auto* radioOff = fw::Make<TKVXRadioButton>(form);
    radioOff->SetParent(form);
    radioOff->SetBounds(20, 110, 120, 17);
    auto* radioOn = fw::Make<TKVXRadioButton>(form);
    radioOn->SetParent(form);
    radioOn->SetBounds(20, 140, 120, 17);
    radioOn->SetChecked(true);
    for (fw::TWinControl* c : std::initializer_list<fw::TWinControl*>{off, on, dim, radioOff, radioOn})
        RedrawWindow(c->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(off->PaintedCell(), 0);
    EXPECT_EQ(on->PaintedCell(), 2);
    EXPECT_EQ(dim->PaintedCell(), 3);
    EXPECT_EQ(radioOff->PaintedCell(), 0);
    EXPECT_EQ(radioOn->PaintedCell(), 2);
    EXPECT_NE(GlyphPixels(off), GlyphPixels(on));
    EXPECT_NE(GlyphPixels(on), GlyphPixels(dim));
    EXPECT_NE(GlyphPixels(radioOff), GlyphPixels(radioOn));
    // The radio strip's corners (in the transparent colour) are see-through: the button's background
    // shows there.
    EXPECT_EQ(test::WindowPixel(radioOff->Handle(), 1, 2), test::WindowPixel(radioOff->Handle(), 110, 2));
    EXPECT_EQ(off->GlyphStrip()->Width(), 6 * 13);
    EXPECT_EQ(radioOff->GlyphStrip()->Width(), 4 * 13);
    // Through an off-screen bitmap the box looks the same.
    auto* buffered = MakeCheckBox("On", 170);
    buffered->SetChecked(true);
    buffered->SetUseBitmap(true);
    RedrawWindow(buffered->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(GlyphPixels(buffered), GlyphPixels(on));
}

TEST_F(KVXCheckButtons, GlyphsFromAnImageList) {
    // Six 10 x 10 cells side by side, each a plain colour, as one picture of the list.
    const fw::TColor colors[6] = {fw::clRed, fw::clMaroon, fw::clLime, fw::clGreen, fw::clBlue, fw::clNavy};
    auto* list = test::MakeImageList(form, 60, 10, {[&](int x, int) { return colors[x / 10]; }});
    auto* a = MakeCheckBox("Pictured", 20);
    a->SetImageList(list);
    a->SetChecked(true);
    RedrawWindow(a->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Pump();
    EXPECT_EQ(a->CellWidth(), 10);
    EXPECT_EQ(a->PaintedCell(), 2);
    const TRect glyph = fw::Rect(1, (17 - 10) / 2, 11, (17 - 10) / 2 + 10);
    EXPECT_EQ(test::WindowPixel(a->Handle(), glyph.Left + 5, glyph.Top + 5) & 0xFFFFFF, fw::ColorToRGB(fw::clLime) & 0xFFFFFF);
    a->SetImageList(nullptr);
    EXPECT_EQ(a->CellWidth(), 13) << "back to the built-in glyphs";
}

TEST_F(KVXCheckButtons, RadioGroupReportsTwiceForAClickOnAnUnfocusedButton) {
    auto* g = MakeGroup<TKVXRadioGroup>({"&Zip", "&Cab", "&Lha"});
    ASSERT_EQ(g->ButtonCount(), 3);
    auto* zip = static_cast<fw::TWinControl*>(g->Buttons(0));
    auto* cab = static_cast<fw::TWinControl*>(g->Buttons(1));
    ClickAt(cab);
    EXPECT_EQ(g->ItemIndex(), 1);
    EXPECT_EQ(log, (Log{"group 1", "group 1"})) << "as the focus enters, and at the release";
    log.clear();
    ClickAt(cab);
    EXPECT_EQ(log, (Log{"group 1"})) << "a focused, checked button reports on every click";
    log.clear();
    int groupKeys = 0;
    g->OnKeyDown.Bind(&groupKeys, [](void* n, fw::TObject*, uint16_t&, fw::TShiftState) { ++*static_cast<int*>(n); });
    Space(cab);
    EXPECT_TRUE(log.empty()) << "Space does not move a radio group";
    EXPECT_EQ(groupKeys, 1) << "the button's keys reach the group";
    Accel(cab, 'l');
    EXPECT_EQ(g->ItemIndex(), 2);
    EXPECT_TRUE(g->Buttons(2)->GetChecked());
    EXPECT_FALSE(g->Buttons(1)->GetChecked());
    EXPECT_EQ(log, (Log{"group 2"}));
    log.clear();
    g->SetItemIndex(0);
    EXPECT_TRUE(g->Buttons(0)->GetChecked());
    EXPECT_EQ(log, (Log{"group 0"})) << "the newly checked button reports";
    log.clear();
    g->SetItemIndex(7);
    EXPECT_EQ(g->ItemIndex(), 2);
    g->SetItemIndex(-5);
    EXPECT_EQ(g->ItemIndex(), -1);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(g->Buttons(i)->GetChecked()) << i;
    log.clear();
    g->SetReadOnly(true);
    ClickAt(zip);
    Space(zip);
    EXPECT_EQ(groupKeys, 1) << "a read-only group drops Space";
    EXPECT_EQ(g->ItemIndex(), -1) << "a read-only group keeps its choice";
    EXPECT_FALSE(g->Buttons(0)->GetChecked());
    EXPECT_TRUE(log.empty()) << "and reports nothing";
    g->Items()->Delete(2);
    g->Items()->Delete(1);
    EXPECT_EQ(g->ButtonCount(), 1);
    g->SetHelpContext(300);
    g->SetHelpContextBtn(TKVXChildHelpContextID::ciAutoNumbered);
    EXPECT_EQ(g->Buttons(0)->HelpContext(), 301);
}

TEST_F(KVXCheckButtons, CheckGroupValueAndItsBits) {
    auto* g = MakeGroup<TKVXCheckGroup>({"&Read-only", "&Hidden", "&System"}, 2);
    auto box = [&](int i) { return static_cast<TKVXCheckBox*>(g->Buttons(i)); };
    // Three items in two columns: two rows, the third item at the top of the second column.
    EXPECT_EQ(box(0)->Left(), box(1)->Left());
    EXPECT_LT(box(0)->Top(), box(1)->Top());
    EXPECT_EQ(box(2)->Top(), box(0)->Top());
    EXPECT_GT(box(2)->Left(), box(0)->Left());
    ClickAt(box(0));
    ClickAt(box(2));
    EXPECT_EQ(g->Value(), 5);
    box(1)->SetFocus();
    Space(box(1));
    EXPECT_EQ(g->Value(), 7);
    Accel(box(1), 'r');
    EXPECT_EQ(g->Value(), 6);
    EXPECT_EQ(log, (Log{"group 0", "group 2", "group 1", "group 0"}));
    g->SetValue(-1);
    for (int i = 0; i < 3; ++i) EXPECT_FALSE(box(i)->Checked()) << "a negative value checks nothing";
    g->SetValue(2);
    EXPECT_TRUE(box(1)->Checked());
    EXPECT_FALSE(box(0)->Checked());

    g->Items()->Clear();
    for (int i = 0; i < 40; ++i) g->Items()->Add("Box " + std::to_string(i));
    g->SetColumns(20);
    EXPECT_EQ(g->Columns(), 12);
    g->SetValue(0x7FFFFFFF);
    EXPECT_TRUE(box(30)->Checked());
    EXPECT_FALSE(box(31)->Checked()) << "only 31 boxes fit in Value";
    log.clear();
    ClickAt(box(35));
    EXPECT_EQ(g->Value(), 0x7FFFFFFF) << "a box beyond the 31st is not counted";
    ClickAt(box(3));
    EXPECT_EQ(g->Value(), 0x7FFFFFF7);
    EXPECT_EQ(log, (Log{"group 35", "group 3"}));
}

TEST_F(KVXCheckButtons, ItemIndexFromFormDataBeyondTheItemsIsClamped) {
    auto* root = fw::TForm::CreateNew(nullptr);
    fw::ReadComponentText(root,
                          "object LoadHost: TForm\n"
                          "  object grpFormat: TKVXRadioGroup\n"
                          "    Left = 8\n"
                          "    Top = 8\n"
                          "    Width = 200\n"
                          "    Height = 100\n"
                          "    ItemIndex = 7\n"
                          "    Items = ('One' 'Two' 'Three')\n"
                          "  end\n"
                          "  object grpAttr: TKVXCheckGroup\n"
                          "    Left = 8\n"
                          "    Top = 120\n"
                          "    Width = 200\n"
                          "    Height = 100\n"
                          "    Value = 5\n"
                          "    Items = ('A' 'B' 'C')\n"
                          "  end\n"
                          "end\n",
                          "LoadHost");
    auto* radio = dynamic_cast<TKVXRadioGroup*>(root->FindComponent("grpFormat"));
    ASSERT_NE(radio, nullptr);
    EXPECT_EQ(radio->ItemIndex(), 2);
    ASSERT_EQ(radio->ButtonCount(), 3);
    EXPECT_TRUE(radio->Buttons(2)->GetChecked());
    auto* check = dynamic_cast<TKVXCheckGroup*>(root->FindComponent("grpAttr"));
    ASSERT_NE(check, nullptr);
    EXPECT_TRUE(check->Buttons(0)->GetChecked());
    EXPECT_FALSE(check->Buttons(1)->GetChecked());
    EXPECT_TRUE(check->Buttons(2)->GetChecked());
    const std::string text = fw::WriteComponentText(root);
    EXPECT_EQ(text.find("object TKVX"), std::string::npos) << "the buttons are not streamed";
    EXPECT_EQ(text.find(": TKVXRadioGroupButton"), std::string::npos);
    root->Free();
}

}  // namespace
}  // namespace kvx::win32
