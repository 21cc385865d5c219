// The tray icon under Wine: the notification data it sends, the event order of the icon's mouse
// messages, and what minimizing and closing its form do while it is active.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "framework/win32/winapi.h"
#include "widgets/win32/startup.h"
#include "widgets/inictrl.h"
#include "widgets/win32/filectrl.h"
#include "widgets/win32/fmdrop.h"
#include "widgets/win32/hitimer.h"
#include "widgets/win32/starter.h"
#include "widgets/win32/trayicon.h"

namespace kvx::win32 {
namespace {

struct Sent {
    DWORD message;
    std::string tip;
    UINT callback;
    DWORD size;
};
std::vector<Sent> g_sent;

BOOL Record(DWORD message, NOTIFYICONDATAA* data) {
    g_sent.push_back({message, data->szTip, data->uCallbackMessage, data->cbSize});
    return TRUE;
}

// A popup menu that records where it was asked to show instead of tracking the mouse.
class TRecordingMenu : public fw::TPopupMenu {
public:
    explicit TRecordingMenu(TComponent* owner) : TPopupMenu(owner) {}
    std::vector<std::string>* log = nullptr;
    void Popup(int, int) override { log->push_back("menu"); }
};

class Tray : public ::testing::Test {
protected:
    void SetUp() override {
        g_sent.clear();
        fw::InitApplication();
        KVXStartApplication();
        TKVXTrayIcon::SetNotifySeam(Record);
        form = fw::TForm::CreateNew<fw::TForm>(nullptr);
        form->SetBounds(50, 50, 300, 200);
        form->OnClose.Bind(&closes, [](void* p, TObject*, fw::TCloseAction&) { ++*static_cast<int*>(p); });
        tray = new TKVXTrayIcon(form);
        tray->OnMouseDown.Bind(&log, [](void* p, TObject*, fw::TMouseButton b, fw::TShiftState s, int, int) {
            static_cast<std::vector<std::string>*>(p)->push_back(
                std::string("down") + "LRM"[static_cast<int>(b)] + (s.Contains(fw::ssDouble) ? "2" : ""));
        });
        tray->OnMouseUp.Bind(&log, [](void* p, TObject*, fw::TMouseButton b, fw::TShiftState, int, int) {
            static_cast<std::vector<std::string>*>(p)->push_back(std::string("up") + "LRM"[static_cast<int>(b)]);
        });
        tray->OnClick.Bind(&log, [](void* p, TObject*) { static_cast<std::vector<std::string>*>(p)->push_back("click"); });
        tray->OnDblClick.Bind(&log, [](void* p, TObject*) { static_cast<std::vector<std::string>*>(p)->push_back("dbl"); });
        tray->OnMouseMove.Bind(&log, [](void* p, TObject*, fw::TShiftState, int, int) {
            static_cast<std::vector<std::string>*>(p)->push_back("move");
        });
    }
    void TearDown() override {
        form->Free();
        TKVXTrayIcon::SetNotifySeam(nullptr);
        KVXStopApplication();
        fw::DoneApplication();
    }
    // The form's text is read into the tray icon, then loading ends.
    void Load(const std::string& hint = "") {
        tray->SetComponentState(fw::csLoading);
        if (!hint.empty()) tray->SetHint(hint);
        tray->Loaded();
    }
    std::vector<std::string> Send(UINT mouse) {
        log.clear();
        SendMessageA(tray->WindowHandle(), kTrayMessage, 0, mouse);
        return log;
    }
    fw::TForm* form = nullptr;
    TKVXTrayIcon* tray = nullptr;
    std::vector<std::string> log;
    int closes = 0;
};

using Log = std::vector<std::string>;

TEST_F(Tray, LoadingAddsTheIconWithItsTipCut) {
    const std::string hint(80, 'h');
    Load(hint);
    ASSERT_EQ(g_sent.size(), 1u);
    EXPECT_EQ(g_sent[0].message, static_cast<DWORD>(NIM_ADD));
    EXPECT_EQ(g_sent[0].tip, hint.substr(0, 63));
    EXPECT_EQ(g_sent[0].callback, 1125u);
    EXPECT_EQ(g_sent[0].size, sizeof(NOTIFYICONDATAA));
    EXPECT_FALSE(fw::Application->ShowMainForm());
    EXPECT_TRUE(tray->Hooked());

    tray->SetHint("short");
    EXPECT_EQ(g_sent.back().message, static_cast<DWORD>(NIM_MODIFY));
    EXPECT_EQ(g_sent.back().tip, "short");
    tray->SetActive(false);
    EXPECT_EQ(g_sent.back().message, static_cast<DWORD>(NIM_DELETE));
}

TEST_F(Tray, MouseMessagesInTheirEventOrder) {
    Load();
    EXPECT_EQ(Send(WM_MOUSEMOVE), (Log{"move"}));
    EXPECT_EQ(Send(WM_LBUTTONDOWN), (Log{"downL"}));
    EXPECT_EQ(Send(WM_LBUTTONUP), (Log{"click", "upL"}));
    EXPECT_EQ(Send(WM_LBUTTONDBLCLK), (Log{"dbl", "downL2"}));
    EXPECT_EQ(Send(WM_RBUTTONDOWN), (Log{"downR"}));
    EXPECT_EQ(Send(WM_RBUTTONUP), (Log{"click", "upR"}));
    EXPECT_EQ(Send(WM_RBUTTONDBLCLK), (Log{"dbl", "downR2"}));
    EXPECT_EQ(Send(WM_MBUTTONDOWN), (Log{"downM"}));
    EXPECT_EQ(Send(WM_MBUTTONUP), (Log{"click", "upM"}));
    EXPECT_EQ(Send(WM_MBUTTONDBLCLK), (Log{"dbl", "downM2"}));
    EXPECT_EQ(Send(WM_KEYDOWN), (Log{}));

    // A right click with a menu: OnMouseDown, OnPopUp, then the menu; its release is a click.
    auto* menu = new TRecordingMenu(form);
    menu->log = &log;
    tray->SetPopUpMenu(menu);
    tray->OnPopUp.Bind(&log, [](void* p, TObject*) { static_cast<std::vector<std::string>*>(p)->push_back("popup"); });
    EXPECT_EQ(Send(WM_RBUTTONDOWN), (Log{"downR", "popup", "menu"}));
    EXPECT_EQ(menu->PopupComponent(), tray);
    EXPECT_EQ(Send(WM_RBUTTONUP), (Log{"click", "upR"}));
    menu->Free();
    EXPECT_EQ(tray->PopUpMenu(), nullptr);
    EXPECT_EQ(Send(WM_RBUTTONDOWN), (Log{"downR"}));
}

TEST_F(Tray, MinimizeAndCloseHideTheFormWhileActive) {
    Load();
    form->Show();
    HWND h = form->Handle();
    ASSERT_TRUE(IsWindowVisible(h));
    SendMessageA(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_FALSE(IsWindowVisible(h)) << "minimizing hides the form";

    form->Show();
    tray->NoClose = true;
    SendMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindowVisible(h)) << "closing hides the form";
    EXPECT_EQ(closes, 0) << "the form was not closed";

    // Inactive: the form behaves as usual, though still watched.
    tray->SetActive(false);
    form->Show();
    ShowWindow(h, SW_RESTORE);
    SendMessageA(h, WM_SYSCOMMAND, SC_MINIMIZE, 0);
    EXPECT_TRUE(IsIconic(h));
    EXPECT_TRUE(IsWindowVisible(h)) << "minimized normally";
    SendMessageA(h, WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_EQ(closes, 1);
}

}  // namespace
}  // namespace kvx::win32

namespace kvx::win32 {
namespace {

// The suite's components read from form text, as a program's forms carry them.
class TSuiteForm : public fw::TForm {
public:
    explicit TSuiteForm(TComponent* owner) : TForm(owner) {}
};

TEST(FormText, SuiteComponentsLoadTheirProperties) {
    g_sent.clear();
    fw::InitApplication();
    KVXStartApplication();
    TKVXTrayIcon::SetNotifySeam(Record);
    fw::Class<TSuiteForm, fw::TForm>("TSuiteForm");
    auto* form = fw::TForm::CreateNew<TSuiteForm>(nullptr);
    fw::ReadComponentText(form, R"(object SuiteForm: TSuiteForm
  object Tray1: TKVXTrayIcon
    Active = True
    NoClose = True
    Hint = 'Morvix'
  end
  object Starter1: TKVXStarter
    StartOperation = smPrint
    StartOption = soSW_HIDE
    Command = 'notepad.exe'
    Wait = True
    StartTime.Year = 2030
  end
  object FileCtrl1: TKVXFileCtrl
    Options = [ffNoActionConfirm, ffUseRecycleBin]
  end
  object Timer1: TKVXHiTimer
    Interval = 20
    UseThread = False
  end
  object Drop1: TKVXFMDrop
    CharCase = ccLowerCase
  end
  object Ini1: TKVXIniCtrl
    Common = False
    RegPath = 'Software\X'
    IniPrefix = ppProgram
    AlphaCounter = True
  end
end
)",
                          "SuiteForm");
    auto* tray = static_cast<TKVXTrayIcon*>(form->FindComponent("Tray1"));
    ASSERT_TRUE(tray);
    EXPECT_TRUE(tray->NoClose);
    EXPECT_EQ(tray->Hint(), "Morvix");
    ASSERT_EQ(g_sent.size(), 1u);  // added once, when loading ended
    EXPECT_EQ(g_sent[0].tip, "Morvix");
    auto* starter = static_cast<TKVXStarter*>(form->FindComponent("Starter1"));
    EXPECT_EQ(starter->StartOperation, TKVXStarterOperation::smPrint);
    EXPECT_EQ(starter->StartOption, TKVXStarterOptions::soSW_HIDE);
    EXPECT_EQ(starter->Command(), "notepad.exe");
    EXPECT_TRUE(starter->Wait);
    EXPECT_EQ(starter->StartTime()->Year(), 2030);
    auto* files = static_cast<TKVXFileCtrl*>(form->FindComponent("FileCtrl1"));
    EXPECT_EQ(files->Options, (TKVXFileOpFlags{TKVXFileOpFlag::ffNoActionConfirm, TKVXFileOpFlag::ffUseRecycleBin}));
    auto* timer = static_cast<TKVXHiTimer*>(form->FindComponent("Timer1"));
    EXPECT_EQ(timer->Interval(), 20);
    EXPECT_FALSE(timer->UseThread());
    EXPECT_EQ(static_cast<TKVXFMDrop*>(form->FindComponent("Drop1"))->CharCase, TKVXCharCase::ccLowerCase);
    auto* ini = static_cast<TKVXIniCtrl*>(form->FindComponent("Ini1"));
    EXPECT_FALSE(ini->Common);
    EXPECT_EQ(ini->RegPath, "Software\\X");
    EXPECT_EQ(ini->IniPrefix, TKVXPathPrefix::ppProgram);
    EXPECT_TRUE(ini->AlphaCounter());
    form->Free();
    TKVXTrayIcon::SetNotifySeam(nullptr);
    KVXStopApplication();
    fw::DoneApplication();
}

}  // namespace
}  // namespace kvx::win32
