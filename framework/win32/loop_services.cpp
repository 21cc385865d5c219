#include "framework/win32/loop_services.h"

#include <atomic>

namespace fw {

namespace {
std::atomic<bool (*)()> g_server{nullptr};
std::atomic<void (*)()> g_waker{nullptr};
}  // namespace

bool ServeSynchronize() {
    auto server = g_server.load();
    return server ? server() : false;
}

void SetSynchronizeServer(bool (*server)()) { g_server.store(server); }

void WakeMainThread() {
    if (auto waker = g_waker.load()) waker();
}

void SetMainThreadWaker(void (*waker)()) { g_waker.store(waker); }

}  // namespace fw
