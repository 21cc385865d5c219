// Form placement and storage on real windows: what a save writes is read back by Wine's own reg.exe
// and by GetPrivateProfileStringA, restores follow the screen-size rule, fixed borders keep their size,
// PreventResize and the limits reach the window, and the form's events keep their order.
#include "uisupport/win32/formstorage.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "framework/core/formtext.h"
#include "framework/core/registry.h"
#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/std_button.h"
#include "framework/win32/std_edit.h"
#include "testing/test_env.h"
#include "uisupport/win32/kyvhook.h"
#include "uisupport/win32/uisregister.h"
#include "widgets/win32/testsupport/wine_support.h"

namespace uis {
namespace {

const char* const kKey = "Software\\Morvix Tools\\Zip\\Preferences";

class TfrmZipMain : public fw::TForm {
public:
    using TForm::TForm;
    fw::TCheckBox* cbShowLog = nullptr;
    fw::TEdit* edtName = nullptr;
    TFormStorage* FormStorage1 = nullptr;
};

const char* const kFormText = R"(object frmZipMain: TfrmZipMain
  Left = 100
  Top = 80
  Width = 400
  Height = 300
  Caption = 'Placement'
  object cbShowLog: TCheckBox
    Left = 8
    Top = 8
    Width = 120
    Height = 17
    Caption = 'Show log'
  end
  object edtName: TEdit
    Left = 8
    Top = 40
    Width = 120
    Height = 21
  end
  object FormStorage1: TFormStorage
    UseRegistry = True
    IniFileName = 'Software\Morvix Tools\Zip\Preferences'
    IniSection = 'Main'
    StoredProps = ('cbShowLog.Checked' 'edtName.Text' 'ghost.Checked')
  end
end
)";

struct RegValue {
    std::string type, data;
};

// The values of a key as Wine's own reg.exe lists them.
std::map<std::string, RegValue> RegQuery(const std::string& key) {
    std::string out;
    kvx::win32::test::RunCommand("reg query \"HKCU\\" + key + "\"", mx::test::FreshDir(), out);
    std::map<std::string, RegValue> values;
    std::istringstream lines(out);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t type = line.find("    REG_");
        if (line.rfind("    ", 0) != 0 || type == std::string::npos) continue;
        const std::string name = line.substr(4, type - 4);
        const size_t typeEnd = line.find("    ", type + 4);
        values[name] = {line.substr(type + 4, typeEnd - type - 4),
                        typeEnd == std::string::npos ? "" : line.substr(typeEnd + 4)};
    }
    return values;
}

void RegCommand(const std::string& arguments) {
    std::string out;
    ASSERT_EQ(kvx::win32::test::RunCommand("reg " + arguments, mx::test::FreshDir(), out), 0) << out;
}

class PlacementTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::InitApplication();
        RegisterUISupportClasses();
        fw::Class<TfrmZipMain, fw::TForm>("TfrmZipMain")
            .Field("cbShowLog", &TfrmZipMain::cbShowLog)
            .Field("edtName", &TfrmZipMain::edtName)
            .Field("FormStorage1", &TfrmZipMain::FormStorage1);
        fw::TRegistry registry;
        registry.DeleteKey(std::string("\\") + kKey);
    }
    void TearDown() override {
        if (form) form->Free();
        fw::DoneApplication();
    }
    void Load(const std::string& text = kFormText) {
        form = fw::Make<TfrmZipMain>(nullptr);
        fw::ReadComponentText(form, text, "TfrmZipMain");
    }
    TfrmZipMain* form = nullptr;
};

TEST_F(PlacementTest, ASaveWritesStringsThatRegQueryReadsBack) {
    Load();
    ASSERT_EQ(form->FormStorage1->StoredProps()->Count(), 2);  // the line of a missing component went
    form->Show();
    form->SetBounds(150, 120, 420, 310);
    form->cbShowLog->SetChecked(true);
    form->edtName->SetText("  Morvix  ");
    EXPECT_TRUE(form->CloseQuery());
    const auto values = RegQuery(std::string(kKey) + "\\Main");
    ASSERT_EQ(values.count("NormPos(1024x768)"), 1u) << "the screen is not 1024x768";
    EXPECT_EQ(values.at("NormPos(1024x768)").data, "150,120,570,430");
    EXPECT_EQ(values.at("NormPos").data, values.at("NormPos(1024x768)").data);
    EXPECT_EQ(values.at("MinMaxPos").data, values.at("MinMaxPos(1024x768)").data);
    EXPECT_EQ(values.at("PixelsPerInch").data, "96");
    EXPECT_EQ(values.at("ShowCmd").data, "1");
    EXPECT_EQ(values.at("Visible").data, "0");
    EXPECT_EQ(values.at("cbShowLog_Checked").data, "True");
    EXPECT_EQ(values.at("edtName_Text").data, "Morvix");
    for (const auto& [name, value] : values) EXPECT_EQ(value.type, "REG_SZ") << name;

    // Without the suffixed value the restore reads the plain one.
    RegCommand(std::string("delete \"HKCU\\") + kKey + "\\Main\" /v \"NormPos(1024x768)\" /f");
    RegCommand(std::string("add \"HKCU\\") + kKey + "\\Main\" /v NormPos /d \"200,150,620,460\" /f");
    RegCommand(std::string("add \"HKCU\\") + kKey + "\\Main\" /v cbShowLog_Checked /d false /f");
    form->Hide();
    form->SetBounds(10, 10, 300, 200);
    form->Show();
    EXPECT_EQ(form->Left(), 200);
    EXPECT_EQ(form->Top(), 150);
    EXPECT_EQ(form->Width(), 420);
    EXPECT_EQ(form->Height(), 310);
    EXPECT_FALSE(form->cbShowLog->Checked());
    EXPECT_EQ(form->edtName->Text(), "Morvix");
    // A component that goes takes its lines along.
    form->edtName->Free();
    EXPECT_EQ(form->FormStorage1->StoredProps()->Text(), "cbShowLog.Checked\r\n");
}

