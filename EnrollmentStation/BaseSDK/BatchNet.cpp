#include "BaseSDK/BatchNet.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "KestroBase.h"
#include "WaitClock.h"
#include "Common/LogSource.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kStartMethod = "EnrollmentStation::CBatchNet::startRemoteConfig";
constexpr const char* kStopMethod = "EnrollmentStation::CBatchNet::stopRemoteConfig";

constexpr int kRestartAttempts = 3;
constexpr std::chrono::milliseconds kRestartPause{3000};
constexpr std::chrono::milliseconds kStopPoll{10};

}  // namespace

CBatchNet::CBatchNet(int32_t userId, const protocol::BatchPassThroughReq& request)
    : CAbstractStepStrategy(userId, request) {}

int32_t CBatchNet::openConnection() {
    return NET_DVR_StartRemoteConfig(m_lUserID, m_dwCommand, m_inBuffer.get(), m_dwInBufferLen,
                                     m_fnCallback, m_pReportUserData);
}

bool CBatchNet::pauseBeforeRestart() {
    const auto until = waitClock().deadlineAfter(kRestartPause);
    while (!m_bStop) {
        const auto now = std::chrono::steady_clock::now();
        if (now >= until) return true;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(until - now, kStopPoll));
    }
    return false;
}

bool CBatchNet::startRemoteConfig() {
    // The block is zero-filled past its content, so it always reads as a C text.
    const char* blockText = m_inBuffer ? reinterpret_cast<const char*>(m_inBuffer.get()) : "";
    Kestro::Base::details::VexaFormatLog(kLogTrace, kLogModule,
                                         "[%s]start long connect url [%s] length[%d].[%s(%d)]",
                                         kStartMethod, blockText, static_cast<int>(m_dwInBufferLen),
                                         kSrcBaseSDK, logline::kLongConnectStart);

    int32_t handle = openConnection();
    if (handle >= 0) {
        m_lHandle = handle;
        return true;
    }
    if (NET_DVR_GetLastError() != NET_DVR_ERR_CONNECT) return false;

    for (int attempt = 0; attempt < kRestartAttempts; ++attempt) {
        if (m_lUserID == -1) {
            Kestro::Base::details::VexaFormatLog(kLogTrace, kLogModule,
                                                 "[%s]connect is broken! command[%d][%s(%d)]",
                                                 kStartMethod, m_request.m_nCommand, kSrcBaseSDK, logline::kConnectBroken);
            break;
        }
        if (!pauseBeforeRestart()) break;
        handle = openConnection();
        if (handle >= 0) {
            m_lHandle = handle;
            return true;
        }
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule, "[%s]restart long connect failed command[%d] error[%d].[%s(%d)]",
            kStartMethod, static_cast<int>(m_dwCommand), NET_DVR_GetLastError(), kSrcBaseSDK, logline::kRestartFailed);
    }
    return false;
}

bool CBatchNet::stopRemoteConfig() {
    if (m_lHandle == -1) {
        Kestro::Base::details::VexaFormatLog(kLogFailure, "undefined error", "[%s][%s(%d)]",
                                             kStopMethod, kSrcBaseSDK, logline::kStopWithoutHandle);
        return true;
    }
    if (NET_DVR_StopRemoteConfig(m_lHandle) != 0) {
        m_lHandle = -1;
        return true;
    }
    Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                         "[%s]stop remote config command[%d][%s(%d)]", kStopMethod,
                                         m_request.m_nCommand, kSrcBaseSDK, logline::kStopFailed);
    return false;
}

}  // namespace EnrollmentStation
