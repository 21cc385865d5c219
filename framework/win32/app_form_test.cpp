// Forms and data modules loaded from the program's resources: window identity, layout, scaling, the
// close protocol of modeless forms, frame changes, message handlers and Screen.
//
// Note for the controls unit: a form answers WM_SETCURSOR with Screen->Cursor() when that is not
// crDefault, but TWinControl::WMSetCursor answers with the control's own cursor first, so an hourglass
// set on Screen does not show over a control that has a cursor of its own. Checking Screen's cursor
// there (through a seam like SetCursorResolver) would close that gap.
#include <cstring>

#include <gtest/gtest.h>

#include "framework/win32/app_support_test.h"
#include "framework/core/formtext.h"
#include "framework/win32/threads.h"
#include "framework/win32/timers.h"
#include "framework/win32/graphics.h"

namespace apptest {
namespace {

using fw::Application;
using fw::Screen;
using FormTest = AppTest;

std::string WindowClassOf(HWND window) {
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// The shell's drop block: a header (offset of the name list, drop point, non-client flag, wide
// names), then the names, each ending in a zero, and one more zero.
struct DropHeader {
    DWORD pFiles;
    POINT pt;
    BOOL fNC;
    BOOL fWide;
};

fw::TRect ChildRectInParent(HWND child, HWND parent) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return fw::Rect(r.left, r.top, r.right, r.bottom);
}

TEST_F(FormTest, FormFromResourcesShowsUnderItsClassAndLaysOutSixPanels) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(main->Name(), "AppMainForm");
    EXPECT_TRUE(static_cast<bool>(main->OnCreate)) << "OnCreate bound by name from the form text";
    main->Show();
    HWND window = main->Handle();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_EQ(WindowClassOf(window), "TAppMainForm");
    char caption[64] = {};
    GetWindowTextA(window, caption, sizeof caption);
    EXPECT_STREQ(caption, "Layout form");
    RECT client{};
    GetClientRect(window, &client);
    EXPECT_EQ(client.right, 400);
    EXPECT_EQ(client.bottom, 300);

    struct Expected {
        TAppTestPanel* panel;
        fw::TRect rect;
    };
    const Expected table[] = {
        {main->pnlTop1, fw::Bounds(0, 0, 400, 30)},     {main->pnlTop2, fw::Bounds(0, 30, 400, 20)},
        {main->pnlBottom, fw::Bounds(0, 260, 400, 40)}, {main->pnlLeft, fw::Bounds(0, 50, 50, 210)},
        {main->pnlRight, fw::Bounds(340, 50, 60, 210)}, {main->pnlClient, fw::Bounds(50, 50, 290, 210)},
    };
    for (const Expected& e : table) {
        ASSERT_NE(e.panel, nullptr);
        SCOPED_TRACE(e.panel->Name());
        EXPECT_EQ(e.panel->BoundsRect(), e.rect);
        EXPECT_EQ(ChildRectInParent(e.panel->Handle(), window), e.rect);
        EXPECT_EQ(WindowClassOf(e.panel->Handle()), "TAppTestPanel");
    }

