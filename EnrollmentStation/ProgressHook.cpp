// Progress reports of one operation, and the facade's setProgressCallback.
#include "ProgressHook.h"

#include <algorithm>

#include "EnrollmentOperator.h"

namespace EnrollmentStation {

void ProgressHook::open(const ProgressTarget& target, ProgressOperation operation) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_target = target;
    m_operation = operation;
}

void ProgressHook::report(int64_t percent) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_target.callback == nullptr) return;
    ProgressReport progress;
    progress.operation = m_operation;
    progress.percent = static_cast<int32_t>(std::clamp<int64_t>(percent, 0, 100));
    m_target.callback(progress, m_target.user);
}

void ProgressHook::close() {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_target = ProgressTarget();
}

void CEnrollmentOperator::setProgressCallback(ProgressCallback callback, void* user) {
    std::lock_guard<std::mutex> lock(m_progressMutex);
    m_progressTarget = ProgressTarget{callback, user};
}

ProgressTarget CEnrollmentOperator::progressTarget() const {
    std::lock_guard<std::mutex> lock(m_progressMutex);
    return m_progressTarget;
}

void CEnrollmentStation::setProgressCallback(ProgressCallback callback, void* user) {
    m_pOperator->setProgressCallback(callback, user);
}

}  // namespace EnrollmentStation