TEST_F(PlacementTest, AnIniStoreReadsBackThroughTheProfileFunctions) {
    const std::string file = mx::test::FreshDir() + "\\placement.ini";
    std::string text = kFormText;
    text.replace(text.find("UseRegistry = True"), 18, "UseRegistry = False");
    const std::string key = "'Software\\Morvix Tools\\Zip\\Preferences'";
    text.replace(text.find(key), key.size(), fw::QuoteFormString(file));
    Load(text);
    form->Show();
    form->SetBounds(60, 70, 380, 290);
    form->edtName->SetText("\"quoted\"");
    form->FormStorage1->Save();
    char buffer[256];
    GetPrivateProfileStringA("Main", "NormPos", "", buffer, sizeof buffer, file.c_str());
    EXPECT_STREQ(buffer, "60,70,440,360");
    GetPrivateProfileStringA("Main", "NormPos(1024x768)", "", buffer, sizeof buffer, file.c_str());
    EXPECT_STREQ(buffer, "60,70,440,360");
    GetPrivateProfileStringA("Main", "edtName_Text", "", buffer, sizeof buffer, file.c_str());
    EXPECT_STREQ(buffer, "\"quoted\"");  // written in one more pair, read without it
    GetPrivateProfileStringA("Main", "Visible", "", buffer, sizeof buffer, file.c_str());
    EXPECT_STREQ(buffer, "0");
    EXPECT_EQ(form->FormStorage1->ReadString("cbShowLog_Checked", "?"), "False");
}

TEST_F(PlacementTest, AFixedBorderKeepsItsSizeAndACentredFormTakesTheStoredPlace) {
    Load();
    form->SetBorderStyle(fw::TFormBorderStyle::bsDialog);
    form->SetPosition(fw::poScreenCenter);
    RegCommand(std::string("add \"HKCU\\") + kKey + "\\Main\" /v NormPos /d \"50,60,850,660\" /f");
    form->Show();
    EXPECT_EQ(form->Left(), 50);
    EXPECT_EQ(form->Top(), 60);
    EXPECT_EQ(form->Width(), 400);
    EXPECT_EQ(form->Height(), 300);
    EXPECT_EQ(form->Position(), fw::poDesigned);
}

TEST_F(PlacementTest, PreventResizeAnswersNowhereOnTheBorderAndGreysTheWindowMenu) {
    std::string text = kFormText;
    text.insert(text.find("    StoredProps"), "    PreventResize = True\n");
    Load(text);
    form->Show();
    EXPECT_FALSE(form->BorderIcons().Contains(fw::biMaximize));
    HWND window = form->Handle();
    RECT r;
    GetWindowRect(window, &r);
    const LPARAM rightBorder = MAKELPARAM(r.right - 1, (r.top + r.bottom) / 2);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, rightBorder), HTNOWHERE);
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2)),
              HTCLIENT);
    HMENU menu = GetSystemMenu(window, FALSE);
    ASSERT_NE(menu, nullptr);
    SendMessageA(window, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
    EXPECT_TRUE(GetMenuState(menu, SC_SIZE, MF_BYCOMMAND) & MF_GRAYED);
    EXPECT_TRUE(GetMenuState(menu, SC_MAXIMIZE, MF_BYCOMMAND) & MF_GRAYED);
    MINMAXINFO info{};
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, form->Width());
    EXPECT_EQ(info.ptMaxTrackSize.y, form->Height());

    // Off again: the border answers as a sizing border and the maximise icon comes back.
    form->FormStorage1->SetPreventResize(false);
    EXPECT_TRUE(form->BorderIcons().Contains(fw::biMaximize));
    EXPECT_EQ(SendMessageA(window, WM_NCHITTEST, 0, rightBorder), HTRIGHT);
}

