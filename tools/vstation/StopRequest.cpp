#include "StopRequest.h"

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>

#include <condition_variable>
#include <mutex>
#else
#include <pthread.h>
#include <signal.h>
#endif

namespace vstation_tool {

#ifdef _WIN32
namespace {

std::mutex g_mutex;
std::condition_variable g_requested;
bool g_stop = false;

// Runs on a thread of its own that the system starts for the event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_stop = true;
    }
    g_requested.notify_all();
    // On the console closing, the process ends as soon as this returns:
    // give the main thread time to stop in order (its exit ends this wait).
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(5000);
    return TRUE;
}

}  // namespace

void catchStopRequests() { SetConsoleCtrlHandler(onConsoleEvent, TRUE); }

void waitForStop() {
    std::unique_lock<std::mutex> lock(g_mutex);
    g_requested.wait(lock, [] { return g_stop; });
}
#else
namespace {

sigset_t stopSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

void catchStopRequests() {
    const sigset_t signals = stopSignals();
    pthread_sigmask(SIG_BLOCK, &signals, nullptr);
}

void waitForStop() {
    const sigset_t signals = stopSignals();
    int signal = 0;
    sigwait(&signals, &signal);
}
#endif

}  // namespace vstation_tool
