// The form component on real windows: its placement through the registry, size limits enforced by
// the system, stored data that is missing or corrupted, window events and dropped files.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "framework/core/formtext.h"
#include "framework/core/rtti.h"
#include "framework/win32/forms.h"
#include "framework/win32/screen.h"
#include "framework/win32/std_panel.h"
#include "framework/win32/winapi.h"
#include "widgets/win32/kvxform.h"
#include "widgets/win32/testsupport/controlhost.h"
#include "widgets/win32/testsupport/wine_support.h"

#include <shlobj.h>

namespace kvx::win32 {
namespace {

const auto* const g_env = ::testing::AddGlobalTestEnvironment(new test::TSuiteEnvironment);

using test::Pump;

constexpr const char* kRegPath = "Software\\MXTest\\KVXForm";

class TPlaceForm : public fw::TForm {
public:
    using TForm::TForm;
};

// A form read from text with its settings store and form component; Extra goes into the component.
std::string FormText(const std::string& extra) {
    return std::string(R"(object PlaceForm: TPlaceForm
  Left = 60
  Top = 50
  Width = 320
  Height = 240
  Caption = 'Placement'
  object Ini: TKVXIniCtrl
    Target = itRegistry
    RegPath = 'Software\MXTest\KVXForm'
  end
  object Place: TKVXForm
    IniUse = ioUseLink
    IniLink = Ini
)") + extra + R"(
  end
end
)";
}

class KVXFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        fw::Class<TPlaceForm, fw::TForm>("TPlaceForm");
        RegDeleteTreeA(HKEY_CURRENT_USER, kRegPath);
    }
    void TearDown() override {
        for (fw::TForm* f : forms_) f->Free();
        RegDeleteTreeA(HKEY_CURRENT_USER, kRegPath);
    }
    // Reads a form with its component, ready to show.
    TPlaceForm* Make(const std::string& extra = "") {
        auto* f = fw::TForm::CreateNew<TPlaceForm>(nullptr);
        fw::ReadComponentText(f, FormText(extra), "PlaceForm");
        forms_.push_back(f);
        return f;
    }
    static TKVXForm* Component(fw::TForm* f) { return dynamic_cast<TKVXForm*>(f->FindComponent("Place")); }
    void Free(fw::TForm* f) {
        std::erase(forms_, f);
        f->Free();
    }
    // Stores a value the way the component would find it.
    static void Store(const std::string& ident, const std::string& value) {
        auto* ini = fw::Make<TKVXIniCtrl>(nullptr);
        ini->SetTarget(TKVXIniTarget::itRegistry);
        ini->RegPath = kRegPath;
        ini->WriteString("Common", ident, value);
        ini->Free();
    }
    static RECT WindowRect(fw::TForm* f) {
        RECT r{};
        GetWindowRect(f->Handle(), &r);
        return r;
    }

    std::vector<fw::TForm*> forms_;
};

TEST_F(KVXFormTest, PlacementRoundTripsThroughTheRegistry) {
    TPlaceForm* first = Make();
    first->Show();
    Pump();
    SetWindowPos(first->Handle(), nullptr, 123, 77, 300, 220, SWP_NOZORDER | SWP_NOACTIVATE);
    Pump();
    Free(first);  // destroying the form saves its placement

    // The line as the system's own registry tool shows it.
    const test::CaseDir dir = test::NewCaseDir();
    std::string output;
    ASSERT_EQ(test::RunCommand("reg query \"HKCU\\Software\\MXTest\\KVXForm\\Common\" /v PlaceForm", dir.win, output), 0)
        << output;
    EXPECT_NE(output.find("200,0,1,123,77,423,297"), std::string::npos) << output;

    int noData = 0;
    TPlaceForm* second = Make();
    Component(second)->OnNoRestoreData.Bind(&noData, [](void* n, TObject*) { ++*static_cast<int*>(n); });
    second->Show();
    Pump();
    const RECT r = WindowRect(second);
    EXPECT_EQ(r.left, 123);
    EXPECT_EQ(r.top, 77);
    EXPECT_EQ(r.right - r.left, 300);
    EXPECT_EQ(r.bottom - r.top, 220);
    EXPECT_EQ(noData, 0);
    Free(second);
}

