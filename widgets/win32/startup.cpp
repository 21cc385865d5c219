#include "widgets/win32/startup.h"

#include <memory>

#include "framework/core/sysutils.h"
#include "framework/win32/application.h"
#include "framework/win32/graphics.h"
#include "framework/win32/screen.h"
#include "framework/win32/utilwindow.h"
#include "framework/win32/winapi.h"

#include <mmsystem.h>
#include "widgets/kvxutils.h"
#include "widgets/kvxwave.h"
#include "widgets/win32/kvxcontainer.h"
#include "widgets/win32/register.h"
#include "widgets/win32/sysinfo.h"

namespace kvx::win32 {

namespace {

// The pool's tick: SetTimer on a hidden window of the GUI thread.
class WindowTickSource final : public TKVXTickSource {
public:
    ~WindowTickSource() override {
        Stop();
        fw::DeallocateHWnd(window_);
    }
    bool Start(unsigned milliseconds, std::function<void()> tick) override {
        tick_ = std::move(tick);
        if (!window_) {
            window_ = fw::AllocateHWnd([this](HWND h, UINT msg, WPARAM w, LPARAM l) -> LRESULT {
                if (msg == WM_TIMER) {
                    if (tick_) tick_();
                    return 0;
                }
                return DefWindowProcA(h, msg, w, l);
            });
        }
        return SetTimer(window_, 1, milliseconds, nullptr) != 0;
    }
    void Stop() override {
        if (window_) KillTimer(window_, 1);
    }

private:
    HWND window_ = nullptr;
    std::function<void()> tick_;
};

struct Services {
    HANDLE mutex = nullptr;
    HCURSOR ownCursor = nullptr;
    fw::TBitmap* checker = nullptr;
    fw::TColor checkerColor = 0x1FFFFFFF;  // no colour yet
    fw::TBitmap* pattern = nullptr;
};
Services g_services;

std::string ModulePath() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    return path;
}

// A pointing hand, 32x32: '#' black, '.' white, ' ' transparent. Hot spot at the fingertip (6, 0).
const char* const kHand[] = {
    "     ##                         ", "    #..#                        ", "    #..#                        ",
    "    #..#                        ", "    #..#                        ", "    #..###                      ",
    "    #..#..###                   ", "    #..#..#..##                 ", "    #..#..#..#.#                ",
    "### #..#..#..#..#               ", "#..##........#..#               ", "#...#...........#               ",
    " #..#...........#               ", "  #.............#               ", "  #.............#               ",
    "   #............#               ", "   #...........#                ", "    #..........#                ",
    "    #.........#                 ", "     #........#                 ", "     #........#                 ",
    "     ##########                 ",
};

HCURSOR DrawHandCursor() {
    BYTE andMask[32 * 4];
    BYTE xorMask[32 * 4];
    std::fill(std::begin(andMask), std::end(andMask), 0xFF);
    std::fill(std::begin(xorMask), std::end(xorMask), 0x00);
    for (size_t y = 0; y < std::size(kHand); ++y) {
        for (int x = 0; x < 32; ++x) {
            const char c = kHand[y][x];
            const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
            if (c == ' ') continue;
            andMask[y * 4 + x / 8] &= static_cast<BYTE>(~bit);
            if (c == '.') xorMask[y * 4 + x / 8] |= bit;
        }
    }
    return CreateCursor(GetModuleHandleA(nullptr), 6, 0, 32, 32, andMask, xorMask);
}

// Waves play through the system's asynchronous player, from the wave's own memory.
TKVXWavePlayer SystemWavePlayer() {
    TKVXWavePlayer player;
    player.DeviceAvailable = [] { return waveOutGetNumDevs() > 0; };
    player.Play = [](const uint8_t* image, size_t) {
        return sndPlaySoundA(reinterpret_cast<const char*>(image), SND_ASYNC | SND_NODEFAULT | SND_MEMORY) != FALSE;
    };
    player.Stop = [] { sndPlaySoundA(nullptr, 0); };
    return player;
}

}  // namespace

std::string KVXInstanceMutexName() { return fw::ExtractFileName(fw::ParamStr(0)); }

TKVXApplication* KVXStartApplication() {
    if (KVXApplication) return KVXApplication;
    KVXRegisterWin32Classes();
    KVXSetFolderSource({ModulePath, [] { return KVXWindowsPath(); }, [] { return KVXSystemPath(); }});
    KVXSetUserNameSource([] { return KVXUserName(); });
    KVXSetTickSourceFactory([] { return std::make_unique<WindowTickSource>(); });
    KVXSetExceptionReporter([](TObject* sender) {
        if (fw::Application) fw::Application->HandleException(sender, std::current_exception());
    });

    KVXSetWavePlayer(SystemWavePlayer());

    TKVXApplication* app = KVXCreateApplication();
    KVXCreateContainer();
    SetLastError(0);
    g_services.mutex = CreateMutexA(nullptr, FALSE, KVXInstanceMutexName().c_str());
    app->SecondInstance = g_services.mutex && GetLastError() == ERROR_ALREADY_EXISTS;

    HCURSOR hand = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(kHandCursorResource));
    if (!hand) hand = g_services.ownCursor = DrawHandCursor();
    if (fw::Screen && hand) fw::Screen->SetCursors(crKVXHand, hand);
    return app;
}

void KVXStopApplication() {
    fw::FreeAndNil(g_services.checker);
    fw::FreeAndNil(g_services.pattern);
    g_services.checkerColor = 0x1FFFFFFF;
    KVXDestroyContainer();
    KVXDestroyApplication();
    KVXSetWavePlayer({});
    if (g_services.mutex) CloseHandle(g_services.mutex);
    g_services.mutex = nullptr;
    if (g_services.ownCursor) {
        if (fw::Screen) fw::Screen->SetCursors(crKVXHand, nullptr);
        DestroyCursor(g_services.ownCursor);
        g_services.ownCursor = nullptr;
    }
    KVXSetTickSourceFactory({});
    KVXSetExceptionReporter({});
}

fw::TBitmap* KVXCheckerBitmap(fw::TColor color) {
    if (!g_services.checker) {
        g_services.checker = new fw::TBitmap();
        g_services.checker->SetSize(8, 8);
        fw::TCanvas* canvas = g_services.checker->Canvas();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x) canvas->SetPixels(x, y, fw::clWhite);
    }
    if (color != g_services.checkerColor) {
        fw::TCanvas* canvas = g_services.checker->Canvas();
        for (int y = 0; y < 8; ++y)
            for (int x = 0; x < 8; ++x)
                if ((x & 1) != (y & 1)) canvas->SetPixels(x, y, color);
        g_services.checkerColor = color;
    }
    return g_services.checker;
}

fw::TBitmap* KVXCheckerPattern() {
    if (!g_services.pattern) {
        g_services.pattern = new fw::TBitmap();
        g_services.pattern->Assign(KVXCheckerBitmap(fw::clBlack));
    }
    return g_services.pattern;
}

}  // namespace kvx::win32
