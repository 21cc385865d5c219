// Test helper: the message a call raises.
#pragma once

#include <functional>
#include <string>

#include "framework/core/exceptions.h"

namespace inst::test {

// The message of the exception of type E that `call` raises, or "(no error)". Another type passes on.
template <class E = fw::Exception>
std::string MessageOf(const std::function<void()>& call) {
    try {
        call();
    } catch (const E& e) {
        return e.Message();
    }
    return "(no error)";
}

}  // namespace inst::test
