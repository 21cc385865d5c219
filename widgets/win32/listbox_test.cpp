#include <gtest/gtest.h>

#include "framework/core/formtext.h"
#include "framework/win32/winapi.h"
#include "testing/test_env.h"
#include "widgets/win32/kvxlistbox.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace kvx::win32 {
namespace {

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new test::TSuiteEnvironment);

constexpr fw::TColor kRed = 0x0000FF;
constexpr fw::TColor kBlue = 0xFF0000;
const char kRegPath[] = "Software\\KVXListTest";

class KVXListBoxes : public test::TControlsTest {
protected:
    TKVXListBox* MakeList(std::initializer_list<int> widths) {
        auto* l = fw::Make<TKVXListBox>(form);
        l->SetParent(form);
        l->SetBounds(10, 10, 300, 200);
        l->HeaderSections()->Clear();
        int i = 0;
        for (int w : widths) {
            fw::THeaderSection* s = l->HeaderSections()->Add();
            s->SetText("Col" + std::to_string(++i));
            s->SetWidth(w);
        }
        return l;
    }
    static std::string Reg(const std::string& args) {
        std::string out;
        test::RunCommand("reg " + args, mx::test::FreshDir(), out);
        return out;
    }
};

TEST_F(KVXListBoxes, HeaderMessagesShowSectionsAndWidths) {
    TKVXListBox* l = MakeList({80, 120, 45});
    test::Pump();
    HWND header = l->Header()->Handle();
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 3);
    const int widths[] = {80, 120, 45};
    for (int i = 0; i < 3; ++i) {
        char text[32] = {};
        HDITEMA item{};
        item.mask = HDI_WIDTH | HDI_TEXT;
        item.pszText = text;
        item.cchTextMax = sizeof(text);
        ASSERT_TRUE(SendMessageA(header, HDM_GETITEMA, i, reinterpret_cast<LPARAM>(&item))) << i;
        EXPECT_EQ(item.cxy, widths[i]) << i;
        EXPECT_EQ(std::string(text), "Col" + std::to_string(i + 1));
    }
    EXPECT_EQ(l->GetInt(5), 3);
    // The header sits at the top with its height, the list fills the rest.
    EXPECT_EQ(l->Header()->Top(), 0);
    EXPECT_EQ(l->Header()->Height(), 25);
    EXPECT_EQ(l->ListBox()->Top(), 25);
    EXPECT_EQ(l->ListBox()->Height(), l->ClientHeight() - 25);
}

TEST_F(KVXListBoxes, GridLinesAndSelectionInPixels) {
    TKVXListBox* l = MakeList({50, 30});
    l->SetGridLines(TKVXLBGridLines::glBoth);
    l->SetColorValue(2, kBlue);
    l->SetColorValue(3, kRed);
    l->SetColorValue(1, 0x00FF00);
    l->Items()->Add("a;b;c");
    l->Items()->Add("   ");
    l->Items()->Add("d;e");
    test::Pump();
    HWND list = l->ListBox()->Handle();
    const int h = l->ListBox()->ItemHeight();
    // Vertical lines at the sums of the widths less one, through the item rows.
    EXPECT_EQ(test::WindowPixel(list, 49, 2), kRed);
    EXPECT_EQ(test::WindowPixel(list, 79, 2), kRed);
    EXPECT_EQ(test::WindowPixel(list, 49, 2 * h + 2), kRed);
    EXPECT_EQ(test::WindowPixel(list, 120, 2), fw::clWhite);
    // The horizontal line runs along each item's bottom row; a blank item draws none.
    EXPECT_EQ(test::WindowPixel(list, 150, h - 1), kBlue);
    EXPECT_EQ(test::WindowPixel(list, 150, 3 * h - 1), kBlue);
    EXPECT_EQ(test::WindowPixel(list, 150, 2 * h - 1), fw::clWhite);
    // A selected item gets SelectedColor.
    l->SetInt(1, 2);
    test::Pump();
    EXPECT_EQ(test::WindowPixel(list, 150, 2 * h + 3), 0x00FF00);
}

struct Resized {
    std::vector<std::string> calls;
};

TEST_F(KVXListBoxes, ResizingAColumnInTheHeaderMovesTheGridAndTellsBothEvents) {
    TKVXListBox* l = MakeList({50, 30});
    l->SetGridLines(TKVXLBGridLines::glVertical);
    l->SetColorValue(3, kRed);
    l->Items()->Add("a;b");
    Resized log;
    l->OnHeaderSized.Bind(&log, [](void* p, fw::TObject*, int section, int width) {
        static_cast<Resized*>(p)->calls.push_back("sized " + std::to_string(section) + " " + std::to_string(width));
    });
    l->OnHeaderSectionResize.Bind(&log, [](void* p, fw::TObject*, fw::THeaderSection* section) {
        static_cast<Resized*>(p)->calls.push_back("resize " + section->Text());
    });
    test::Pump();
    // The header control itself changes the width, as a dragged divider does.
    HDITEMA item{};
    item.mask = HDI_WIDTH;
    item.cxy = 90;
    ASSERT_TRUE(SendMessageA(l->Header()->Handle(), HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item)));
    test::Pump();
    EXPECT_EQ(log.calls, (std::vector<std::string>{"sized 0 90", "resize Col1"}));
    EXPECT_EQ(l->HeaderSections()->Items(0)->Width(), 90);
    HWND list = l->ListBox()->Handle();
    EXPECT_EQ(test::WindowPixel(list, 89, 2), kRed);
    EXPECT_EQ(test::WindowPixel(list, 119, 2), kRed);
    EXPECT_EQ(test::WindowPixel(list, 49, 2), fw::clWhite);
}

