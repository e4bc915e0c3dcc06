// Process-wide state of the virtual SDK.
#include "Sdk/Runtime.h"

#include <algorithm>
#include <chrono>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

#include "State/Profile.h"
#include "State/Station.h"
#include "ZornNetSDK.h"

namespace vstation {

namespace {

constexpr size_t kCallLogLimit = 100000;
// Sessions a process may hold at once, as a device SDK limits its logins.
constexpr size_t kSessionLimit = 512;

constexpr int kindIndex(HandleKind kind) { return static_cast<int>(kind); }

struct Fault {
    int32_t error = 0;
    int remaining = 0;
};

struct Faults {
    std::deque<Fault> next;
    bool always = false;
    int32_t alwaysError = 0;
};

bool needsInit(const char* call) {
    return std::strcmp(call, "NET_DVR_Init") != 0 && std::strcmp(call, "NET_DVR_GetLastError") != 0;
}

bool pacingFromEnvironment() {
    const char* value = std::getenv("VSTATION_PACING");
    return !(value && std::strcmp(value, "0") == 0);
}

thread_local int32_t t_lastError = NET_DVR_ERR_NONE;

}  // namespace

struct Runtime::Impl {
    mutable std::mutex mutex;
    int initCount = 0;
    bool stationsLoaded = false;
    std::vector<std::shared_ptr<Station>> stations;
    std::map<int32_t, std::shared_ptr<Station>> sessions;
    std::map<std::string, Faults> faults;
    std::deque<CallRecord> log;
    uint64_t logged = 0;  // calls logged since the last clear, trimmed ones included
    int32_t nextHandle[4] = {0, 0, 0, 0};
    int open[4] = {0, 0, 0, 0};  // Login is counted by `sessions`
    std::map<int, TeardownHook> hooks;
    int nextHookId = 0;
    std::atomic<bool> pacing{pacingFromEnvironment()};

    // Stations are built outside the lock: a family's load must be free to
    // reach the runtime.
    void ensureStations() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            if (stationsLoaded) return;
        }
        auto built = defaultStations();
        std::lock_guard<std::mutex> lock(mutex);
        if (!stationsLoaded) {
            stations = std::move(built);
            stationsLoaded = true;
        }
    }
};

Runtime& Runtime::instance() {
    // Never destroyed: callback and transfer threads may still be winding
    // down while the process runs its static destructors.
    static Runtime* const runtime = new Runtime();
    return *runtime;
}

Runtime::Runtime() : m_impl(std::make_unique<Impl>()) {}
Runtime::~Runtime() = default;

int32_t Runtime::enter(const char* call, std::initializer_list<int64_t> args, const void* record,
                       size_t recordSize, const std::string& text) {
    CallRecord entry;
    entry.at = std::chrono::steady_clock::now();
    entry.call = call;
    entry.args.assign(args.begin(), args.end());
    if (record && recordSize > 0) {
        const auto* bytes = static_cast<const uint8_t*>(record);
        entry.record.assign(bytes, bytes + recordSize);
    }
    entry.text = text;

    const bool isLastError = std::strcmp(call, "NET_DVR_GetLastError") == 0;
    int32_t error = NET_DVR_ERR_NONE;
    {
        std::lock_guard<std::mutex> lock(m_impl->mutex);
        m_impl->log.push_back(std::move(entry));
        ++m_impl->logged;
        if (m_impl->log.size() > kCallLogLimit) m_impl->log.pop_front();

        if (needsInit(call) && m_impl->initCount == 0) {
            error = NET_DVR_ERR_NOT_INITIALISED;
        } else if (!isLastError) {
            auto it = m_impl->faults.find(call);
            if (it != m_impl->faults.end()) {
                Faults& f = it->second;
                if (!f.next.empty()) {
                    error = f.next.front().error;
                    if (--f.next.front().remaining <= 0) f.next.pop_front();
                } else if (f.always) {
                    error = f.alwaysError;
                }
            }
        }
    }
    // A call that goes on starts with a clean slate; reading the last error
    // must not clear it.
    if (error == NET_DVR_ERR_NONE && !isLastError) setLastError(NET_DVR_ERR_NONE);
    return error;
}

std::shared_ptr<Station> Runtime::stationOf(int32_t userId) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    auto it = m_impl->sessions.find(userId);
    return it == m_impl->sessions.end() ? nullptr : it->second;
}

int32_t Runtime::nextHandle(HandleKind kind) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    int32_t& next = m_impl->nextHandle[kindIndex(kind)];
    const int32_t handle = next;
    next = next == INT32_MAX ? 0 : next + 1;
    return handle;
}

void Runtime::opened(HandleKind kind) {
    if (kind == HandleKind::Login) return;
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    ++m_impl->open[kindIndex(kind)];
}

void Runtime::closed(HandleKind kind) {
    if (kind == HandleKind::Login) return;
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    // A close that arrives after a teardown already zeroed the count.
    int& count = m_impl->open[kindIndex(kind)];
    if (count > 0) --count;
}

bool Runtime::pacing() const { return m_impl->pacing.load(); }

void Runtime::setPacing(bool on) { m_impl->pacing.store(on); }

int Runtime::addTeardownHook(TeardownHook hook) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    const int id = m_impl->nextHookId++;
    m_impl->hooks.emplace(id, std::move(hook));
    return id;
}

void Runtime::removeTeardownHook(int id) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->hooks.erase(id);
}

