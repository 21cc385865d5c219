// The endpoint's request handling, shared by its units: queries answered at once, actions checked
// when they arrive and run later from the posted WM_FW_AUTOMATION.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace fw::automation {

// Answers a query; raises fw::Exception with the text of an "err" reply.
std::string RunQuery(const std::string& verb, const std::string& args);

// Checks an action when it arrives (names resolve, the form is not disabled by a modal, arguments
// parse); raises with the refusal text.
void CheckAction(const std::string& verb, const std::string& args);

// Runs an action on the GUI thread; raises when it cannot be done any more.
void RunAction(const std::string& verb, const std::string& args);

// For actions that post input: runs `step` once the messages posted before it were dispatched.
void PostDeferred(std::function<void()> step);
// For actions that send input through the system's queue: runs `step` once that input was dispatched.
void AfterInput(std::function<void()> step);
// An action whose last step is deferred takes over the completion: it calls the returned function
// once its last posted input was dispatched.
std::function<void()> DeferCompletion();

// Progress of queued actions, for `state` and `progress`.
struct ActionProgress {
    uint32_t done = 0;     // highest completed sequence number
    uint32_t running = 0;  // sequence number whose code is on the stack, or 0
    int pending = 0;       // accepted and not completed
};
ActionProgress Progress();
// The error an action met when it ran, or "" when it ran (or has not run yet).
std::string ActionError(uint32_t sequence);

// `answer <kind> <value>`: queued for the next dialog of that kind (see TakeQueuedAnswer).
void QueueAnswer(const std::string& kind, const std::string& value);

// Answered dialogs, for `log`: kind, value, caption and text per line.
std::string DialogLog();

}  // namespace fw::automation
