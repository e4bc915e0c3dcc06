// Long connections (NET_DVR_StartRemoteConfig): each one delivers its
// reports, in order, on a thread of its own, never on the caller's.
//
// Closing a connection (NET_DVR_StopRemoteConfig, a logout, the last
// clean-up, reset()) returns only when no report of it is being delivered
// and none will be; when the closer is the connection's own thread (a report
// callback that stops its connection) it returns at once and the thread ends
// after that callback.
//
// Thread safety: every member may be called from any thread. No lock is held
// while a report callback runs.
#ifndef VSTATION_LONGCONNECTION_H
#define VSTATION_LONGCONNECTION_H

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "ZornNetSDK.h"

namespace vstation {

struct Station;
class LongConnection;

// One report as the callback receives it. `bytes` may point into `keep`,
// which lives until the callback has returned.
struct Report {
    uint32_t type = NET_SDK_CALLBACK_TYPE_STATUS;
    std::vector<uint8_t> bytes;
    std::vector<std::shared_ptr<const void>> keep;
    std::chrono::milliseconds delay{0};  // paced wait before delivery
};

// A status report: the status word, and the error word at 4 (8-byte
// reports) or at 16 (reports of 20 bytes or more).
Report statusReport(uint32_t status, int32_t error = 0, uint32_t length = 4);

// What a connection does for its command: its first reports, and its answer
// to each page the client sends.
class StreamJob {
public:
    virtual ~StreamJob() = default;
    virtual void begin(LongConnection& connection) = 0;
    // 0, or the SDK error the send fails with.
    virtual int32_t page(LongConnection& connection, uint32_t dataType, const char* buffer, uint32_t length);
};

class LongConnection : public std::enable_shared_from_this<LongConnection> {
public:
    LongConnection(int32_t handle, int32_t userId, fRemoteConfigCallback callback, void* userData,
                   std::unique_ptr<StreamJob> job);

    int32_t handle() const { return m_handle; }
    int32_t userId() const { return m_userId; }

    // Queues a report; dropped once the connection is closing.
    void post(Report report);
    // False once the connection is closing.
    bool open();
    // Hands a page to the job; serialised per connection.
    int32_t page(uint32_t dataType, const char* buffer, uint32_t length);

private:
    friend class LongConnections;
    // Starts the job and the delivery thread; false when no thread could be had.
    bool launch();
    void run();
    void close();

    const int32_t m_handle;
    const int32_t m_userId;
    const fRemoteConfigCallback m_callback;
    void* const m_userData;

    std::mutex m_jobMutex;  // serialises the job; never held while delivering
    std::unique_ptr<StreamJob> m_job;

    std::mutex m_mutex;
    std::condition_variable m_cond;
    std::deque<Report> m_queue;
    bool m_closing = false;
    bool m_ended = false;
    std::thread::id m_thread;
};

// The open connections of the process, by handle.
class LongConnections {
public:
    static LongConnections& instance();

    // Opens a connection and starts its job; the handle, or -1 with
    // *error set (NET_DVR_ERR_ALLOC: too many open).
    int32_t open(int32_t userId, fRemoteConfigCallback callback, void* userData,
                 std::unique_ptr<StreamJob> job, int32_t* error);
    std::shared_ptr<LongConnection> find(int32_t handle);
    // False for a handle that is not open.
    bool close(int32_t handle);

    LongConnections(const LongConnections&) = delete;
    LongConnections& operator=(const LongConnections&) = delete;

private:
    LongConnections();
    ~LongConnections() = default;
    // Closes the connections of `userId` (all of them for -1).
    void teardown(int32_t userId);

    std::mutex m_mutex;
    std::map<int32_t, std::shared_ptr<LongConnection>> m_open;
};

}  // namespace vstation

#endif  // VSTATION_LONGCONNECTION_H
