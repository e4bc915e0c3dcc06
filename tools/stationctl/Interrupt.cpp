#include "Interrupt.h"

#include <atomic>
#include <csignal>
#include <cstdlib>

namespace stationctl {

namespace {

std::atomic<bool> g_interrupted{false};
static_assert(std::atomic<bool>::is_always_lock_free, "the signal handler needs a lock-free flag");

extern "C" void onInterrupt(int) {
    if (g_interrupted.exchange(true)) std::_Exit(130);
}

}  // namespace

InterruptGuard::InterruptGuard() {
    g_interrupted = false;
    std::signal(SIGINT, onInterrupt);
    std::signal(SIGTERM, onInterrupt);
#ifdef SIGBREAK
    // Ctrl-Break on Windows: an interruption like Ctrl-C.
    std::signal(SIGBREAK, onInterrupt);
#endif
}

InterruptGuard::~InterruptGuard() {
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
#ifdef SIGBREAK
    std::signal(SIGBREAK, SIG_DFL);
#endif
}

bool interrupted() { return g_interrupted.load(); }

}  // namespace stationctl
