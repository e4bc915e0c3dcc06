#include "Jobs/LongConnection.h"

#include <cstring>
#include <system_error>
#include <utility>

#include "Sdk/Runtime.h"

namespace vstation {

namespace {

// Connections a process may hold at once, as a device SDK limits them.
constexpr size_t kConnectionLimit = 64;

}  // namespace

Report statusReport(uint32_t status, int32_t error, uint32_t length) {
    Report report;
    report.type = NET_SDK_CALLBACK_TYPE_STATUS;
    report.bytes.assign(length < 4 ? 4 : length, 0);
    std::memcpy(report.bytes.data(), &status, sizeof status);
    if (length == 8) std::memcpy(report.bytes.data() + 4, &error, sizeof error);
    if (length >= 20) std::memcpy(report.bytes.data() + 16, &error, sizeof error);
    return report;
}

int32_t StreamJob::page(LongConnection&, uint32_t, const char*, uint32_t) {
    return NET_DVR_ERR_NOT_SUPPORTED;
}

// ---- one connection -------------------------------------------------------------

LongConnection::LongConnection(int32_t handle, int32_t userId, fRemoteConfigCallback callback,
                               void* userData, std::unique_ptr<StreamJob> job)
    : m_handle(handle), m_userId(userId), m_callback(callback), m_userData(userData), m_job(std::move(job)) {}

void LongConnection::post(Report report) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_closing) return;
    m_queue.push_back(std::move(report));
    m_cond.notify_all();
}

bool LongConnection::open() {
    std::lock_guard<std::mutex> lock(m_mutex);
    return !m_closing;
}

int32_t LongConnection::page(uint32_t dataType, const char* buffer, uint32_t length) {
    std::lock_guard<std::mutex> lock(m_jobMutex);
    return m_job->page(*this, dataType, buffer, length);
}

bool LongConnection::launch() {
    {
        std::lock_guard<std::mutex> lock(m_jobMutex);
        m_job->begin(*this);
    }
    // Detached: the thread owns a share of the connection, and close() waits
    // for its end through m_ended rather than a join, which any number of
    // closers (a stop and a logout at once) can do.
    try {
        std::thread([self = shared_from_this()] { self->run(); }).detach();
        return true;
    } catch (const std::system_error&) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_closing = true;
        m_ended = true;
        m_queue.clear();
        return false;
    }
}

void LongConnection::run() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_thread = std::this_thread::get_id();
    for (;;) {
        m_cond.wait(lock, [this] { return m_closing || !m_queue.empty(); });
        if (m_closing) break;
        if (m_queue.front().delay.count() > 0) {
            const auto due = std::chrono::steady_clock::now() + m_queue.front().delay;
            m_queue.front().delay = std::chrono::milliseconds(0);
            if (m_cond.wait_until(lock, due, [this] { return m_closing; })) break;
        }
        Report report = std::move(m_queue.front());
        m_queue.pop_front();
        lock.unlock();
        m_callback(report.type, report.bytes.empty() ? nullptr : report.bytes.data(),
                   static_cast<uint32_t>(report.bytes.size()), m_userData);
        report = Report();  // the bytes it pointed into go before the lock is taken
        lock.lock();
    }
    m_queue.clear();
    m_ended = true;
    m_cond.notify_all();
}

void LongConnection::close() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_closing = true;
    m_cond.notify_all();
    // From inside one of its own reports: that report is the last.
    if (std::this_thread::get_id() == m_thread) return;
    m_cond.wait(lock, [this] { return m_ended; });
}

// ---- the table of open connections ---------------------------------------------

LongConnections& LongConnections::instance() {
    // Never destroyed, like the runtime: connection threads may still be
    // ending while the process runs its static destructors.
    static LongConnections* const connections = new LongConnections();
    return *connections;
}

LongConnections::LongConnections() {
    Runtime::instance().addTeardownHook([this](int32_t userId) { teardown(userId); });
}

int32_t LongConnections::open(int32_t userId, fRemoteConfigCallback callback, void* userData,
                              std::unique_ptr<StreamJob> job, int32_t* error) {
    Runtime& runtime = Runtime::instance();
    std::shared_ptr<LongConnection> connection;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_open.size() >= kConnectionLimit) {
            *error = NET_DVR_ERR_ALLOC;
            return -1;
        }
        const int32_t handle = runtime.nextHandle(HandleKind::LongConnection);
        connection = std::make_shared<LongConnection>(handle, userId, callback, userData, std::move(job));
        m_open.emplace(handle, connection);
    }
    runtime.opened(HandleKind::LongConnection);
    if (!connection->launch()) {
        close(connection->handle());
        *error = NET_DVR_ERR_ALLOC;
        return -1;
    }
    return connection->handle();
}

std::shared_ptr<LongConnection> LongConnections::find(int32_t handle) {
    std::lock_guard<std::mutex> lock(m_mutex);
    auto it = m_open.find(handle);
    return it == m_open.end() ? nullptr : it->second;
}

bool LongConnections::close(int32_t handle) {
    std::shared_ptr<LongConnection> connection;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_open.find(handle);
        if (it == m_open.end()) return false;
        connection = std::move(it->second);
        m_open.erase(it);
    }
    Runtime::instance().closed(HandleKind::LongConnection);
    connection->close();
    return true;
}

void LongConnections::teardown(int32_t userId) {
    std::vector<std::shared_ptr<LongConnection>> ending;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_open.begin(); it != m_open.end();) {
            if (userId == -1 || it->second->userId() == userId) {
                ending.push_back(std::move(it->second));
                it = m_open.erase(it);
            } else {
                ++it;
            }
        }
    }
    for (const auto& connection : ending) {
        Runtime::instance().closed(HandleKind::LongConnection);
        connection->close();
    }
}

}  // namespace vstation
