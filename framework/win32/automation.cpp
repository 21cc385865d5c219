#include "framework/win32/automation.h"

namespace fw {

void StartAutomationIfEnabled() {}

namespace automation {

bool Active() { return false; }

void Stop() {}

bool TakeQueuedAnswer(const std::string&, std::string&, const std::string&, const std::string&) {
    return false;
}

}  // namespace automation
}  // namespace fw
