#include "BaseSDK/SearchProc.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <future>
#include <unordered_map>
#include <utility>
#include <vector>

#include "Common/Protocol/JSONStruct/Messages.h"
#include "KestroBase.h"
#include "LastError.h"
#include "Common/LogSource.h"
#include "SdkError.h"
#include "WaitClock.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kConvertMethod = "EnrollmentStation::CSearchProc::convertSendInBuffer";
constexpr const char* kSendMethod = "EnrollmentStation::CSearchProc::sendRemoteConfig";

constexpr size_t kSendBufferSize = 10240;
constexpr int kStopAttempts = 3;

constexpr const char* kRunMethod = "EnrollmentStation::CSearchProc::run";
constexpr const char* kEntryMethod = "EnrollmentStation::CSearchProc::reportEntry";

// The processes whose connections may still report, by the token each gave
// the SDK as user data. Tokens are never reused: a connection that outlives
// its process (its close failed) reports under a token that finds nothing,
// even when a later process lives at the same address.
//
// A job leaves the registry when its run ends (retire), not only when it is
// destroyed: the callback-form search stays owned by the operator after the
// call returned, and a report of a connection whose close failed must not
// reach the caller's callback then.
class LiveProcesses {
public:
    uint64_t add(std::weak_ptr<CSearchProc> process) {
        std::lock_guard<std::mutex> lock(m_mutex);
        const uint64_t token = ++m_lastToken;
        m_processes.emplace(token, Entry{std::move(process), 0, false});
        return token;
    }
    void remove(uint64_t token) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_processes.erase(token);
    }
    // Removes the job and waits until no report of it is still being
    // handled; from then on its reports are dropped. Never called on the
    // SDK's thread.
    void retire(uint64_t token) {
        std::unique_lock<std::mutex> lock(m_mutex);
        auto found = m_processes.find(token);
        if (found == m_processes.end()) return;
        found->second.retired = true;  // no new report is let in meanwhile
        // Found again after each wake: a job added meanwhile may rehash the map.
        m_handled.wait(lock, [&] {
            auto it = m_processes.find(token);
            return it == m_processes.end() || it->second.handling == 0;
        });
        m_processes.erase(token);
    }
    // A shared owner of the live job, counted as handling a report until
    // doneHandling; null when the job has ended.
    std::shared_ptr<CSearchProc> startHandling(uint64_t token) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_processes.find(token);
        if (it == m_processes.end() || it->second.retired) return nullptr;
        std::shared_ptr<CSearchProc> process = it->second.process.lock();
        if (process) ++it->second.handling;
        return process;
    }
    void doneHandling(uint64_t token) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_processes.find(token);
        if (it != m_processes.end()) --it->second.handling;
        m_handled.notify_all();
    }

private:
    struct Entry {
        std::weak_ptr<CSearchProc> process;
        int handling;  // reports of it now in a handler
        bool retired;  // its run has ended
    };
    std::mutex m_mutex;
    std::condition_variable m_handled;
    uint64_t m_lastToken = 0;
    std::unordered_map<uint64_t, Entry> m_processes;
};

LiveProcesses& liveProcesses() {
    // Never destroyed: a report thread may still look a process up while the
    // process runs its static destructors.
    static LiveProcesses* const registry = new LiveProcesses();
    return *registry;
}

void* tokenAsUserData(uint64_t token) { return reinterpret_cast<void*>(static_cast<uintptr_t>(token)); }

uint64_t tokenOf(void* user) { return static_cast<uint64_t>(reinterpret_cast<uintptr_t>(user)); }

// Runs a handler for the process behind `user`, if it still lives; a report
// for a process that has ended is dropped, visibly. Nothing may unwind into
// the SDK's thread: a handler that throws ends the job.
template <typename Handler>
void dispatch(uint32_t type, void* user, Handler handler) {
    if (user == nullptr) return;
    const uint64_t token = tokenOf(user);
    std::shared_ptr<CSearchProc> process = liveProcesses().startHandling(token);
    if (!process) {
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]Dropped a report of an ended job. Type[%u] job[%llu].[%s(%d)]",
                                             kEntryMethod, type, static_cast<unsigned long long>(tokenOf(user)),
                                             kSrcBaseSDK, __LINE__);
        return;
    }
    // Ends the count before `process` lets go, so that the last owner is
    // never dropped while counted.
    struct Handling {
        uint64_t token;
        ~Handling() { liveProcesses().doneHandling(token); }
    } handling{token};
    process->noteReport();
    try {
        handler(*process);
    } catch (...) {
        setLastError(kErrMainLibrary, kErrCollectFailed);
        process->requestStop();
    }
}

// The long-connection jobs, each described once: the command that opens its
// connection, the input block built from the request's condition text, the
// entry that hands its reports to its handler, and whether it pages.
using InputBlock = std::vector<uint8_t>;
using ReportHandler = void (CSearchProc::*)(uint32_t type, const void* buffer, uint32_t length);

