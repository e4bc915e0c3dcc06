// Long-connection jobs as operations of one station object: cancellable from
// any thread, limited by the stream time-out.
#include <memory>

#include "BaseSDK/SearchProc.h"
#include "EnrollmentOperator.h"
#include "LastError.h"

namespace EnrollmentStation {

bool CEnrollmentOperator::runStreamJob(const std::shared_ptr<CSearchProc>& process) {
    process->setStreamTimeout(m_nStreamTimeoutMs);
    CRunningOperations::Registration running = m_running.enter([process] { process->requestStop(); });
    if (!running.admitted()) {
        setLastError(kErrMainLibrary, kErrCancelled);
        return false;
    }
    const bool ran = runOnWorkerTask(process);
    if (running.finish()) {
        setLastError(kErrMainLibrary, kErrCancelled);
        return false;
    }
    if (process->timedOut()) {
        setLastError(kErrMainLibrary, kErrStationSilent);
        return false;
    }
    if (!ran) {
        setLastError(kErrMainLibrary, kErrCollectFailed);
        return false;
    }
    return true;
}

}  // namespace EnrollmentStation