TEST_F(KVXListBoxes, VirtualWidthWithoutHeader) {
    TKVXListBox* l = MakeList({50});
    l->SetFlag(2, false);
    l->SetVirtualWidth(500);
    test::Pump();
    EXPECT_EQ(l->ListBox()->Top(), 0);
    EXPECT_EQ(l->ListBox()->Width(), 500);
    EXPECT_EQ(l->HorzScrollBar()->Range(), 500);
    l->SetVirtualWidth(0);
    l->SetFlag(2, true);
    test::Pump();
    EXPECT_EQ(l->ListBox()->Width(), l->ClientWidth());
    EXPECT_EQ(l->ListBox()->Top(), 25);
}

TEST_F(KVXListBoxes, WidthsRoundTripThroughTheStore) {
    Reg(std::string("delete HKCU\\") + kRegPath + " /f");
    auto* store = fw::Make<TKVXIniCtrl>(form);
    store->RegPath = kRegPath;
    TKVXListBox* l = MakeList({80, 120, 45});
    l->IniUse = TKVXIniUse::ioUseLink;
    l->SetIniLink(store);
    l->Free();
    const std::string out = Reg(std::string("query HKCU\\") + kRegPath + "\\Common");
    EXPECT_NE(out.find("ListBoxData    REG_SZ    80,120,45"), std::string::npos) << out;

    // A list with one section gets the other two, captioned by number.
    l = MakeList({10});
    l->IniUse = TKVXIniUse::ioUseLink;
    l->SetIniLink(store);
    l->ReadColumnWidths();
    ASSERT_EQ(l->GetInt(5), 3);
    EXPECT_EQ(l->HeaderSections()->Items(0)->Width(), 80);
    EXPECT_EQ(l->HeaderSections()->Items(2)->Width(), 45);
    EXPECT_EQ(l->HeaderSections()->Items(1)->Text(), "S. 2");
    EXPECT_EQ(l->HeaderSections()->Items(2)->Text(), "S. 3");

    // No sections delete the value.
    l->HeaderSections()->Clear();
    l->Free();
    EXPECT_EQ(Reg(std::string("query HKCU\\") + kRegPath + "\\Common").find("ListBoxData"), std::string::npos);
    store->Free();
    Reg(std::string("delete HKCU\\") + kRegPath + " /f");
}

class TListForm : public fw::TForm {
public:
    using TForm::TForm;
};

TEST_F(KVXListBoxes, CorruptedStoredWidthsStillLoadTheForm) {
    fw::Class<TListForm, fw::TForm>("TListForm");
    std::string huge;
    for (int i = 0; i < 500; ++i) huge += "7,";
    struct Case {
        const char* why;
        std::string value;
        std::vector<int> widths;
    };
    const Case cases[] = {
        {"words and overflow are skipped", "80,wide,99999999999999999999,45", {80, 50, 50, 45}},
        {"an endless value is capped", huge, std::vector<int>(kKVXMaxStoredColumns, 7)},
        {"only damage", "x,y,z", {50, 50}},
    };
    for (const Case& c : cases) {
        ASSERT_NE(
            Reg(std::string("add HKCU\\") + kRegPath + "\\Common /v ListBoxData /t REG_SZ /f /d \"" + c.value + "\"")
                .find("success"),
            std::string::npos)
            << c.why;
        auto* f = fw::TForm::CreateNew<TListForm>(nullptr);
        ASSERT_NO_THROW(fw::ReadComponentText(f, std::string(R"(object ListForm: TListForm
  object Store1: TKVXIniCtrl
    RegPath = ')") + kRegPath + R"('
  end
  object List1: TKVXListBox
    IniUse = ioUseLink
    IniLink = Store1
    HeaderSections = <
      item
        Text = 'One'
      end
      item
        Text = 'Two'
      end>
  end
end
)",
                                              "ListForm"))
            << c.why;
        auto* l = static_cast<TKVXListBox*>(f->FindComponent("List1"));
        ASSERT_TRUE(l) << c.why;
        std::vector<int> widths;
        for (int i = 0; i < l->GetInt(5); ++i) widths.push_back(l->HeaderSections()->Items(i)->Width());
        EXPECT_EQ(widths, c.widths) << c.why;
        l->IniUse = TKVXIniUse::ioNone;
        f->Free();
    }
    Reg(std::string("delete HKCU\\") + kRegPath + " /f");
}

TEST_F(KVXListBoxes, ObsoleteSectionsAreReadOnly) {
    TKVXListBox* l = MakeList({});
    fw::TStringList old;
    old.Add(
        std::string("\0"
                    "120\0"
                    "Name",
                    9));
    old.Add("Size");
    l->AddLegacySections(old);
    ASSERT_EQ(l->GetInt(5), 2);
    EXPECT_EQ(l->HeaderSections()->Items(0)->Width(), 121);
    EXPECT_EQ(l->HeaderSections()->Items(1)->Text(), "Size");
    EXPECT_EQ(l->HeaderSections()->Items(1)->Width(), 76);
    try {
        l->SetSections(&old);
        ADD_FAILURE() << "no exception";
    } catch (const fw::Exception& e) {
        EXPECT_STREQ(e.what(), "This property is no longer used in KVX-Tools!");
    }
}

}  // namespace
}  // namespace kvx::win32