template <ReportHandler Handle>
void ZORN_CALL reportEntry(uint32_t type, void* buffer, uint32_t length, void* user) {
    dispatch(type, user, [&](CSearchProc& p) { (p.*Handle)(type, buffer, length); });
}

template <typename Record>
InputBlock blockOf(const Record& record) {
    InputBlock block(sizeof(record));
    std::memcpy(block.data(), &record, sizeof(record));
    return block;
}

// The condition text is the finger number; text that is no number asks for 0.
InputBlock fingerInput(const std::string& condition) {
    NET_DVR_CAPTURE_FINGERPRINT_COND cond{};
    cond.dwSize = sizeof(cond);
    const long finger = std::strtol(condition.c_str(), nullptr, 10);
    cond.byFingerPrintID = static_cast<uint8_t>(static_cast<unsigned long>(finger) & 0xFFu);
    return blockOf(cond);
}

InputBlock faceInput(const std::string&) {
    NET_DVR_CAPTURE_FACE_COND cond{};
    cond.dwSize = sizeof(cond);
    return blockOf(cond);
}

// The request line, with its terminator.
InputBlock searchInput(const std::string& requestLine) {
    InputBlock block(requestLine.begin(), requestLine.end());
    block.push_back(0);
    return block;
}

struct StreamJob {
    uint32_t command;
    InputBlock (*input)(const std::string& condition);
    fRemoteConfigCallback reports;
    bool pages;
};

constexpr StreamJob kStreamJobs[] = {
    {NET_DVR_CAPTURE_FINGERPRINT_INFO, &fingerInput, &reportEntry<&CSearchProc::processFingerCollect>, false},
    {NET_DVR_CAPTURE_FACE_INFO, &faceInput, &reportEntry<&CSearchProc::processFaceCollect>, false},
    {NET_DVR_SEARCH_CAPTURE_DATA, &searchInput, &reportEntry<&CSearchProc::processSearchCaptureData>, true},
};

const StreamJob* streamJob(int32_t command) {
    for (const StreamJob& job : kStreamJobs) {
        if (static_cast<int32_t>(job.command) == command) return &job;
    }
    return nullptr;
}

}  // namespace

std::shared_ptr<CSearchProc> CSearchProc::create(int32_t userId,
                                                 const protocol::BatchPassThroughReq& request) {
    return registered(std::make_shared<CSearchProc>(CreateKey{}, userId, request, nullptr, nullptr, false));
}

std::shared_ptr<CSearchProc> CSearchProc::create(int32_t userId, const protocol::BatchPassThroughReq& request,
                                                 SearchCallback callback, void* userData) {
    return registered(std::make_shared<CSearchProc>(CreateKey{}, userId, request, callback, userData, true));
}

std::shared_ptr<CSearchProc> CSearchProc::registered(std::shared_ptr<CSearchProc> process) {
    process->m_token = liveProcesses().add(process);
    process->m_pReportUserData = tokenAsUserData(process->m_token);
    return process;
}

CSearchProc::CSearchProc(CreateKey, int32_t userId, const protocol::BatchPassThroughReq& request,
                         SearchCallback callback, void* userData, bool callbackForm)
    : CBatchNet(userId, request),
      m_fnUserCallback(callback),
      m_pUserData(userData),
      m_bCallbackForm(callbackForm) {}

CSearchProc::~CSearchProc() { liveProcesses().remove(m_token); }

// ---- the job -----------------------------------------------------------------

bool CSearchProc::run() {
    try {
        if (m_lHandle != -1) closeConnection();
        initRemoteParam();
        if (m_bIsSearch) {
            runSearch();
        } else {
            runCollect();
        }
    } catch (...) {
        if (m_lHandle != -1) closeConnection();
        liveProcesses().retire(m_token);
        m_bFinished = true;
        throw;
    }
    // No report reaches the job after its run: the caller's callback is not
    // called once the operation has returned.
    liveProcesses().retire(m_token);
    if (m_bTimedOut) {
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]No report from the station for %d ms, command[%d] ended.[%s(%d)]",
                                             kRunMethod, m_nStreamTimeoutMs, m_request.m_nCommand, kSrcBaseSDK,
                                             __LINE__);
    }
    m_bFinished = true;
    return true;
}

void CSearchProc::noteReport() {
    if (m_nStreamTimeoutMs <= 0) return;
    const auto ends = waitClock().deadlineAfter(std::chrono::milliseconds(m_nStreamTimeoutMs));
    m_silenceEnds = ends.time_since_epoch().count();
}

