// The property storage over an in-memory store: the exact text of every kind, loading back, the
// sub-sections of lists and collections, references, nested objects, damaged stored values and the
// StoredProps lines.
#include "uisupport/propsstorage.h"

#include <gtest/gtest.h>

#include <chrono>

#include "framework/core/datetime.h"
#include "uisupport/propsstorage_testclasses.h"
#include "uisupport/storedprops.h"

namespace uis {
namespace {

using test::MemStore;
using test::TTestControl;
using test::TTestForm;
using test::TTestKind;
using test::TTestStyle;

class PropsStorageTest : public ::testing::Test {
protected:
    void SetUp() override {
        test::RegisterTestClasses();
        form = fw::Make<TTestForm>(nullptr);
        form->SetName("frmMain");
        control = fw::Make<TTestControl>(form);
        control->SetName("cbShowLog");
        other = fw::Make<TTestControl>(form);
        other->SetName("ListView1");
        store.Attach(storage);
        storage.Section = "Main";
    }
    void TearDown() override {
        fw::FormatSettings.DecimalSeparator = '.';
        form->Free();
    }

    // Saves and loads the lines through the store.
    void Save(std::initializer_list<const char*> lines) {
        fw::TStringList list;
        for (const char* line : lines) list.Add(line);
        BindStoredProps(form, list, true);
        storage.SaveComponentProps(form, list);
    }
    void Load(std::initializer_list<const char*> lines) {
        fw::TStringList list;
        for (const char* line : lines) list.Add(line);
        BindStoredProps(form, list, true);
        storage.LoadComponentProps(form, list);
    }

