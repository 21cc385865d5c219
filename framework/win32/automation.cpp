#include "framework/win32/automation.h"

#include <deque>
#include <map>
#include <vector>

#include "framework/core/exceptions.h"
#include "framework/core/object.h"
#include "framework/automation/protocol.h"
#include "framework/win32/automation_endpoint.h"
#include "framework/win32/callback.h"
#include "framework/win32/messages.h"
#include "framework/win32/winapi.h"

namespace fw {
namespace automation {
namespace {

// WM_FW_AUTOMATION: wParam says what, lParam carries the sequence or step number.
enum : WPARAM { kRunAction = 1, kCompleteAction = 2, kRunStep = 3 };

// The timer of steps that wait for the input queue: WM_TIMER comes only when no posted message and no
// input is waiting, so by then the keys sent before were dispatched.
constexpr UINT_PTR kInputTimer = 1;

struct QueuedAction {
    std::string verb;
    std::string args;
};

struct Answer {
    std::string kind;
    std::string value;
};

struct State {
    HWND window = nullptr;
    uint32_t nextSequence = 1;
    std::map<uint32_t, QueuedAction> queued;  // accepted, not yet run
    std::map<uint32_t, std::string> errors;
    uint32_t done = 0;
    uint32_t running = 0;
    int pending = 0;
    bool completionDeferred = false;
    uint32_t nextStep = 1;
    std::map<uint32_t, std::function<void()>> steps;
    std::vector<std::function<void()>> afterInput;
    std::deque<Answer> answers;
    std::vector<drive::Row> log;
};

State& S() {
    static State state;
    return state;
}

void Complete(uint32_t sequence) {
    State& s = S();
    if (sequence > s.done) s.done = sequence;
    --s.pending;
}

void PostCompletion(uint32_t sequence) {
    if (!PostMessageA(S().window, WM_FW_AUTOMATION, kCompleteAction, static_cast<LPARAM>(sequence))) Complete(sequence);
}

void Reply(HWND to, const drive::Reply& reply) {
    std::string text = drive::FormatReply(reply);
    COPYDATASTRUCT data{};
    data.dwData = drive::kReplyTag;
    data.cbData = static_cast<DWORD>(text.size());
    data.lpData = text.data();
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(to, WM_COPYDATA, reinterpret_cast<WPARAM>(S().window), reinterpret_cast<LPARAM>(&data),
                        SMTO_NORMAL | SMTO_ABORTIFHUNG, 5000, &ignored);
}

drive::Reply Handle(const drive::Request& request) {
    drive::Reply reply;
    reply.id = request.id;
    State& s = S();
    try {
        if (request.verb == "progress") {
            if (!request.args.empty()) {
                std::string error = ActionError(static_cast<uint32_t>(std::stoul(request.args)));
                if (!error.empty()) throw Exception(error);
            }
            reply.payload = "done " + std::to_string(s.done) + " running " + std::to_string(s.running);
        } else if (drive::IsQueryVerb(request.verb)) {
            reply.payload = RunQuery(request.verb, request.args);
        } else if (drive::IsKnownVerb(request.verb)) {
            CheckAction(request.verb, request.args);
            uint32_t sequence = s.nextSequence++;
            if (!PostMessageA(s.window, WM_FW_AUTOMATION, kRunAction, static_cast<LPARAM>(sequence)))
                throw Exception("cannot queue the action");
            s.queued[sequence] = {request.verb, request.args};
            ++s.pending;
            reply.payload = "queued " + std::to_string(sequence);
        } else {
            throw Exception("unknown verb \"" + request.verb + "\"");
        }
        reply.ok = true;
    } catch (const std::exception& e) {
        reply.ok = false;
        reply.payload = drive::Escape(e.what());
    }
    return reply;
}

void RunQueued(uint32_t sequence) {
    State& s = S();
    auto it = s.queued.find(sequence);
    if (it == s.queued.end()) return;
    QueuedAction action = it->second;
    s.queued.erase(it);
    uint32_t outer = s.running;
    bool outerDeferred = s.completionDeferred;
    s.running = sequence;
    s.completionDeferred = false;
    try {
        RunAction(action.verb, action.args);
    } catch (const std::exception& e) {
        s.errors[sequence] = e.what();
    }
    bool deferred = s.completionDeferred && !s.errors.count(sequence);
    s.running = outer;
    s.completionDeferred = outerDeferred;
    // The completion goes behind the input the action posted, so it is dispatched after that input.
    if (!deferred) PostCompletion(sequence);
}

LRESULT CALLBACK EndpointProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    FW_CALLBACK_BODY(0, {
        if (message == WM_COPYDATA) {
            const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
            if (!data || data->dwData != drive::kRequestTag || !data->lpData) return LRESULT(0);
            drive::Request request;
            std::string text(static_cast<const char*>(data->lpData), data->cbData);
            HWND replyTo = reinterpret_cast<HWND>(wParam);
            if (!drive::ParseRequest(text, request)) {
                Reply(replyTo, {0, false, "malformed request"});
                return LRESULT(0);
            }
            Reply(replyTo, Handle(request));
            return LRESULT(1);
        }
        if (message == WM_TIMER && wParam == kInputTimer) {
            if (HIWORD(GetQueueStatus(QS_KEY | QS_MOUSEBUTTON))) return LRESULT(0);
            KillTimer(window, kInputTimer);
            std::vector<std::function<void()>> steps = std::move(S().afterInput);
            S().afterInput.clear();
            for (auto& step : steps) step();
            return LRESULT(0);
        }
        if (message == WM_FW_AUTOMATION) {
            auto number = static_cast<uint32_t>(lParam);
            if (wParam == kRunAction) {
                RunQueued(number);
            } else if (wParam == kCompleteAction) {
                Complete(number);
            } else if (wParam == kRunStep) {
                auto it = S().steps.find(number);
                if (it != S().steps.end()) {
                    std::function<void()> step = std::move(it->second);
                    S().steps.erase(it);
                    step();
                }
            }
            return LRESULT(0);
        }
        return DefWindowProcA(window, message, wParam, lParam);
    })
}

}  // namespace

void PostDeferred(std::function<void()> step) {
    State& s = S();
    uint32_t number = s.nextStep++;
    s.steps[number] = std::move(step);
    PostMessageA(s.window, WM_FW_AUTOMATION, kRunStep, static_cast<LPARAM>(number));
}

void AfterInput(std::function<void()> step) {
    State& s = S();
    s.afterInput.push_back(std::move(step));
    SetTimer(s.window, kInputTimer, 10, nullptr);
}

std::function<void()> DeferCompletion() {
    State& s = S();
    s.completionDeferred = true;
    uint32_t sequence = s.running;
    return [sequence]() { PostCompletion(sequence); };
}

ActionProgress Progress() {
    const State& s = S();
    return {s.done, s.running, s.pending};
}

std::string ActionError(uint32_t sequence) {
    auto it = S().errors.find(sequence);
    return it == S().errors.end() ? std::string() : it->second;
}

std::string DialogLog() { return drive::JoinRows(S().log); }

bool Active() { return S().window != nullptr; }

void Stop() {
    State& s = S();
    if (s.window) DestroyWindow(s.window);
    s.window = nullptr;
}

bool TakeQueuedAnswer(const std::string& kind, std::string& value, const std::string& caption,
                      const std::string& text) {
    State& s = S();
    for (auto it = s.answers.begin(); it != s.answers.end(); ++it) {
        if (!SameName(it->kind, kind)) continue;
        value = it->value;
        s.log.push_back({kind, value, caption, text});
        s.answers.erase(it);
        return true;
    }
    return false;
}

void Record(const std::string& kind, const std::string& value, const std::string& caption, const std::string& text) {
    if (Active()) S().log.push_back({kind, value, caption, text});
}

void QueueAnswer(const std::string& kind, const std::string& value) { S().answers.push_back({kind, value}); }

}  // namespace automation

void StartAutomationIfEnabled() {
    automation::State& s = automation::S();
    if (s.window) return;
    char flag[8] = {};
    DWORD n = GetEnvironmentVariableA("FW_AUTOMATION", flag, sizeof flag);
    if (n != 1 || flag[0] != '1') return;
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &automation::EndpointProc;
    wc.hInstance = instance;
    wc.lpszClassName = drive::kEndpointClass;
    RegisterClassExA(&wc);
    std::string title = std::string(drive::kEndpointTitlePrefix) + std::to_string(GetCurrentProcessId());
    // A hidden top-level window (not message-only), so the driver finds it by class and title.
    s.window = CreateWindowExA(WS_EX_TOOLWINDOW, drive::kEndpointClass, title.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr,
                               nullptr, instance, nullptr);
}

}  // namespace fw
