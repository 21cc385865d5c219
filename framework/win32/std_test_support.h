// Shared pieces of the standard-control and keyboard tests: a fresh application per test, a shown
// form built in code, keys posted to the focused window the way the keyboard sends them.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "framework/win32/application.h"
#include "framework/win32/forms.h"

namespace fw::stdtest {

class StdControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitApplication();
        Application->Initialize();
    }
    void TearDown() override { DoneApplication(); }

    // A form of `width` x `height` client pixels at (40, 40), not yet shown.
    template <class F = TForm>
    F* NewForm(int width = 400, int height = 300) {
        auto* form = TForm::CreateNew<F>(Application);
        form->SetBounds(40, 40, width, height);
        form->SetCaption("Test");
        return form;
    }

    template <class C>
    C* Add(TWinControl* parent, int left, int top, int width, int height, const std::string& name = {}) {
        C* control = Make<C>(parent->IsForm() ? static_cast<TComponent*>(parent) : parent->Owner());
        if (!name.empty()) control->SetName(name);
        control->SetParent(parent);
        control->SetBounds(left, top, width, height);
        return control;
    }

    static void Pump() {
        for (int i = 0; i < 3; ++i) Application->ProcessMessages();
    }

    // Posts a key press (down, up) to the focused window with the modifiers held, then runs the loop.
    static void Press(UINT key, bool shift = false, bool ctrl = false, bool alt = false) {
        BYTE state[256] = {};
        GetKeyboardState(state);
        auto put = [&](int vk, bool down) { state[vk] = down ? 0x80 : 0; };
        put(VK_SHIFT, shift);
        put(VK_LSHIFT, shift);
        put(VK_CONTROL, ctrl);
        put(VK_LCONTROL, ctrl);
        put(VK_MENU, alt);
        put(VK_LMENU, alt);
        SetKeyboardState(state);
        HWND target = GetFocus();
        const LPARAM data = 1 | (static_cast<LPARAM>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC)) << 16) | (alt ? (1 << 29) : 0);
        PostMessageA(target, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, key, data);
        PostMessageA(target, alt ? WM_SYSKEYUP : WM_KEYUP, key, data | (static_cast<LPARAM>(3) << 30));
        Pump();
        put(VK_SHIFT, false);
        put(VK_LSHIFT, false);
        put(VK_CONTROL, false);
        put(VK_LCONTROL, false);
        put(VK_MENU, false);
        put(VK_LMENU, false);
        SetKeyboardState(state);
    }
};

}  // namespace fw::stdtest
