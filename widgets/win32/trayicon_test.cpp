// The tray icon under Wine: the notification data it sends, the event order of the icon's mouse
// messages, and what minimizing and closing its form do while it is active.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/win32/application.h"
#include "framework/win32/forms.h"
#include "framework/win32/menus.h"
#include "framework/win32/winapi.h"
#include "widgets/win32/startup.h"
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