void Runtime::teardown(int32_t userId) {
    std::vector<TeardownHook> hooks;
    {
        std::lock_guard<std::mutex> lock(m_impl->mutex);
        for (const auto& entry : m_impl->hooks) hooks.push_back(entry.second);
    }
    for (const auto& hook : hooks) hook(userId);
}

void Runtime::init() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    ++m_impl->initCount;
}

int32_t Runtime::cleanup() {
    {
        std::lock_guard<std::mutex> lock(m_impl->mutex);
        if (m_impl->initCount == 0) return NET_DVR_ERR_NOT_INITIALISED;
        if (--m_impl->initCount > 0) return NET_DVR_ERR_NONE;
        m_impl->sessions.clear();
    }
    teardown(-1);
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    for (int& count : m_impl->open) count = 0;
    return NET_DVR_ERR_NONE;
}

int Runtime::initCount() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->initCount;
}

bool Runtime::hasStations() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return m_impl->stationsLoaded;
}

std::shared_ptr<Station> Runtime::findStation(const std::string& address, uint16_t port) const {
    m_impl->ensureStations();
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    for (const auto& station : m_impl->stations) {
        if (station->port == port && station->address == address) return station;
    }
    return nullptr;
}

int32_t Runtime::openSession(std::shared_ptr<Station> station) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    if (m_impl->sessions.size() >= kSessionLimit) return -1;
    int32_t& next = m_impl->nextHandle[kindIndex(HandleKind::Login)];
    // Skip numbers still in use after a wrap-around.
    while (m_impl->sessions.count(next)) next = next == INT32_MAX ? 0 : next + 1;
    const int32_t handle = next;
    next = next == INT32_MAX ? 0 : next + 1;
    m_impl->sessions.emplace(handle, std::move(station));
    return handle;
}

bool Runtime::closeSession(int32_t userId) {
    {
        std::lock_guard<std::mutex> lock(m_impl->mutex);
        if (m_impl->sessions.erase(userId) == 0) return false;
    }
    teardown(userId);
    return true;
}

void Runtime::replaceStations(std::vector<std::shared_ptr<Station>> stations) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->stations.swap(stations);
    m_impl->stationsLoaded = true;
    // `stations` now holds the old ones; they go when the lock is released,
    // or with the last session still using them.
}

void Runtime::reset(std::vector<std::shared_ptr<Station>> stations) {
    teardown(-1);
    std::vector<std::shared_ptr<Station>> oldStations;
    std::map<int32_t, std::shared_ptr<Station>> oldSessions;
    {
        std::lock_guard<std::mutex> lock(m_impl->mutex);
        oldStations.swap(m_impl->stations);
        oldSessions.swap(m_impl->sessions);
        m_impl->stations = std::move(stations);
        m_impl->stationsLoaded = true;
        m_impl->initCount = 0;
        m_impl->faults.clear();
        m_impl->log.clear();
        m_impl->logged = 0;
        for (auto& next : m_impl->nextHandle) next = 0;
        for (int& count : m_impl->open) count = 0;
    }
    // Old stations are released here, outside the lock.
}

void Runtime::failNext(const std::string& call, int32_t error, int times) {
    if (times <= 0) return;
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults[call].next.push_back(Fault{error, times});
}

void Runtime::failAlways(const std::string& call, int32_t error) {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    Faults& f = m_impl->faults[call];
    f.always = true;
    f.alwaysError = error;
}

void Runtime::clearFaults() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    m_impl->faults.clear();
}

void Runtime::listFaults(std::vector<ArmedFault>* faults) const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    for (const auto& entry : m_impl->faults) {
        ArmedFault fault;
        fault.kind = ArmedKind::CallFails;
        fault.call = entry.first;
        for (const Fault& next : entry.second.next) {
            fault.error = next.error;
            fault.remaining = next.remaining;
            faults->push_back(fault);
        }
        // failAlways(call, 0) lifts the permanent fault.
        if (entry.second.always && entry.second.alwaysError != NET_DVR_ERR_NONE) {
            fault.error = entry.second.alwaysError;
            fault.remaining = -1;
            faults->push_back(fault);
        }
    }
}

std::vector<CallRecord> Runtime::callLog() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    return std::vector<CallRecord>(m_impl->log.begin(), m_impl->log.end());
}

std::vector<CallRecord> Runtime::callLogSince(uint64_t* position) const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    const uint64_t first = m_impl->logged - m_impl->log.size();
    // A position past the end is from before a clear: start again.
    if (*position > m_impl->logged) *position = 0;
    const uint64_t from = std::max(*position, first);
    *position = m_impl->logged;
    return std::vector<CallRecord>(m_impl->log.begin() + static_cast<std::ptrdiff_t>(from - first), m_impl->log.end());
}

void Runtime::clearCallLog() {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    // Swapped out rather than cleared: a cleared deque keeps its block map,
    // up to about a megabyte at the log's limit, and a leak test that clears
    // the log before reading the heap would count it.
    std::deque<CallRecord>().swap(m_impl->log);
    m_impl->logged = 0;
}

HandleCounts Runtime::openHandles() const {
    std::lock_guard<std::mutex> lock(m_impl->mutex);
    HandleCounts counts;
    counts.logins = static_cast<int>(m_impl->sessions.size());
    counts.longConnections = m_impl->open[kindIndex(HandleKind::LongConnection)];
    counts.uploads = m_impl->open[kindIndex(HandleKind::Upload)];
    counts.downloads = m_impl->open[kindIndex(HandleKind::Download)];
    return counts;
}

void setLastError(int32_t error) { t_lastError = error; }

int32_t lastError() { return t_lastError; }

}  // namespace vstation
