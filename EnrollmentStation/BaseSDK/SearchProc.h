// CSearchProc: one long-connection job from start to end — a fingerprint
// collection, a face collection or an offline store search — turning the
// station's reports into result documents.
//
// Threads: the worker task runs `run`; the SDK's report thread runs the three
// handlers (and the caller's search callback); any thread may call
// requestStop. m_mutex and m_cond carry the hand-over between the handlers
// and the worker; the return list has its own lock; the two are never held
// together and no lock is held across an SDK call.
//
// Lifetime: always owned by shared_ptr (create). The SDK knows a process
// only by a token that is never reused; the report entries look it up in a
// registry of live processes and hold a shared owner for the length of the
// report, so a late report lands on no process, neither a destroyed one nor
// its successor at the same address. A process leaves the registry when its
// run ends, after the reports then in its handlers are done: no report, and
// no call of the caller's search callback, follows the end of the run.
#ifndef ENROLLMENTSTATION_BASESDK_SEARCHPROC_H
#define ENROLLMENTSTATION_BASESDK_SEARCHPROC_H

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "BaseSDK/BatchNet.h"
#include "EnrollmentStation/EnrollmentStation.h"
#include "ProgressHook.h"

namespace EnrollmentStation {

// Pictures of a search result this large or larger are left out.
constexpr uint32_t kSearchPictureLimit = 204800;

// The statuses of a search page, and the one the failure document carries;
// the handlers and readSearchDocument judge documents by them.
constexpr const char* kSearchMore = "MORE";
constexpr const char* kSearchLast = "OK";
constexpr const char* kSearchNoMatch = "NO MATCH";
constexpr const char* kSearchFailed = "NET_SDK_CALLBACK_STATUS_FAILED";

class CSearchProc final : public CBatchNet {
    struct CreateKey {};

public:
    // A collection, or the list form of the search: results go to the
    // return list.
    static std::shared_ptr<CSearchProc> create(int32_t userId,
                                               const protocol::BatchPassThroughReq& request);
    // The callback form of the search: each document goes to `callback` with
    // `userData`, and none is kept; without both, its records are dropped.
    static std::shared_ptr<CSearchProc> create(int32_t userId, const protocol::BatchPassThroughReq& request,
                                               SearchCallback callback, void* userData);
    CSearchProc(CreateKey, int32_t userId, const protocol::BatchPassThroughReq& request,
                SearchCallback callback, void* userData, bool callbackForm);
    ~CSearchProc();

    // The whole job; always answers true.
    bool run() override;
    void initRemoteParam() override;
    void convertSendInBuffer() override;
    virtual bool sendRemoteConfig();

    // Report handlers, on the SDK's thread.
    void processFingerCollect(uint32_t type, const void* buffer, uint32_t length);
    void processFaceCollect(uint32_t type, const void* buffer, uint32_t length);
    void processSearchCaptureData(uint32_t type, const void* buffer, uint32_t length);
    // A report arrived: the station's silence starts again.
    void noteReport();

    // Sets m_bStop and wakes the worker at once: a stopped job closes its
    // connection without waiting for the station's next report.
    void requestStop();

    // The longest wait for the station's next report, in milliseconds; 0
    // waits for ever. Set before the worker starts.
    void setStreamTimeout(int milliseconds) { m_nStreamTimeoutMs = milliseconds; }
    // The job ended because the station stayed silent that long. Read after
    // the worker has ended.
    bool timedOut() const { return m_bTimedOut; }
    // Reads the search's results where they are made: on the report thread,
    // right after each result is kept and the worker woken, with the results
    // taken from the return list. The document is read while it is still in
    // the cache, and no further thread is woken per result. Called for one
    // report at a time, never after run has returned. Set before the worker
    // starts; without it the results stay in the return list.
    using ResultReader = std::function<void(ReturnList&)>;
    void setResultReader(ResultReader reader) { m_resultReader = std::move(reader); }
    // Where the face handler reports the capture progress of each data
    // report; opened before the worker starts and closed once the job has
    // ended, so that no late report reaches the caller.
    ProgressHook& progress() { return m_progress; }

private:
    // Gives a new process its token, which the SDK hands back with its reports.
    static std::shared_ptr<CSearchProc> registered(std::shared_ptr<CSearchProc> process);
    // Closes the open connection, trying again when the SDK refuses, so that
    // a passing failure leaves no connection (and no reports) behind.
    void closeConnection();
    void runCollect();
    void runSearch();
    // Under m_mutex: waits until `ready`, or until the station has been
    // silent for the stream time-out (false).
    template <typename Ready>
    bool waitForStation(std::unique_lock<std::mutex>& lock, Ready ready);
    // Takes m_mutex: marks the job done (and a reply arrived) and wakes the worker.
    void finishJob(bool dataArrived);

    uint64_t m_token = 0;
    // Fixed when the process is made, so the report thread reads them without
    // a lock.
    const SearchCallback m_fnUserCallback;
    void* const m_pUserData;
    const bool m_bCallbackForm;
    std::atomic<uint32_t> m_nResultCount{0};
    // Made before the connection opens and never changed after, so the report
    // thread reads it without a lock.
    std::string m_strSearchID;
    std::atomic<uint32_t> m_nSearchPosition{0};
    bool m_bDone = false;
    bool m_bDataArrived = false;
    std::mutex m_mutex;
    std::condition_variable m_cond;
    // The job pages (the search); set from the job table before the
    // connection opens.
    bool m_bIsSearch = false;
    int m_nStreamTimeoutMs = 0;
    // When the current silence runs out, in steady-clock ticks.
    std::atomic<int64_t> m_silenceEnds{0};
    bool m_bTimedOut = false;
    ProgressHook m_progress;
    ResultReader m_resultReader;
    // Keeps the reader to one report at a time, whatever the SDK's threads.
    std::mutex m_readerLock;
};

// Runs `process` on a worker task that holds a shared owner, and waits for it
// without a time-out. False only when no worker could be started.
bool runOnWorkerTask(const std::shared_ptr<CSearchProc>& process);

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_BASESDK_SEARCHPROC_H
