// CBatchNet: the long connection of one step. Opens it (restarting when the
// station cannot be reached) and closes it.
//
// Thread safety: used by the worker that runs the step. From the moment a
// connection is open the SDK may report on its own thread, with the owner's
// token as user data, until stopRemoteConfig has succeeded (and, when every
// close fails, after the step is gone).
#ifndef ENROLLMENTSTATION_BASESDK_BATCHNET_H
#define ENROLLMENTSTATION_BASESDK_BATCHNET_H

#include <cstdint>
#include <memory>

#include "BaseSDK/StepStrategy.h"
#include "ZornNetSDK.h"

namespace EnrollmentStation {

class CBatchNet : public CAbstractStepStrategy {
public:
    CBatchNet(int32_t userId, const protocol::BatchPassThroughReq& request);

    bool startRemoteConfig() override;
    bool stopRemoteConfig() override;

protected:
    ~CBatchNet() = default;

    uint32_t m_dwCommand = 0xFFFFFFFFu;
    std::shared_ptr<uint8_t[]> m_inBuffer;
    uint32_t m_dwInBufferLen = 0;
    fRemoteConfigCallback m_fnCallback = nullptr;
    uint32_t m_dwSendDataType = 0xFFFFFFFFu;
    std::shared_ptr<char[]> m_sendBuffer;
    uint32_t m_dwSendLen = 0;
    // What the SDK hands back with every report: the owner's token, set
    // before the connection opens.
    void* m_pReportUserData = nullptr;

private:
    // The pause before a restart; cut short (false) when a stop is asked for,
    // so that nobody waits out the restarts of a search they stopped.
    bool pauseBeforeRestart();
    int32_t openConnection();
};

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_BASESDK_BATCHNET_H
