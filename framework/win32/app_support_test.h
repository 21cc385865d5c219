// Test forms and helpers shared by the application tests (app_*_test.cpp). Each test makes a fresh application
// (InitApplication ... DoneApplication); forms are driven by posted actions, never by a human.
#pragma once

#include <deque>
#include <map>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "framework/win32/application.h"
#include "framework/win32/controls.h"
#include "framework/win32/datamodule.h"
#include "framework/win32/forms.h"
#include "framework/win32/screen.h"

namespace apptest {

// Posted to a test form: runs the next queued action.
constexpr UINT WM_APPTEST_ACTION = WM_USER + 100;

// A plain windowed container for layout tests.
class TAppTestPanel : public fw::TCustomControl {
public:
    explicit TAppTestPanel(fw::TComponent* owner) : TCustomControl(owner) {
        controlStyle_ |= fw::csAcceptsControls;
    }
};

// Base of the test forms: runs queued actions from posted messages and logs what happens.
class TAppTestForm : public fw::TForm {
public:
    explicit TAppTestForm(fw::TComponent* owner) : TForm(owner) {
        AddMessageHandler(WM_APPTEST_ACTION, &TAppTestForm::WMAction);
    }

    // Queues `action` and posts the message that runs it.
    void Post(std::function<void()> action) {
        actions_.push_back(std::move(action));
        PostMessageA(Handle(), WM_APPTEST_ACTION, 0, 0);
    }

    // Counts `msg` when it reaches the window (its wParams in order), and runs `then` if given.
    void Count(UINT msg, std::function<void(fw::TMessage&)> then = nullptr) {
        counted_.push_back({msg, std::move(then)});
        AddMessageHandler(msg, &TAppTestForm::WMCounted);
    }
    std::vector<WPARAM> received;

    std::vector<std::string>* log = nullptr;
    void Log(const std::string& line) {
        if (log) log->push_back(Name() + ":" + line);
    }

private:
    void WMAction(fw::TMessage& message) {
        message.Result = 0;
        if (actions_.empty()) return;
        auto action = std::move(actions_.front());
        actions_.pop_front();
        action();
    }

    void WMCounted(fw::TMessage& message) {
        received.push_back(message.WParam);
        for (auto& c : counted_)
            if (c.msg == message.Msg && c.then) {
                auto then = c.then;
                then(message);
            }
    }

    struct Counted {
        UINT msg;
        std::function<void(fw::TMessage&)> then;
    };
    std::vector<Counted> counted_;
    std::deque<std::function<void()>> actions_;
};

// The layout form: six aligned panels (app_main.form).
class TAppMainForm : public TAppTestForm {
public:
    using TAppTestForm::TAppTestForm;
    TAppTestPanel* pnlTop1 = nullptr;
    TAppTestPanel* pnlTop2 = nullptr;
    TAppTestPanel* pnlBottom = nullptr;
    TAppTestPanel* pnlLeft = nullptr;
    TAppTestPanel* pnlRight = nullptr;
    TAppTestPanel* pnlClient = nullptr;

    // What FormCreate does besides counting (set by a test before CreateForm).
    static inline std::function<void(TAppMainForm*)> onCreateAction;
    int created = 0;
    void FormCreate(fw::TObject*) {
        ++created;
        if (onCreateAction) onCreateAction(this);
    }
};

// A dialog (app_dialog.form) whose close protocol is scripted by the test.
class TAppDialog : public TAppTestForm {
public:
    using TAppTestForm::TAppTestForm;
    // Answers of OnCloseQuery, one per call; true once the list is used up.
    std::deque<bool> closeAnswers;
    fw::TCloseAction closeAction = fw::caHide;
    std::function<void(TAppDialog*)> onShowAction;

    void FormShow(fw::TObject*) {
        Log("show");
        if (onShowAction) onShowAction(this);
    }
    void FormCloseQuery(fw::TObject*, bool& canClose) {
        canClose = closeAnswers.empty() ? true : closeAnswers.front();
        if (!closeAnswers.empty()) closeAnswers.pop_front();
        Log(std::string("closequery ") + (canClose ? "yes" : "no"));
    }
    void FormClose(fw::TObject*, fw::TCloseAction& action) {
        action = closeAction;
        Log("close");
    }
};

// Scaled and not scaled forms (app_scaled.form, app_fixed.form).
class TAppScaledForm : public fw::TForm {
public:
    using TForm::TForm;
    TAppTestPanel* pnlBox = nullptr;
};

class TAppFixedForm : public fw::TForm {
public:
    using TForm::TForm;
    TAppTestPanel* pnlBox = nullptr;
};

// A form written with Visible = True (app_visible.form).
class TAppVisibleForm : public fw::TForm {
public:
    using TForm::TForm;
    bool visibleInOnCreate = true;
    void FormCreate(fw::TObject*) { visibleInOnCreate = HandleAllocated() && IsWindowVisible(Handle()); }
};

// A form whose text names a property it does not have (app_broken.form).
class TAppBrokenForm : public fw::TForm {
public:
    using TForm::TForm;
};

// A data module (app_module.form).
class TAppModule : public fw::TDataModule {
public:
    using TDataModule::TDataModule;
    static inline int createdCount = 0;
    static inline int destroyedCount = 0;
    void ModuleCreate(fw::TObject*) { ++createdCount; }
    void ModuleDestroy(fw::TObject*) { ++destroyedCount; }
};

void RegisterAppTestClasses();

// A fresh application per test; a safety timer ends every loop if a test would hang.
class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    // Runs the loop until `done` or the time is up (ms); false on time-out.
    bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000);

    std::vector<std::string> log;
};

}  // namespace apptest
