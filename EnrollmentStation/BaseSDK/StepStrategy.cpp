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
    {
        std::lock_guard<std::mutex> lock(m_returnLock);
        m_returnList.push_back(std::move(data));
    }
    m_returnArrived.notify_one();
}

void CAbstractStepStrategy::takeReturnData(ReturnList& out) {
    std::lock_guard<std::mutex> lock(m_returnLock);
    if (m_returnList.empty()) return;
    out = std::move(m_returnList);
    m_returnList.clear();  // a moved-from deque is valid but unspecified
}

bool CAbstractStepStrategy::waitReturnData(ReturnList& out) {
    std::unique_lock<std::mutex> lock(m_returnLock);
    m_returnArrived.wait(lock, [this] { return !m_returnList.empty() || m_returnClosed; });
    if (m_returnList.empty()) return false;
    out = std::move(m_returnList);
    m_returnList.clear();
    return true;
}

void CAbstractStepStrategy::closeReturnData() {
    {
        std::lock_guard<std::mutex> lock(m_returnLock);
        m_returnClosed = true;
    }
    m_returnArrived.notify_all();
}

}  // namespace EnrollmentStation