TEST_F(PlacementTest, LimitsReachTheWindowAndNeverShownFormsWriteNothing) {
    Load();
    form->FormStorage1->MinMaxInfo()->SetValue(6, 260);  // MinTrackHeight
    form->FormStorage1->MinMaxInfo()->SetValue(7, 475);  // MinTrackWidth
    MINMAXINFO info{};
    SendMessageA(form->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 475);
    EXPECT_EQ(info.ptMinTrackSize.y, 260);
    form->Free();  // never shown: no restore ran, so nothing is saved
    form = nullptr;
    EXPECT_TRUE(RegQuery(std::string(kKey) + "\\Main").empty());
}

// The form's own handlers and two storages that log, hooked and unhooked out of order.
class TEventForm : public fw::TForm {
public:
    using TForm::TForm;
    std::vector<std::string> log;
    void FormShow(fw::TObject*) { log.push_back("form:show"); }
    void FormCloseQuery(fw::TObject*, bool& canClose) {
        log.push_back("form:closequery");
        canClose = allowClose;
    }
    void FormDestroy(fw::TObject*) { log.push_back("form:destroy"); }
    void Restored(fw::TObject* sender) { log.push_back(static_cast<fw::TComponent*>(sender)->Name() + ":restore"); }
    void Saved(fw::TObject* sender) { log.push_back(static_cast<fw::TComponent*>(sender)->Name() + ":save"); }
    bool allowClose = true;
};

TEST_F(PlacementTest, HookedEventsKeepTheirOrderWhateverOrderStoragesComeAndGo) {
    auto* events = fw::TForm::CreateNew<TEventForm>(nullptr);
    events->SetName("frmEvents");
    events->OnShow = fw::TNotifyEvent(events, &TEventForm::FormShow);
    events->OnCloseQuery = fw::TCloseQueryEvent(events, &TEventForm::FormCloseQuery);
    events->OnDestroy = fw::TNotifyEvent(events, &TEventForm::FormDestroy);
    TFormStorage* storages[2];
    for (int i = 0; i < 2; ++i) {
        storages[i] = fw::Make<TFormStorage>(events);
        storages[i]->SetName("S" + std::to_string(i + 1));
        storages[i]->SetUseRegistry(true);
        storages[i]->SetIniFileName(kKey);
        storages[i]->SetIniSection("Events" + std::to_string(i + 1));
        storages[i]->OnRestorePlacement = fw::TNotifyEvent(events, &TEventForm::Restored);
        storages[i]->OnSavePlacement = fw::TNotifyEvent(events, &TEventForm::Saved);
        // As if read from form text: the storage binds itself to the form at the end of loading.
        storages[i]->SetComponentState(fw::csLoading);
        storages[i]->Loaded();
    }
    events->Show();
    EXPECT_EQ(events->log, (std::vector<std::string>{"S2:restore", "S1:restore", "form:show"}));
    events->log.clear();
    events->allowClose = false;
    EXPECT_FALSE(events->CloseQuery());
    EXPECT_EQ(events->log, (std::vector<std::string>{"form:closequery"}));  // no save when it may not close
    events->allowClose = true;
    events->log.clear();
    EXPECT_TRUE(events->CloseQuery());
    EXPECT_EQ(events->log, (std::vector<std::string>{"form:closequery", "S1:save", "S2:save"}));

    // The first storage leaves first; the second still restores before the form's show.
    storages[0]->Free();
    events->Hide();
    events->log.clear();
    events->Show();
    EXPECT_EQ(events->log, (std::vector<std::string>{"S2:restore", "form:show"}));
    storages[1]->Free();
    EXPECT_EQ(events->OnShow, fw::TNotifyEvent(events, &TEventForm::FormShow));  // its own handlers are back
    EXPECT_EQ(events->OnCloseQuery, fw::TCloseQueryEvent(events, &TEventForm::FormCloseQuery));
    events->Free();
}

TEST_F(PlacementTest, TheDestroyHandlerSavesOnceMoreWithVisibleOneThenTheFormsOwn) {
    auto* events = fw::TForm::CreateNew<TEventForm>(nullptr);
    events->SetName("frmEvents");
    std::vector<std::string> seen;
    events->OnDestroy.Bind(&seen, [](void* s, fw::TObject*) {
        static_cast<std::vector<std::string>*>(s)->push_back("form:destroy");
    });
    auto* storage = fw::Make<TFormStorage>(events);
    storage->SetName("S1");
    storage->SetUseRegistry(true);
    storage->SetIniFileName(kKey);
    storage->SetIniSection("Destroy");
    storage->OnSavePlacement.Bind(&seen, [](void* s, fw::TObject*) {
        static_cast<std::vector<std::string>*>(s)->push_back("S1:save");
    });
    storage->SetComponentState(fw::csLoading);
    storage->Loaded();
    events->Show();
    events->Free();
    EXPECT_EQ(seen, (std::vector<std::string>{"S1:save", "form:destroy"}));
    EXPECT_EQ(RegQuery(std::string(kKey) + "\\Destroy")["Visible"].data, "1");
}

}  // namespace
}  // namespace uis
