// CEnrollmentStation: construction and the session methods of the facade.
// The other exported methods live beside their operations.
#include "EnrollmentStation/EnrollmentStation.h"

#include "EnrollmentOperator.h"

namespace EnrollmentStation {

CEnrollmentStation::CEnrollmentStation() : m_pOperator(std::make_unique<CEnrollmentOperator>()) {}

// Out of line: the operator is only complete here.
CEnrollmentStation::~CEnrollmentStation() = default;

bool CEnrollmentStation::initEnrollmentStation(const LoginParam& param, long& userId) {
    return m_pOperator->initEnrollmentStation(param, userId);
}

bool CEnrollmentStation::uninitEnrollmentStation() { return m_pOperator->unInitEnrollmentStation(); }

bool CEnrollmentStation::isInit() { return m_pOperator->isInit(); }

bool CEnrollmentStation::setIsInit(bool flag, long userId) { return m_pOperator->setIsInit(flag, userId); }

void CEnrollmentStation::setSDKLogPath(const std::string& path) { m_pOperator->setSDKLogPath(path); }

bool CEnrollmentStation::cancelCurrentOperation() { return m_pOperator->cancelCurrentOperation(); }

void CEnrollmentStation::setStreamTimeout(int milliseconds) { m_pOperator->setStreamTimeout(milliseconds); }

bool CEnrollmentStation::getLastStationStatus(StationStatus& status) const {
    const std::optional<StationStatus>& refusal = m_pOperator->lastRefusal();
    if (!refusal) return false;
    status = *refusal;
    return true;
}

}  // namespace EnrollmentStation
