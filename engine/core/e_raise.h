// E_RAISE, the engine's exception: made from a message-table number, it ends the running operation and
// is caught at the engine's entry points, so that callers learn of failures only through OnError.
#pragma once

#include <string>

#include "engine/core/messages.h"
#include "framework/core/exceptions.h"

namespace engine {

class E_RAISE : public fw::Exception {
public:
    explicit E_RAISE(int code) : fw::Exception(std::string(MessageText(code))), code_(code) {}
    int Code() const noexcept { return code_; }

private:
    int code_;
};

}  // namespace engine
