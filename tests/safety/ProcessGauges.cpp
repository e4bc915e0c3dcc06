#include "ProcessGauges.h"

#include <dirent.h>
#include <malloc.h>
#include <sys/resource.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>

#include "VirtualStation/StationControl.h"

namespace gauges {

namespace {

int taskCount() {
    DIR* dir = opendir("/proc/self/task");
    if (dir == nullptr) return -1;
    int count = 0;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] != '.') ++count;
    }
    closedir(dir);
    return count;
}

std::chrono::microseconds micros(const timeval& t) {
    return std::chrono::seconds(t.tv_sec) + std::chrono::microseconds(t.tv_usec);
}

}  // namespace

Reading read() {
    vstation::clearCallLog();
    Reading reading;
    reading.handles = vstation::openHandles().total();
    // A long connection's report thread is detached: it has said it ended
    // before its close returns, but leaves the task list a moment later, and
    // later still on a loaded machine. Extra threads get two seconds to go.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    reading.threads = taskCount();
    while (reading.threads > 1 && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        reading.threads = taskCount();
    }
    const struct mallinfo2 heap = mallinfo2();
    reading.heapBytes = heap.uordblks + heap.hblkhd;
    return reading;
}

bool exactHeap() {
    mallopt(M_ARENA_MAX, 1);
    const char* tunables = std::getenv("GLIBC_TUNABLES");
    return tunables != nullptr && std::string(tunables).find("glibc.malloc.tcache_count=0") != std::string::npos;
}

std::ostream& operator<<(std::ostream& out, const Reading& reading) {
    return out << "handles " << reading.handles << ", threads " << reading.threads << ", heap "
               << reading.heapBytes << " bytes";
}

std::chrono::microseconds processCpuTime() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return micros(usage.ru_utime) + micros(usage.ru_stime);
}

}  // namespace gauges