TEST_F(KVXFormTest, RestoredPositionOutlivesTheFormsOwnCentring) {
    Store("PlaceForm", "200,0,1,123,77,443,317");
    auto* f = fw::TForm::CreateNew<TPlaceForm>(nullptr);
    forms_.push_back(f);
    std::string text = FormText("");
    text.insert(text.find("  object Ini"), "  Position = poScreenCenter\n");
    fw::ReadComponentText(f, text, "PlaceForm");
    f->Show();
    Pump();
    EXPECT_EQ(WindowRect(f).left, 123);
    EXPECT_EQ(WindowRect(f).top, 77);
}

TEST_F(KVXFormTest, PlacementOffTheScreenComesBackOntoIt) {
    struct Case {
        const char* stored;
        RECT want;
    };
    const int w = fw::Screen->Width(), h = fw::Screen->Height();
    const std::string beyond = "200,0,1," + std::to_string(w + 100) + "," + std::to_string(h + 50) + "," +
                               std::to_string(w + 400) + "," + std::to_string(h + 250);
    const Case cases[] = {{"200,0,1,-500,-300,-200,-100", {0, 0, 300, 200}},
                          {beyond.c_str(), {w - 300, h - 200, w, h}}};
    for (const Case& c : cases) {
        Store("PlaceForm", c.stored);
        TPlaceForm* f = Make();
        f->Show();
        Pump();
        const RECT r = WindowRect(f);
        EXPECT_EQ(r.left, c.want.left) << c.stored;
        EXPECT_EQ(r.top, c.want.top) << c.stored;
        EXPECT_EQ(r.right, c.want.right) << c.stored;
        EXPECT_EQ(r.bottom, c.want.bottom) << c.stored;
        Free(f);
    }
}

TEST_F(KVXFormTest, StoredMaximizedStateComesBack) {
    Store("PlaceForm", "200,0,3,90,70,390,290");
    TPlaceForm* f = Make();
    f->Show();
    Pump();
    EXPECT_TRUE(IsZoomed(f->Handle()));
    EXPECT_EQ(f->WindowState(), fw::wsMaximized);
    Free(f);
}

TEST_F(KVXFormTest, MissingOrCorruptedDataCentresTheDialog) {
    struct Case {
        const char* why;
        const char* placement;
        const char* colour;
        const char* font;
    };
    const Case cases[] = {
        {"six items", "200,0,1,100,80,740", "", ""},
        {"not led by 200", "199,0,1,100,80,740,560", "", ""},
        {"a non-numeric item", "200,0,1,1e2,80,740,560", "", ""},
        {"an unreadable colour and font besides", "200,0,1,x,80,740,560", "clNoSuchColour", "Arial,10,clBogus,1,0,0,0"},
    };
    for (const Case& c : cases) {
        Store("PlaceForm", c.placement);
        Store("PlaceFormColor", c.colour);
        Store("PlaceFormFont", c.font);
        TPlaceForm* f = Make("    Options = [foAutoCenter, foAutoShow]\n    IniSaveOptions = [soColor, soFont, soPos, soSize]");
        const fw::TColor colour = f->Color();
        int noData = 0;
        Component(f)->OnNoRestoreData.Bind(&noData, [](void* n, TObject*) { ++*static_cast<int*>(n); });
        // The dialog opens modal and is closed from inside its loop.
        PostMessageA(f->Handle(), WM_CLOSE, 0, 0);
        EXPECT_EQ(f->ShowModal(), fw::mrCancel) << c.why;
        EXPECT_EQ(noData, 1) << c.why;
        EXPECT_EQ(f->Left(), (fw::Screen->Width() - f->Width()) / 2) << c.why;
        EXPECT_EQ(f->Top(), (fw::Screen->Height() - f->Height()) / 2) << c.why;
        EXPECT_EQ(f->Color(), colour) << c.why;
        Free(f);
    }
}

