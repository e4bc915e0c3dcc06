#include "BaseSDK/StepStrategy.h"

#include <utility>

namespace EnrollmentStation {

CAbstractStepStrategy::CAbstractStepStrategy(int32_t userId,
                                             const protocol::BatchPassThroughReq& request)
    : m_request(request), m_lUserID(userId) {}

bool CAbstractStepStrategy::run() { return true; }

void CAbstractStepStrategy::initRemoteParam() {}

void CAbstractStepStrategy::convertSendInBuffer() {}

bool CAbstractStepStrategy::startRemoteConfig() {
    m_lHandle = -1;
    return true;
}

bool CAbstractStepStrategy::stopRemoteConfig() {
    m_lHandle = -1;
    return true;
}

void CAbstractStepStrategy::pushReturnData(protocol::BatchReturnData&& data) {
    std::lock_guard<std::mutex> lock(m_returnLock);
    m_returnList.push_back(std::move(data));
}

void CAbstractStepStrategy::takeReturnData(ReturnList& out) {
    std::lock_guard<std::mutex> lock(m_returnLock);
    if (m_returnList.empty()) return;
    out = std::move(m_returnList);
    m_returnList.clear();  // a moved-from deque is valid but unspecified
}

}  // namespace EnrollmentStation
