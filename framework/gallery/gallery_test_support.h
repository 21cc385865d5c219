// What the gallery tests share: the gallery form shown afresh for each test inside one application,
// a loop that runs posted input, and readers of the system controls' own state.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "framework/gallery/gallery_form.h"
#include "framework/win32/application.h"
#include "framework/win32/winapi.h"

namespace gallery {

inline void Pump(int rounds = 3) {
    for (int i = 0; i < rounds; ++i) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

// The application's own loop, as the program runs it: keys pass the keyboard chain first.
inline void RunLoop(int rounds = 3) {
    for (int i = 0; i < rounds; ++i) {
        fw::Application->ProcessMessages();
        Sleep(10);
    }
}

inline std::string ListBoxText(HWND window, int index) {
    char text[256] = {};
    SendMessageA(window, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text));
    return text;
}

inline std::string ListViewText(HWND window, int item, int sub) {
    char text[256] = {};
    LVITEMA lv{};
    lv.iSubItem = sub;
    lv.pszText = text;
    lv.cchTextMax = sizeof text;
    SendMessageA(window, LVM_GETITEMTEXTA, static_cast<WPARAM>(item), reinterpret_cast<LPARAM>(&lv));
    return text;
}

inline std::string HeaderText(HWND header, int index, int* width = nullptr) {
    char text[256] = {};
    HDITEMA hd{};
    hd.mask = HDI_TEXT | HDI_WIDTH;
    hd.pszText = text;
    hd.cchTextMax = sizeof text;
    SendMessageA(header, HDM_GETITEMA, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&hd));
    if (width) *width = hd.cxy;
    return text;
}

inline std::string TreeText(HWND tree, HTREEITEM item) {
    char text[256] = {};
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = text;
    tv.cchTextMax = sizeof text;
    SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&tv));
    return text;
}

inline std::string StatusText(HWND bar, int part) {
    char text[256] = {};
    SendMessageA(bar, SB_GETTEXTA, static_cast<WPARAM>(part), reinterpret_cast<LPARAM>(text));
    return text;
}

inline std::string WindowTextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

inline LPARAM At(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class GalleryTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        fw::InitApplication();
        RegisterGalleryClasses();
        fw::Application->Initialize();
    }
    static void TearDownTestSuite() { fw::DoneApplication(); }

    void SetUp() override {
        form = fw::CreateForm<TfrmGallery>(nullptr);
        form->Show();
        Pump();
    }
    void TearDown() override {
        form->Free();
        Pump();
    }

    TfrmGallery* form = nullptr;
};

}  // namespace gallery
