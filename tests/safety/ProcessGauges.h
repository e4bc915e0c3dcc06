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
// last 100,000 calls and would look like growth.
Reading read();

std::ostream& operator<<(std::ostream& out, const Reading& reading);

// User plus system CPU time of the whole process so far.
std::chrono::microseconds processCpuTime();

}  // namespace gauges

#endif  // ES_TESTS_PROCESSGAUGES_H