template <typename Ready>
bool CSearchProc::waitForStation(std::unique_lock<std::mutex>& lock, Ready ready) {
    if (m_nStreamTimeoutMs <= 0) {
        m_cond.wait(lock, ready);
        return true;
    }
    using Clock = std::chrono::steady_clock;
    const auto silenceEnds = [this] { return Clock::time_point(Clock::duration(m_silenceEnds.load())); };
    noteReport();  // the wait starts the silence
    while (!m_cond.wait_until(lock, silenceEnds(), ready)) {
        // A report that came meanwhile moved the end on.
        if (Clock::now() >= silenceEnds()) {
            m_bTimedOut = true;
            return false;
        }
    }
    return true;
}

void CSearchProc::runCollect() {
    if (!startRemoteConfig()) return;
    {
        std::unique_lock<std::mutex> lock(m_mutex);
        waitForStation(lock, [this] { return m_bStop || m_bDone; });
    }
    closeConnection();
}

void CSearchProc::runSearch() {
    m_strSearchID = Kestro::Base::GuidUtil::CreateGuid();
    if (!startRemoteConfig()) return;
    if (m_bStop) {
        closeConnection();
        return;
    }
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bDataArrived = false;
        }
        convertSendInBuffer();
        if (!sendRemoteConfig()) break;
        bool ended = false;
        {
            std::unique_lock<std::mutex> lock(m_mutex);
            const bool answered = waitForStation(lock, [this] { return m_bStop || m_bDone || m_bDataArrived; });
            ended = !answered || m_bDone || m_bStop;
        }
        if (ended) break;
    }
    closeConnection();
}

void CSearchProc::closeConnection() {
    for (int attempt = 0; attempt < kStopAttempts; ++attempt) {
        if (stopRemoteConfig()) return;
    }
}

// A command outside the table sets nothing.
void CSearchProc::initRemoteParam() {
    const StreamJob* job = streamJob(m_request.m_nCommand);
    if (job == nullptr) return;
    const InputBlock block = job->input(m_request.m_strCondBuffer);
    m_dwCommand = job->command;
    m_dwInBufferLen = static_cast<uint32_t>(block.size());
    m_fnCallback = job->reports;
    m_bIsSearch = job->pages;
    if (!m_inBuffer) m_inBuffer.reset(new uint8_t[block.size()]());
    std::memcpy(m_inBuffer.get(), block.data(), block.size());
}

void CSearchProc::convertSendInBuffer() {
    std::string page;
    if (m_bIsSearch) {
        protocol::SearchTaskCond cond;
        cond.m_strSearchID = m_strSearchID;
        cond.m_nSearchResultPosition = static_cast<int32_t>(m_nSearchPosition.load());
        cond.m_nMaxResults = 1;
        page = protocol::TToJSONStr(cond);
        m_dwSendDataType = NET_DVR_SEND_JSON_DATA;
    }
    if (!m_sendBuffer) m_sendBuffer.reset(new char[kSendBufferSize]);
    std::memset(m_sendBuffer.get(), 0, kSendBufferSize);
    // A page holds three short members, far below the buffer; the cut only
    // keeps the terminator if that ever changed.
    const size_t length = std::min(page.size(), kSendBufferSize - 1);
    std::memcpy(m_sendBuffer.get(), page.data(), length);
    m_dwSendLen = static_cast<uint32_t>(length);
    Kestro::Base::details::VexaFormatLog(kLogTrace, kLogModule, "[%s]search opral cond [%s][%s(%d)]",
                                         kConvertMethod, page.c_str(), kSrcBaseSDK, logline::kSearchCondition);
}

bool CSearchProc::sendRemoteConfig() {
    const char* text = m_sendBuffer ? m_sendBuffer.get() : "";
    Kestro::Base::details::VexaFormatLog(kLogTrace, kLogModule,
                                         "[%s]NET_DVR_SendRemoteConfig![%s][%s(%d)]", kSendMethod,
                                         text, kSrcBaseSDK, logline::kSendRemoteConfig);
    if (NET_DVR_SendRemoteConfig(m_lHandle, m_dwSendDataType, m_sendBuffer.get(), m_dwSendLen) != 0) {
        return true;
    }
    Kestro::Base::details::VexaFormatLog(kLogFailure, "NET_DVR_SendRemoteConfig failed!",
                                         "[%s][%s(%d)]", kSendMethod, kSrcBaseSDK, logline::kSendRemoteConfigFailed);
    takeSdkError();
    return false;
}

// ---- hand-over between the report thread and the worker ------------------

void CSearchProc::requestStop() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bStop = true;
    m_cond.notify_one();
}

void CSearchProc::finishJob(bool dataArrived) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_bDone = true;
    if (dataArrived) m_bDataArrived = true;
    m_cond.notify_one();
}

bool runOnWorkerTask(const std::shared_ptr<CSearchProc>& process) {
    try {
        auto task = std::async(std::launch::async, [owner = process] { return owner->run(); });
        return task.get();
    } catch (...) {
        // No worker could be started, or the job ran out of memory; the
        // operation reports it as a failed job.
        return false;
    }
}

}  // namespace EnrollmentStation
