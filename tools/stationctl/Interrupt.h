// Ctrl-C while a command is running. The handler only raises a lock-free
// flag; whoever waits polls it and does the real work outside the handler.
#ifndef STATIONCTL_INTERRUPT_H
#define STATIONCTL_INTERRUPT_H

namespace stationctl {

// Catches SIGINT and SIGTERM for its lifetime. A second signal ends the
// process at once with exit code 130 (for a station that never answers).
class InterruptGuard {
public:
    InterruptGuard();
    ~InterruptGuard();
    InterruptGuard(const InterruptGuard&) = delete;
    InterruptGuard& operator=(const InterruptGuard&) = delete;
};

bool interrupted();

}  // namespace stationctl

#endif  // STATIONCTL_INTERRUPT_H
