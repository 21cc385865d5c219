// The caption check under Wine: its measure of a system button or text against what the system
// draws, and a program's check of its own forms (caption_app, started with FW_CAPTION_CHECK).
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "framework/win32/caption_check.h"
#include "framework/win32/controls_test_support.h"
#include "testing/test_env.h"

namespace {

using fw::testing::DibSurface;

struct Kind {
    const char* name;
    const char* windowClass;
    DWORD style;
    int height;
    bool centred;     // a push button centres its caption
    bool exact;       // the measure asks for no more than the system needs to draw it whole
};

const Kind kKinds[] = {
    {"push button", "BUTTON", BS_PUSHBUTTON, 25, true, true},
    {"check box", "BUTTON", BS_AUTOCHECKBOX, 17, false, true},
    {"radio button", "BUTTON", BS_AUTORADIOBUTTON, 17, false, true},
    {"text", "STATIC", SS_LEFT, 13, false, true},
    {"text without wrapping", "STATIC", SS_LEFTNOWORDWRAP, 13, false, true},
    // The caption should end as far from the frame's right end as it starts from its left end.
    {"group box", "BUTTON", BS_GROUPBOX, 40, false, false},
};

bool Dark(fw::TColor c) { return (c & 0xFF) < 64 && ((c >> 8) & 0xFF) < 64 && ((c >> 16) & 0xFF) < 64; }

// A system window of `kind`, `width` pixels wide, painted into a bitmap through WM_PRINTCLIENT.
class Painted {
public:
    Painted(HWND parent, const Kind& kind, HFONT font, const char* text, int width)
        : surface(width, kind.height), width(width) {
        window = CreateWindowExA(0, kind.windowClass, text, WS_CHILD | kind.style, 0, 0, width, kind.height, parent,
                                 nullptr, GetModuleHandleA(nullptr), nullptr);
        SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        surface.Clear(static_cast<fw::TColor>(GetSysColor(COLOR_BTNFACE)));
        SendMessageA(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(surface.DC()), PRF_CLIENT | PRF_ERASEBKGND);
    }
    ~Painted() { DestroyWindow(window); }
    Painted(const Painted&) = delete;
    Painted& operator=(const Painted&) = delete;

    HWND window = nullptr;
    DibSurface surface;
    int width;
};

// Whether the narrow painting shows the caption as whole as a painting with room to spare: the same
// dark pixels inside a push button's frame, or the same pixels up to the text's last one.
bool Whole(const Kind& kind, const Painted& narrow, const Painted& wide) {
    const int rows = kind.windowClass[0] == 'B' && kind.style == BS_GROUPBOX ? 14 : kind.height;
    if (kind.centred) {
        auto dark = [&](const Painted& p) {
            int n = 0;
            for (int y = 3; y < kind.height - 3; ++y)
                for (int x = 3; x < p.width - 3; ++x) n += Dark(p.surface.Pixel(x, y));
            return n;
        };
        return dark(narrow) == dark(wide);
    }
    int last = -1;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x < wide.width; ++x)
            if (Dark(wide.surface.Pixel(x, y))) last = std::max(last, x);
    if (last < 0 || last >= narrow.width) return false;
    for (int y = 0; y < rows; ++y)
        for (int x = 0; x <= last; ++x)
            if (narrow.surface.Pixel(x, y) != wide.surface.Pixel(x, y)) return false;
    return true;
}

TEST(CaptionCheck, TheMeasureOfASystemCaptionIsWhatTheSystemNeedsToDrawItWhole) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 100, nullptr, nullptr, nullptr, nullptr);
    const char* text = "Confirm &overwrite";
    for (int height : {-11, -20}) {
        HFONT font = CreateFontA(height, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, "MS Sans Serif");
        for (const Kind& kind : kKinds) {
            SCOPED_TRACE(std::string(kind.name) + ", font height " + std::to_string(height));
            int needed = 0, room = 0;
            {
                Painted probe(parent, kind, font, text, 60);
                ASSERT_TRUE(fw::MeasureSystemCaption(probe.window, kind.windowClass[0] == 'B', font, text, needed, room));
                EXPECT_EQ(room, 60);
            }
            Painted wide(parent, kind, font, text, needed + 200);
            Painted fitting(parent, kind, font, text, needed);
            EXPECT_TRUE(Whole(kind, fitting, wide)) << "drawn whole at the " << needed << " pixels measured";
            if (kind.exact) {
                Painted narrower(parent, kind, font, text, needed - 2);
                EXPECT_FALSE(Whole(kind, narrower, wide)) << "cut off two pixels narrower";
            }
        }
        DeleteObject(font);
    }
    DestroyWindow(parent);
}