    // Resizing the form lays the panels out again.
    main->SetFormClientWidth(500);
    EXPECT_EQ(main->pnlRight->BoundsRect(), fw::Bounds(440, 50, 60, 210));
    EXPECT_EQ(main->pnlClient->BoundsRect(), fw::Bounds(50, 50, 390, 210));
}

TEST_F(FormTest, AFormTextThatFailsToLoadRaisesAndLeavesNoForm) {
    TAppBrokenForm* broken = nullptr;
    try {
        Application->CreateForm(broken);
        ADD_FAILURE() << "the damaged form loaded";
    } catch (const fw::Exception& e) {
        EXPECT_NE(e.Message().find("NoSuchProperty"), std::string::npos) << e.Message();
        EXPECT_NE(e.Message().find("line 4"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(broken, nullptr);
    EXPECT_EQ(Application->MainForm(), nullptr);
    EXPECT_FALSE(Application->Terminated()) << "a failed load is the caller's error, not the end of the program";
    EXPECT_EQ(Screen->FormCount(), 0);

    // The next form made becomes the main form.
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    EXPECT_EQ(Application->MainForm(), main);
}

// The application's start registers every class a program's form may hold, timers and image lists included.
TEST_F(FormTest, AFormHoldingATimerLoadsAfterTheApplicationStarts) {
    auto* form = fw::TForm::CreateNew(Application);
    fw::ReadComponentText(form,
                          "object TimerHost: TForm\n"
                          "  object Timer1: TTimer\n"
                          "    Interval = 250\n"
                          "    Enabled = False\n"
                          "  end\n"
                          "  object Images1: TImageList\n"
                          "    Width = 24\n"
                          "  end\n"
                          "end\n",
                          "TimerHost");
    auto* timer = dynamic_cast<fw::TTimer*>(form->FindComponent("Timer1"));
    ASSERT_NE(timer, nullptr);
    EXPECT_EQ(timer->Interval(), 250u);
    EXPECT_FALSE(timer->Enabled());
    EXPECT_NE(fw::MainThreadID(), 0u);
    EXPECT_NE(form->FindComponent("Images1"), nullptr);
    form->Free();
}

TEST_F(FormTest, AFormWrittenVisibleShowsAfterOnCreate) {
    auto* form = fw::CreateForm<TAppVisibleForm>(Application);
    EXPECT_FALSE(form->visibleInOnCreate);
    EXPECT_TRUE(form->Visible());
    EXPECT_TRUE(IsWindowVisible(form->Handle()));
}

TEST_F(FormTest, ScaledFormsFitTheScreenResolutionAtLoad) {
    Screen->SetPixelsPerInchOverride(120);
    auto* scaled = fw::CreateForm<TAppScaledForm>(Application);
    auto* fixed = fw::CreateForm<TAppFixedForm>(Application);
    Screen->SetPixelsPerInchOverride(0);

    EXPECT_EQ(scaled->PixelsPerInch(), 120);
    ASSERT_NE(scaled->pnlBox, nullptr);
    EXPECT_EQ(scaled->pnlBox->BoundsRect(), fw::Bounds(10, 20, 120, 60));
    EXPECT_EQ(scaled->Font()->Height(), -14);
    scaled->HandleNeeded();
    EXPECT_EQ(scaled->ClientWidth(), 240);
    EXPECT_EQ(scaled->ClientHeight(), 120);

    EXPECT_EQ(fixed->PixelsPerInch(), 96);
    EXPECT_EQ(fixed->pnlBox->BoundsRect(), fw::Bounds(8, 16, 96, 48));
    EXPECT_EQ(fixed->Font()->Height(), -11);
    fixed->HandleNeeded();
    EXPECT_EQ(fixed->ClientWidth(), 192);
}

TEST_F(FormTest, CloseOfAModelessFormFollowsOnCloseAction) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    auto* dialog = fw::CreateForm<TAppDialog>(Application);
    dialog->log = &log;

    dialog->Show();
    EXPECT_EQ(dialog->Left(), (Screen->Width() - dialog->Width()) / 2) << "poScreenCenter";
    EXPECT_EQ(dialog->Top(), (Screen->Height() - dialog->Height()) / 2);
    dialog->closeAnswers = {false};
    dialog->Close();
    EXPECT_TRUE(IsWindowVisible(dialog->Handle())) << "refused by OnCloseQuery";

    dialog->closeAction = fw::caNone;
    dialog->Close();
    EXPECT_TRUE(IsWindowVisible(dialog->Handle())) << "caNone keeps the form";

    dialog->closeAction = fw::caHide;
    dialog->Close();
    EXPECT_FALSE(IsWindowVisible(dialog->Handle()));
    EXPECT_FALSE(dialog->Visible());

    dialog->Show();
    dialog->closeAction = fw::caMinimize;
    dialog->Close();
    EXPECT_TRUE(IsIconic(dialog->Handle()));
    EXPECT_EQ(dialog->WindowState(), fw::wsMinimized);

    dialog->closeAction = fw::caFree;
    SendMessageA(dialog->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(Application->QueuedFreeCount(), 1) << "caFree releases";
    EXPECT_EQ(log, std::vector<std::string>({"AppDialog:show", "AppDialog:closequery no", "AppDialog:closequery yes",
                                             "AppDialog:close", "AppDialog:closequery yes", "AppDialog:close",
                                             "AppDialog:show", "AppDialog:closequery yes", "AppDialog:close",
                                             "AppDialog:closequery yes", "AppDialog:close"}));

    EXPECT_FALSE(Application->Terminated());
    main->Close();
    EXPECT_TRUE(Application->Terminated()) << "closing the main form ends the program";
}

TEST_F(FormTest, AFormCanLiveInsideAnotherFormsWindow) {
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    auto* inner = fw::TForm::CreateNew<TAppTestForm>(Application);
    inner->SetParentWindow(main->pnlClient->Handle());
    inner->SetBounds(4, 5, 60, 40);
    inner->Show();
    HWND window = inner->Handle();
    EXPECT_TRUE(GetWindowLongPtrA(window, GWL_STYLE) & WS_CHILD);
    EXPECT_EQ(GetParent(window), main->pnlClient->Handle());
    EXPECT_EQ(ChildRectInParent(window, main->pnlClient->Handle()), fw::Bounds(4, 5, 60, 40));
}

TEST_F(FormTest, AFormOfAClassLoadedAgainTakesAFreeNameWhateverItsOwner) {
    auto* first = fw::CreateForm<TAppDialog>(Application);
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    auto* hosted = fw::CreateForm<TAppDialog>(main);
    auto* third = fw::CreateForm<TAppDialog>(Application);
    EXPECT_EQ(first->Name(), "AppDialog");
    EXPECT_EQ(hosted->Name(), "AppDialog_1") << "another owner, but the driver tells the roots apart by name";
    EXPECT_EQ(third->Name(), "AppDialog_2");
    hosted->Free();
    EXPECT_EQ(fw::CreateForm<TAppDialog>(main)->Name(), "AppDialog_1") << "a name that came free again";
}

TEST_F(FormTest, FrameChangesInPlaceAndStayOnTop) {
    auto* dialog = fw::CreateForm<TAppDialog>(Application);
    dialog->SetBorderStyle(fw::TFormBorderStyle::bsSizeable);
    dialog->SetBorderIcons({fw::biSystemMenu, fw::biMinimize, fw::biMaximize});
    dialog->Show();
    HWND window = dialog->Handle();
    auto style = [&] { return static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)); };
    EXPECT_TRUE(style() & WS_MAXIMIZEBOX);
    dialog->SetBorderIcons({fw::biSystemMenu});
    EXPECT_EQ(dialog->Handle(), window) << "border icons change without re-creating the window";
    EXPECT_FALSE(style() & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX));
    EXPECT_TRUE(style() & WS_SYSMENU);

    // Stay-on-top, tried on an unowned form.
    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    main->Show();
    HWND mainWindow = main->Handle();
    main->SetFormStyle(fw::fsStayOnTop);
    EXPECT_TRUE(GetWindowLongPtrA(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    main->SetFormStyle(fw::fsNormal);
    EXPECT_FALSE(GetWindowLongPtrA(mainWindow, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_EQ(main->Handle(), mainWindow);

    dialog->SetBorderStyle(fw::TFormBorderStyle::bsToolWindow);
    EXPECT_TRUE(GetWindowLongPtrA(dialog->Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
    EXPECT_TRUE(IsWindowVisible(dialog->Handle())) << "a re-created form stays shown";
}

// A form subclass with handlers by message number.
class TAppHandlerForm : public TAppTestForm {
public:
    explicit TAppHandlerForm(fw::TComponent* owner) : TAppTestForm(owner) {
        AddMessageHandler(WM_GETMINMAXINFO, &TAppHandlerForm::WMGetMinMaxInfo);
        AddMessageHandler(WM_COPYDATA, &TAppHandlerForm::WMCopyData);
        AddMessageHandler(WM_USER + 333, &TAppHandlerForm::WMQueuedFolders);
    }
    std::string copied;
    int queued = 0;

private:
    void WMGetMinMaxInfo(fw::TMessage& m) {
        InheritedMessage(m);
        reinterpret_cast<MINMAXINFO*>(m.LParam)->ptMinTrackSize = POINT{321, 123};
        m.Result = 0;
    }
    void WMCopyData(fw::TMessage& m) {
        auto* data = reinterpret_cast<COPYDATASTRUCT*>(m.LParam);
        copied.assign(static_cast<const char*>(data->lpData), data->cbData);
        m.Result = 1;
    }
    void WMQueuedFolders(fw::TMessage& m) {
        queued += static_cast<int>(m.WParam);
        m.Result = 0;
    }
};

TEST_F(FormTest, HandlersByMessageNumberAndUnhandledDropsAreFinished) {
    auto* form = fw::TForm::CreateNew<TAppHandlerForm>(Application);
    HWND window = form->Handle();

    MINMAXINFO info{};
    SendMessageA(window, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 321);
    EXPECT_EQ(info.ptMinTrackSize.y, 123);

    const char payload[] = "C:\\archive.zip";
    COPYDATASTRUCT data{7, sizeof payload - 1, const_cast<char*>(payload)};
    EXPECT_EQ(SendMessageA(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data)), 1);
    EXPECT_EQ(form->copied, payload);

    PostMessageA(window, WM_USER + 333, 2, 0);
    PostMessageA(window, WM_USER + 333, 3, 0);
    Application->ProcessMessages();
    EXPECT_EQ(form->queued, 5);

    // A shell drop nobody handles is still finished (its memory freed).
    const char files[] = "C:\\a.zip\0";
    HGLOBAL drop = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DropHeader) + sizeof files + 1);
    ASSERT_NE(drop, nullptr);
    auto* header = static_cast<DropHeader*>(GlobalLock(drop));
    header->pFiles = sizeof(DropHeader);
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DropHeader), files, sizeof files);
    GlobalUnlock(drop);
    SendMessageA(window, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(GlobalSize(drop), 0u) << "DragFinish was not called";
}

TEST_F(FormTest, DataModulesLoadJoinScreenAndLeaveIt) {
    TAppModule::createdCount = TAppModule::destroyedCount = 0;
    TAppModule* module = nullptr;
    Application->CreateForm(module);
    ASSERT_NE(module, nullptr);
    EXPECT_EQ(Application->MainForm(), nullptr) << "a data module is never the main form";
    EXPECT_EQ(TAppModule::createdCount, 1);
    EXPECT_EQ(module->Name(), "AppModule");
    EXPECT_EQ(module->Width(), 215);
    auto* second = fw::CreateForm<TAppModule>(Application);
    EXPECT_EQ(second->Name(), "AppModule_1");
    ASSERT_EQ(Screen->DataModuleCount(), 2);
    EXPECT_EQ(Screen->DataModules(0), module);
    EXPECT_EQ(Screen->DataModules(1), second);

    second->Free();
    module->Free();
    EXPECT_EQ(TAppModule::destroyedCount, 2);
    EXPECT_EQ(Screen->DataModuleCount(), 0);
}

TEST_F(FormTest, ScreenListsFormsTracksActivationAndMapsCursors) {
    EXPECT_EQ(Screen->Width(), GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(Screen->Height(), GetSystemMetrics(SM_CYSCREEN));
    fw::TRect work = Screen->WorkArea();
    EXPECT_GT(work.Width(), 0);
    EXPECT_GT(work.Height(), 0);
    EXPECT_EQ(Screen->PixelsPerInch(), 96);

    EXPECT_EQ(Screen->Cursors(fw::crHourGlass), LoadCursorA(nullptr, IDC_WAIT));
    EXPECT_EQ(Screen->Cursors(fw::crDefault), LoadCursorA(nullptr, IDC_ARROW));
    HCURSOR program = LoadCursorA(nullptr, IDC_CROSS);
    Screen->SetCursors(14000, program);
    EXPECT_EQ(Screen->Cursors(14000), program);
    Screen->SetCursors(-255, program);
    EXPECT_EQ(Screen->Cursors(-255), program);
    EXPECT_EQ(fw::CursorHandle(14000), program) << "controls show the program cursors of Screen";

    TAppMainForm* main = nullptr;
    Application->CreateForm(main);
    auto* dialog = fw::CreateForm<TAppDialog>(Application);
    ASSERT_EQ(Screen->FormCount(), 2);
    EXPECT_EQ(Screen->Forms(0), main);
    EXPECT_EQ(Screen->Forms(1), dialog);

    // The main form carries the taskbar button; other forms are owned by it.
    EXPECT_TRUE(GetWindowLongPtrA(main->Handle(), GWL_EXSTYLE) & WS_EX_APPWINDOW);
    EXPECT_EQ(GetWindow(main->Handle(), GW_OWNER), nullptr);
    EXPECT_EQ(GetWindow(dialog->Handle(), GW_OWNER), main->Handle());

    int activated = 0;
    int deactivated = 0;
    main->OnActivate.Bind(&activated, [](void* c, fw::TObject*) { ++*static_cast<int*>(c); });
    main->OnDeactivate.Bind(&deactivated, [](void* c, fw::TObject*) { ++*static_cast<int*>(c); });
    main->Show();
    SetActiveWindow(main->Handle());
    Application->ProcessMessages();
    EXPECT_EQ(Screen->ActiveForm(), main);
    EXPECT_GE(activated, 1);
    dialog->Show();
    SetActiveWindow(dialog->Handle());
    Application->ProcessMessages();
    EXPECT_EQ(Screen->ActiveForm(), dialog);
    EXPECT_GE(deactivated, 1);

    // Events are readable and replaceable, so a handler can be chained.
    fw::TCloseEvent kept = dialog->OnClose;
    EXPECT_TRUE(static_cast<bool>(kept));
    struct Chain {
        fw::TCloseEvent kept;
        int calls = 0;
    } chain{kept};
    dialog->OnClose.Bind(&chain, [](void* c, fw::TObject* sender, fw::TCloseAction& action) {
        auto* ch = static_cast<Chain*>(c);
        ++ch->calls;
        ch->kept(sender, action);
    });
    dialog->log = &log;
    dialog->Close();
    EXPECT_EQ(chain.calls, 1);
    EXPECT_EQ(log.back(), "AppDialog:close");
    dialog->OnClose = kept;
    EXPECT_TRUE(dialog->OnClose == kept);

    dialog->Free();
    main->OnActivate = nullptr;
    main->OnDeactivate = nullptr;
    EXPECT_EQ(Screen->FormCount(), 1);
    EXPECT_NE(Screen->ActiveForm(), dialog);
}

}  // namespace
}  // namespace apptest
