// CAbstractStepStrategy: the base of every long-connection step. It keeps the
// job's request, the session, the connection handle and the results that the
// SDK's report thread hands in.
//
// Thread safety: the return list is guarded by its own lock (reports append
// on the SDK's thread, the operation takes the list on the caller's thread);
// m_bStop may be set from any thread. Everything else belongs to the worker
// that runs the step.
#ifndef ENROLLMENTSTATION_BASESDK_STEPSTRATEGY_H
#define ENROLLMENTSTATION_BASESDK_STEPSTRATEGY_H

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>

#include "Common/Protocol/JSONStruct/BatchMessages.h"

namespace EnrollmentStation {

// Results in arrival order. A deque, so that appending never moves the
// results already held (a search result carries two Base64 pictures).
using ReturnList = std::deque<protocol::BatchReturnData>;

class CAbstractStepStrategy {
public:
    CAbstractStepStrategy(int32_t userId, const protocol::BatchPassThroughReq& request);
    CAbstractStepStrategy(const CAbstractStepStrategy&) = delete;
    CAbstractStepStrategy& operator=(const CAbstractStepStrategy&) = delete;

    virtual bool run();
    virtual void initRemoteParam();
    virtual void convertSendInBuffer();
    virtual bool startRemoteConfig();
    virtual bool stopRemoteConfig();

    // Takes the result by move: a search result carries two Base64 pictures.
    void pushReturnData(protocol::BatchReturnData&& data);
    // Moves every result into `out`, replacing what it held, and leaves the
    // step's list empty. With no result `out` is left as it was.
    void takeReturnData(ReturnList& out);

protected:
    // Steps are owned as their most derived type; never deleted through here.
    ~CAbstractStepStrategy() = default;

    protocol::BatchPassThroughReq m_request;
    int32_t m_lUserID;
    std::mutex m_returnLock;
    ReturnList m_returnList;
    int32_t m_lHandle = -1;

public:
    // A stop was asked for; set from any thread.
    std::atomic<bool> m_bStop{false};
    // run has ended; written by the worker, read after the worker is joined.
    bool m_bFinished = false;
};

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_BASESDK_STEPSTRATEGY_H