TEST(CaptionCheck, TextsTwoLinesHighAndPicturesHaveNoOneLineCaption) {
    HWND parent = CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 600, 100, nullptr, nullptr, nullptr, nullptr);
    auto* font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    struct Case {
        const char* windowClass;
        DWORD style;
        int height;
        bool measured;
    } cases[] = {
        {"STATIC", SS_LEFT, 13, true},           {"STATIC", SS_LEFT, 40, false},
        {"STATIC", SS_LEFTNOWORDWRAP, 40, true}, {"STATIC", SS_LEFT | SS_ENDELLIPSIS, 13, false},
        {"STATIC", SS_ETCHEDFRAME, 13, false},   {"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE, 40, false},
        {"BUTTON", BS_AUTOCHECKBOX | BS_MULTILINE, 17, true}, {"BUTTON", BS_OWNERDRAW, 25, false},
    };
    for (const Case& c : cases) {
        HWND w = CreateWindowExA(0, c.windowClass, "Some caption", WS_CHILD | c.style, 0, 0, 50, c.height, parent,
                                 nullptr, nullptr, nullptr);
        SendMessageA(w, WM_SETFONT, reinterpret_cast<WPARAM>(font), 0);
        int needed = 0, room = 0;
        EXPECT_EQ(fw::MeasureSystemCaption(w, c.windowClass[0] == 'B', font, "Some caption", needed, room), c.measured)
            << c.windowClass << " style " << std::hex << c.style << " height " << std::dec << c.height;
        DestroyWindow(w);
    }
    DestroyWindow(parent);
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// caption_app checks its forms: every cut-off caption is named with its form, the data module's
// action gives a button its caption, OnCreate does not run, the unregistered form is an error, and
// the program ends with code 1 before it shows anything.
TEST(CaptionCheck, AProgramStartedForTheCheckReportsEveryCaptionCutOffAndEnds) {
    const std::string report = mx::test::FreshDir() + "\\captions.txt";
    SetEnvironmentVariableA("FW_CAPTION_CHECK", report.c_str());
    std::string command = "\"" + mx::test::HostPath(MX_CAPTION_APP) + "\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    const BOOL started = CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi);
    SetEnvironmentVariableA("FW_CAPTION_CHECK", nullptr);
    ASSERT_TRUE(started);
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hThread);
    CloseHandle(pi.hProcess);
    EXPECT_EQ(code, 1u);

    std::set<std::string> clipped, checked, errors;
    for (const std::string& line : Lines(mx::test::ReadFile(report))) {
        std::cout << line << "\n";
        if (line.rfind("clipped ", 0) == 0) clipped.insert(line.substr(8, line.find(' ', 8) - 8));
        if (line.rfind("checked ", 0) == 0) checked.insert(line.substr(8, line.find(':') - 8));
        if (line.rfind("error ", 0) == 0) errors.insert(line);
    }
    EXPECT_EQ(checked, (std::set<std::string>{"TFRMCAPTIONS (TfrmCaptions)"})) << "forms only, not the data module";
    EXPECT_EQ(clipped, (std::set<std::string>{"frmCaptions.chkNarrow", "frmCaptions.rbNarrow", "frmCaptions.btnNarrow",
                                              "frmCaptions.btnTest", "frmCaptions.bbNarrow", "frmCaptions.lblNarrow",
                                              "frmCaptions.pnlNarrow", "frmCaptions.rgNarrow",
                                              "frmCaptions.rgNarrow[1]"}));
    EXPECT_EQ(errors, (std::set<std::string>{"error TFRMGHOST: class TfrmGhost is not registered"}));
}

}  // namespace
