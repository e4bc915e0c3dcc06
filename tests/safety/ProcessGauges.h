// What a long test watches to see that nothing piles up: the virtual
// station's open handles, the process's threads, its heap and its CPU time.
// Linux only (/proc, mallinfo2, getrusage).
#ifndef ES_TESTS_PROCESSGAUGES_H
#define ES_TESTS_PROCESSGAUGES_H

#include <chrono>
#include <cstddef>
#include <ostream>

namespace gauges {

struct Reading {
    int handles = 0;           // logins, long connections and transfers open on the station
    int threads = 0;           // entries of /proc/self/task
    size_t heapBytes = 0;      // allocated and not yet freed, mmapped blocks included
};

// Takes a reading; clears the station's call log first, since it keeps the
// last 100,000 calls and would look like growth. Waits up to two seconds for
// the process to be down to its main thread before counting threads.
Reading read();

std::ostream& operator<<(std::ostream& out, const Reading& reading);

// Makes heapBytes count only blocks in use, and says whether it can. glibc
// counts the blocks a thread keeps cached for reuse as in use, and that cache
// fills slowly: it must be off from the process's start
// (GLIBC_TUNABLES=glibc.malloc.tcache_count=0; false without it). It also
// counts each malloc arena's own bookkeeping, and arenas appear one by one as
// threads happen to collide: this limits the process to one, so call it
// before any thread starts.
bool exactHeap();

// User plus system CPU time of the whole process so far.
std::chrono::microseconds processCpuTime();

}  // namespace gauges

#endif  // ES_TESTS_PROCESSGAUGES_H
