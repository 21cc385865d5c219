// Shared pieces of the standard-control and keyboard tests: a fresh application per test, a shown
// form built in code, keys posted to the focused window the way the keyboard sends them, and input
// scripted step by step into loops the test does not run itself (a modal form, a system dialog, a
// menu).
#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "framework/win32/application.h"
#include "framework/win32/callback.h"
#include "framework/win32/forms.h"

namespace fw::stdtest {

// Steps run from a timer, so they run inside whatever loop is running at the time, as user input
// would. Each step returns true once done (the next one runs on a later tick) or false to be asked
// again; a step still false after `timeout` ms fails the script, which then calls `abandon` (to close
// the dialog or menu that is waiting) and stops. One script runs at a time.
class ScriptedInput {
public:
    using Step = std::function<bool()>;

    ScriptedInput& Add(std::string what, Step step) {
        steps_.push_back({std::move(what), std::move(step)});
        return *this;
    }
    // Runs `action` and goes on.
    ScriptedInput& Do(std::string what, std::function<void()> action) {
        return Add(std::move(what), [action = std::move(action)] {
            action();
            return true;
        });
    }
    std::function<void()> abandon;
    unsigned timeout = 5000;
    // What a waiting step saw last; added to the failure.
    std::string note;

    void Start() {
        Current() = this;
        next_ = 0;
        failure_.clear();
        note.clear();
        deadline_ = GetTickCount() + timeout;
        timer_ = SetTimer(nullptr, 0, 20, &Tick);
    }
    bool Finished() const { return next_ >= steps_.size() || !failure_.empty(); }
    // "" when every step ran; otherwise which step did not come true, or how many ran.
    std::string Failure() const {
        if (!failure_.empty()) return failure_;
        if (next_ < steps_.size()) return "only " + std::to_string(next_) + " of " + std::to_string(steps_.size()) + " steps ran";
        return {};
    }
    // Runs the application's loop until the script finished (or `ms` passed).
    void PumpUntilFinished(unsigned ms = 10000) {
        const DWORD end = GetTickCount() + ms;
        while (!Finished() && GetTickCount() < end) {
            Application->ProcessMessages();
            Sleep(10);
        }
    }
    ~ScriptedInput() {
        if (timer_) KillTimer(nullptr, timer_);
        if (Current() == this) Current() = nullptr;
    }

private:
    struct Entry {
        std::string what;
        Step step;
    };
    static ScriptedInput*& Current() {
        static ScriptedInput* current = nullptr;
        return current;
    }
    static void CALLBACK Tick(HWND, UINT, UINT_PTR id, DWORD) {
        FW_CALLBACK_VOID({
            ScriptedInput* s = Current();
            if (!s || s->timer_ != id || s->Finished()) {
                KillTimer(nullptr, id);
                if (s && s->timer_ == id) s->timer_ = 0;
                return;
            }
            Entry& entry = s->steps_[s->next_];
            if (entry.step()) {
                ++s->next_;
                s->deadline_ = GetTickCount() + s->timeout;
                return;
            }
            if (GetTickCount() < s->deadline_) return;
            s->failure_ = "step " + std::to_string(s->next_) + " (" + entry.what + ") did not come true" +
                          (s->note.empty() ? std::string() : ": " + s->note);
            if (s->abandon) s->abandon();
        })
    }

    std::vector<Entry> steps_;
    size_t next_ = 0;
    DWORD deadline_ = 0;
    std::string failure_;
    UINT_PTR timer_ = 0;
};

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