TEST_F(KVXFormTest, StoredStateWithoutAutoShowKeepsTheFormShown) {
    Store("PlaceForm", "200,0,0,90,70,390,290");  // show command 0 hides
    // The form's own OnShow runs after the placement is applied: the window must not be hidden then.
    auto* f = fw::TForm::CreateNew<TPlaceForm>(nullptr);
    forms_.push_back(f);
    int visibleInShow = -1;
    f->OnShow.Bind(&visibleInShow, [](void* v, TObject* sender) {
        *static_cast<int*>(v) = IsWindowVisible(static_cast<fw::TForm*>(sender)->Handle()) ? 1 : 0;
    });
    fw::ReadComponentText(f, FormText("    Options = []"), "PlaceForm");
    f->Show();
    Pump();
    EXPECT_EQ(visibleInShow, 1);
    EXPECT_TRUE(IsWindowVisible(f->Handle()));
    EXPECT_EQ(WindowRect(f).left, 90);
    Free(f);
}

TEST_F(KVXFormTest, LimitsAreEnforcedThroughMinMaxInfo) {
    TPlaceForm* f = Make("    IniUse = ioNone\n    TrackMaxWidth = 400\n    TrackMinHeight = 150\n"
                         "    MaximizedWidth = -2\n    MaximizedPosY = 5");
    f->Show();
    Pump();
    SetWindowPos(f->Handle(), nullptr, 0, 0, 900, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT r = WindowRect(f);
    EXPECT_EQ(r.right - r.left, 400);
    EXPECT_EQ(r.bottom - r.top, 150);

    MINMAXINFO info{};
    info.ptMaxSize = {7, 8};
    SendMessageA(f->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMaxSize.x, fw::Screen->Width() / 2);
    EXPECT_EQ(info.ptMaxPosition.y, 5);
    EXPECT_EQ(info.ptMaxTrackSize.x, 400);
    EXPECT_EQ(info.ptMinTrackSize.y, 150);

    // A track handler takes the fields over; the limits are then not applied.
    Component(f)->OnTrackInfo.Bind(nullptr, [](void*, TObject*, int& minW, int&, int& maxW, int&) {
        minW = 111;
        maxW = 999;
    });
    SendMessageA(f->Handle(), WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 111);
    EXPECT_EQ(info.ptMaxTrackSize.x, 999);
}

TEST_F(KVXFormTest, MovingCanBeCancelled) {
    TPlaceForm* f = Make("    IniUse = ioNone");
    f->Show();
    Pump();
    struct Log {
        bool cancel = true;
        std::vector<POINT> seen;
    } log;
    Component(f)->OnMoving.Bind(&log, [](void* p, TObject*, int x, int y, bool& cancel) {
        auto* l = static_cast<Log*>(p);
        l->seen.push_back({x, y});
        cancel = l->cancel;
    });
    const RECT before = WindowRect(f);
    SetWindowPos(f->Handle(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_FALSE(log.seen.empty());
    EXPECT_EQ(log.seen.back().x, 300);
    EXPECT_EQ(log.seen.back().y, 200);
    EXPECT_EQ(WindowRect(f).left, before.left);
    EXPECT_EQ(WindowRect(f).top, before.top);
    log.cancel = false;
    SetWindowPos(f->Handle(), nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(WindowRect(f).left, 300);
    Free(f);  // before the log its handler writes to
}

TEST_F(KVXFormTest, DroppedFilesSkipLongNamesAndAreFreedOnce) {
    TPlaceForm* f = Make("    IniUse = ioNone\n    AcceptFiles = True\n    CharCase = ccUpperCase");
    HWND h = f->Handle();
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    struct Log {
        int fcount = 0, x = 0, y = 0;
        std::vector<std::string> names;
    } log;
    Component(f)->OnFMDragDrop.Bind(&log, [](void* p, TObject*, int fcount, int x, int y, fw::TStrings* list) {
        auto* l = static_cast<Log*>(p);
        l->fcount = fcount;
        l->x = x;
        l->y = y;
        for (int i = 0; i < list->Count(); ++i) l->names.push_back(list->Strings(i));
    });
    const std::string longName = "C:\\" + std::string(296, 'x') + ".zip";  // 300 characters
    HDROP drop = test::MakeDrop({"c:\\d\xE9j\xE0\\one.zip", longName, "d:\\two.arj"}, {12, 34});
    SendMessageA(h, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0);
    EXPECT_EQ(log.fcount, 3);
    EXPECT_EQ(log.x, 12);
    EXPECT_EQ(log.y, 34);
    EXPECT_EQ(log.names, (std::vector<std::string>{"C:\\D\xE9J\xE0\\ONE.ZIP", "D:\\TWO.ARJ"}));
    EXPECT_EQ(GlobalSize(drop), 0u) << "the form did not free the drop";

    Component(f)->SetAcceptFiles(false);
    EXPECT_FALSE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    Free(f);
}

TEST_F(KVXFormTest, AdaptResolutionTakesControlsBackToTheirDesign) {
    // Read on a 192-pixels-per-inch screen, the framework doubles the form written at 96.
    fw::Screen->SetPixelsPerInchOverride(192);
    struct Case {
        const char* options;
        fw::TRect want;
    };
    const Case cases[] = {{"[foAutoShow, foTryAdaptRes]", {100, 20, 300, 70}}, {"[foAutoShow]", {200, 40, 600, 140}}};
    for (const Case& c : cases) {
        auto* f = fw::TForm::CreateNew<TPlaceForm>(nullptr);
        forms_.push_back(f);
        fw::ReadComponentText(f, R"(object PlaceForm: TPlaceForm
  PixelsPerInch = 96
  object Inner: TPanel
    Left = 100
    Top = 20
    Width = 200
    Height = 50
  end
  object Place: TKVXForm
    Options = )" + std::string(c.options) + R"(
  end
end
)",
                              "PlaceForm");
        auto* inner = dynamic_cast<fw::TControl*>(f->FindComponent("Inner"));
        ASSERT_NE(inner, nullptr);
        EXPECT_EQ(inner->Width(), 400) << c.options;
        f->Show();
        f->Hide();
        f->Show();  // at most once
        EXPECT_EQ(inner->BoundsRect(), c.want) << c.options;
        Free(f);
    }
    fw::Screen->SetPixelsPerInchOverride(0);
}

TEST_F(KVXFormTest, WindowMessagesBecomeEvents) {
    TPlaceForm* f = Make("    IniUse = ioNone");
    TKVXForm* place = Component(f);
    HWND h = f->Handle();
    std::vector<std::string> log;
    place->OnAPMSuspendRequest.Bind(&log, [](void* p, TObject*, bool& cancel) {
        static_cast<std::vector<std::string>*>(p)->push_back("suspend");
        cancel = true;
    });
    place->OnAPMResume.Bind(&log, [](void* p, TObject*) { static_cast<std::vector<std::string>*>(p)->push_back("resume"); });
    place->OnAPMCriticalResume.Bind(&log, [](void* p, TObject*) {
        static_cast<std::vector<std::string>*>(p)->push_back("critical");
    });
    place->OnDisplayChange.Bind(&log, [](void* p, TObject*, uint16_t x, uint16_t y, uint16_t bits) {
        static_cast<std::vector<std::string>*>(p)->push_back("display " + std::to_string(x) + "x" + std::to_string(y) +
                                                             "x" + std::to_string(bits));
    });
    place->OnIniChange.Bind(&log, [](void* p, TObject*, const std::string& section) {
        static_cast<std::vector<std::string>*>(p)->push_back("ini " + section);
    });
    place->OnCompacting.Bind(&log, [](void* p, TObject*, int value) {
        static_cast<std::vector<std::string>*>(p)->push_back("compacting " + std::to_string(value));
    });
    // The system never sends these any more: the test does.
    EXPECT_EQ(SendMessageA(h, WM_POWER, PWR_SUSPENDREQUEST, 0), PWR_FAIL);
    SendMessageA(h, WM_POWER, PWR_SUSPENDRESUME, 0);
    SendMessageA(h, WM_POWER, PWR_CRITICALRESUME, 0);
    SendMessageA(h, WM_COMPACTING, 0x8000, 0);
    SendMessageA(h, WM_DISPLAYCHANGE, 32, MAKELPARAM(1024, 768));
    SendMessageA(h, WM_WININICHANGE, 0, reinterpret_cast<LPARAM>("intl"));
    EXPECT_EQ(log, (std::vector<std::string>{"suspend", "resume", "critical", "compacting 32768", "display 1024x768x32",
                                             "ini intl"}));

    // Disabled, the component lets every message pass untouched.
    place->SetEnabled(false);
    log.clear();
    EXPECT_NE(SendMessageA(h, WM_POWER, PWR_SUSPENDREQUEST, 0), PWR_FAIL);
    EXPECT_TRUE(log.empty());
    Free(f);
}

}  // namespace
}  // namespace kvx::win32