    TTestForm* form = nullptr;
    TTestControl* control = nullptr;
    TTestControl* other = nullptr;
    TPropsStorage storage;
    MemStore store;
};

TEST_F(PropsStorageTest, EveryScalarKindIsWrittenInItsExactText) {
    control->SetNumber(-42);
    control->SetBig(int64_t{1} << 40);
    control->SetLetter('Q');
    control->SetSingle(0.1f);
    control->SetDouble(1.0 / 3.0);
    control->SetExtended(1.5e20L);
    control->SetText("  padded text  ");
    control->SetChecked(true);
    control->SetKind(TTestKind::bkEllipse);
    control->SetStyle({TTestStyle::fsItalic, TTestStyle::fsBold});
    Save({"cbShowLog.Number", "cbShowLog.Big", "cbShowLog.Letter", "cbShowLog.Single", "cbShowLog.Double",
          "cbShowLog.Extended", "cbShowLog.Text", "cbShowLog.Checked", "cbShowLog.Kind", "cbShowLog.Style",
          "cbShowLog.OnClick"});
    const std::pair<const char*, const char*> expected[] = {
        {"cbShowLog_Number", "-42"},      {"cbShowLog_Big", "1099511627776"},
        {"cbShowLog_Letter", "Q"},        {"cbShowLog_Single", "0.1"},
        {"cbShowLog_Double", "0.333333333333333"}, {"cbShowLog_Extended", "1.5E20"},
        {"cbShowLog_Text", "padded text"}, {"cbShowLog_Checked", "True"},
        {"cbShowLog_Kind", "bkEllipse"},  {"cbShowLog_Style", "[fsBold,fsItalic]"},
        {"cbShowLog_OnClick", "<none>"},  // events are never stored
    };
    for (const auto& [name, text] : expected) EXPECT_EQ(store.Get("Main", name), text) << name;
}

TEST_F(PropsStorageTest, StoredTextsLoadBackWithTheirRules) {
    struct Case {
        const char* prop;
        const char* stored;
        std::function<bool()> check;
    };
    control->SetKind(TTestKind::bkRoundRect);
    control->SetLetter('z');
    const Case cases[] = {
        {"Checked", "TRUE", [&] { return control->Checked(); }},
        {"Checked", "false", [&] { return !control->Checked(); }},
        {"Checked", "True", [&] { return control->Checked(); }},
        {"Number", "  17 ", [&] { return control->Number() == 17; }},
        {"Number", "seventeen", [&] { return control->Number() == 0; }},  // not a number: 0
        {"Kind", "BKELLIPSE", [&] { return control->Kind() == TTestKind::bkEllipse; }},
        {"Kind", "bkCircle", [&] { return control->Kind() == TTestKind::bkEllipse; }},  // no element: kept
        {"Text", "  trimmed  ", [&] { return control->Text() == "trimmed"; }},
        {"Letter", "", [&] { return control->Letter() == 'z'; }},  // empty: kept
        {"Letter", "xy", [&] { return control->Letter() == 'x'; }},
        {"Style", " [ fsItalic , fsBold ] ", [&] { return control->Style() == test::TTestStyles{TTestStyle::fsBold, TTestStyle::fsItalic}; }},
        {"Style", "[fsBold,fsNothing,fsUnderline]", [&] { return control->Style() == test::TTestStyles{TTestStyle::fsBold, TTestStyle::fsUnderline}; }},
        {"Style", "[]", [&] { return control->Style().Empty(); }},
        {"Double", "2.25", [&] { return control->Double() == 2.25; }},
        {"Double", "two", [&] { return control->Double() == 2.25; }},  // no number: kept
        {"Big", "-9000000000", [&] { return control->Big() == -9000000000LL; }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.prop) + " = '" + c.stored + "'");
        store.sections["Main"][std::string("cbShowLog_") + c.prop] = c.stored;
        const std::string line = std::string("cbShowLog.") + c.prop;
        fw::TStringList list;
        list.Add(line);
        BindStoredProps(form, list, true);
        storage.LoadComponentProps(form, list);
        EXPECT_TRUE(c.check());
    }
}

TEST_F(PropsStorageTest, AMissingValueKeepsTheCurrentOne) {
    control->SetNumber(5);
    control->SetText("kept");
    Load({"cbShowLog.Number", "cbShowLog.Text"});
    EXPECT_EQ(control->Number(), 5);
    EXPECT_EQ(control->Text(), "kept");
}

TEST_F(PropsStorageTest, FloatsUseADotWhateverTheLocaleSays) {
    fw::FormatSettings.DecimalSeparator = ',';
    control->SetDouble(1.5);
    control->SetSingle(-0.25f);
    Save({"cbShowLog.Double", "cbShowLog.Single"});
    EXPECT_EQ(store.Get("Main", "cbShowLog_Double"), "1.5");
    EXPECT_EQ(store.Get("Main", "cbShowLog_Single"), "-0.25");
    control->SetDouble(0);
    control->SetSingle(0);
    store.sections["Main"]["cbShowLog_Extended"] = "1.25E-5";
    Load({"cbShowLog.Double", "cbShowLog.Single", "cbShowLog.Extended"});
    EXPECT_EQ(control->Double(), 1.5);
    EXPECT_EQ(control->Single(), -0.25f);
    EXPECT_EQ(control->Extended(), static_cast<long double>(1.25e-5));
    EXPECT_EQ(TPropsStorage::FloatText(1e-5, 15), "1E-5");
    EXPECT_EQ(TPropsStorage::FloatText(1e15, 15), "1E15");
    EXPECT_EQ(TPropsStorage::FloatText(123456789012345.0, 15), "123456789012345");
}

TEST_F(PropsStorageTest, ABadValueSkipsOnlyItsProperty) {
    store.sections["Main"]["cbShowLog_Strict"] = "-1";  // the setter refuses it
    store.sections["Main"]["cbShowLog_Number"] = "7";
    store.sections["Main"]["cbShowLog_Text"] = "after";
    control->SetStrict(3);
    Load({"cbShowLog.Strict", "cbShowLog.Number", "cbShowLog.Text"});
    EXPECT_EQ(control->Strict(), 3);
    EXPECT_EQ(control->Number(), 7);
    EXPECT_EQ(control->Text(), "after");
}

TEST_F(PropsStorageTest, StringListsLiveInASubSection) {
    control->SetName("cbxAddress");
    control->Items()->Add("C:\\");
    control->Items()->Add("  D:\\with blanks  ");
    Save({"cbxAddress.Items"});
    EXPECT_EQ(store.Get("Main.cbxAddress_Items", "Count"), "2");
    EXPECT_EQ(store.Get("Main.cbxAddress_Items", "Item0"), "C:\\");
    EXPECT_EQ(store.Get("Main.cbxAddress_Items", "Item1"), "  D:\\with blanks  ");
    control->Items()->Clear();
    control->Items()->Add("designed");
    Load({"cbxAddress.Items"});
    ASSERT_EQ(control->Items()->Count(), 2);
    EXPECT_EQ(control->Items()->Get(1), "  D:\\with blanks  ");  // lines are not trimmed

    // An empty list erases its sub-section and writes nothing; loading then keeps the designed lines.
    control->Items()->Clear();
    Save({"cbxAddress.Items"});
    EXPECT_EQ(store.sections.count("Main.cbxAddress_Items"), 0u);
    control->Items()->Add("designed");
    Load({"cbxAddress.Items"});
    EXPECT_EQ(control->Items()->Text(), "designed\r\n");
}

TEST_F(PropsStorageTest, ADamagedCountStopsAtTheFirstMissingItem) {
    control->SetName("cbxAddress");
    store.sections["Main.cbxAddress_Items"] = {{"Count", "2147483647"}, {"Item0", "a"}, {"Item1", "b"}};
    store.sections["Main"]["Columns.Count"] = "2147483647";
    store.sections["Main.cbxAddress_Columns"] = {{"Item0_Width", "80"}, {"Item0_Caption", "Name"}};
    const auto start = std::chrono::steady_clock::now();
    Load({"cbxAddress.Items", "cbxAddress.Columns"});
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(control->Items()->Text(), "a\r\nb\r\n");
    ASSERT_EQ(control->Columns()->Count(), 1);
    EXPECT_EQ(static_cast<test::TTestColumn*>(control->Columns()->Items(0))->Width(), 80);
    EXPECT_LT(store.reads, 100);
}

TEST_F(PropsStorageTest, CollectionsKeepTheirCountBesideAndTheirItemsBelow) {
    control->SetName("Grid1");
    for (int i = 0; i < 2; ++i) {
        auto* column = static_cast<test::TTestColumn*>(control->Columns()->Add());
        column->SetWidth(100 + i);
        column->SetCaption(i ? "Size" : "Name");
    }
    Save({"Grid1.Columns"});
    EXPECT_EQ(store.Get("Main", "Columns.Count"), "2");
    EXPECT_EQ(store.Get("Main.Grid1_Columns", "Item0_Width"), "100");
    EXPECT_EQ(store.Get("Main.Grid1_Columns", "Item1_Caption"), "Size");
    control->Columns()->Clear();
    Load({"Grid1.Columns"});
    ASSERT_EQ(control->Columns()->Count(), 2);
    EXPECT_EQ(static_cast<test::TTestColumn*>(control->Columns()->Items(1))->Width(), 101);
    EXPECT_EQ(static_cast<test::TTestColumn*>(control->Columns()->Items(0))->Caption(), "Name");
}

TEST_F(PropsStorageTest, NestedObjectsWriteEachPropertyAfterTheKey) {
    other->Font()->SetName("Arial");
    other->Font()->SetStyle({TTestStyle::fsBold});
    Save({"ListView1.Font"});
    const char* names[] = {"ListView1_FontCharset", "ListView1_FontColor", "ListView1_FontHeight",
                           "ListView1_FontName", "ListView1_FontPitch", "ListView1_FontSize",
                           "ListView1_FontStyle"};
    for (const char* name : names) EXPECT_NE(store.Get("Main", name), "<none>") << name;
    EXPECT_EQ(store.sections["Main"].size(), 7u);
    EXPECT_EQ(store.Get("Main", "ListView1_FontColor"), "-2147483640");
    EXPECT_EQ(store.Get("Main", "ListView1_FontStyle"), "[fsBold]");
    store.sections["Main"]["ListView1_FontName"] = "Courier New";
    Load({"ListView1.Font"});
    EXPECT_EQ(other->Font()->Name(), "Courier New");
}

TEST_F(PropsStorageTest, ReferencesAreNamesOwnerNamesOrNull) {
    auto* second = fw::Make<TTestForm>(nullptr);
    second->SetName("Tglobal");
    auto* module = fw::Make<TTestControl>(second);
    module->SetName("reg");
    fw::RegisterGlobalRoot(second);
    control->SetBuddy(other);
    control->SetLink(module);
    other->SetLink(nullptr);
    Save({"cbShowLog.Buddy", "cbShowLog.Link", "ListView1.Link"});
    EXPECT_EQ(store.Get("Main", "cbShowLog_Buddy"), "ListView1");
    EXPECT_EQ(store.Get("Main", "cbShowLog_Link"), "Tglobal.reg");
    EXPECT_EQ(store.Get("Main", "ListView1_Link"), "(null)");

    control->SetBuddy(nullptr);
    control->SetLink(nullptr);
    other->SetLink(control);
    store.sections["Main"]["ListView1_Link"] = "(NULL)";
    Load({"cbShowLog.Buddy", "cbShowLog.Link", "ListView1.Link"});
    EXPECT_EQ(control->Buddy(), other);
    EXPECT_EQ(control->Link(), module);
    EXPECT_EQ(other->Link(), nullptr);

    // An unknown owner changes nothing; a known owner without that component clears the reference.
    store.sections["Main"]["cbShowLog_Link"] = "Nowhere.reg";
    Load({"cbShowLog.Link"});
    EXPECT_EQ(control->Link(), module);
    store.sections["Main"]["cbShowLog_Link"] = "tglobal.missing";
    Load({"cbShowLog.Link"});
    EXPECT_EQ(control->Link(), nullptr);
    second->Free();
}

TEST_F(PropsStorageTest, LinesWithoutComponentOrDotAreDropped) {
    fw::TStringList list;
    for (const char* line : {"cbShowLog.Checked", "ghost.Checked", "nodot", " ListView1 . Font ", ".Text", "cbShowLog."})
        list.Add(line);
    BindStoredProps(form, list, true);
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0), "cbShowLog.Checked");
    EXPECT_EQ(list.GetObject(0), control);
    EXPECT_EQ(list.GetObject(1), other);
    // Without resolving, lines follow their component's new name.
    other->SetName("lvFiles");
    BindStoredProps(form, list, false);
    EXPECT_EQ(list.Get(1), "lvFiles.Font");
    std::string component, property;
    EXPECT_TRUE(SplitCompProp(" a . b ", component, property));
    EXPECT_EQ(component + "|" + property, "a|b");
    EXPECT_EQ(RenameCompProp("old.Prop", "fresh"), "fresh.Prop");
}

}  // namespace
}  // namespace uis
