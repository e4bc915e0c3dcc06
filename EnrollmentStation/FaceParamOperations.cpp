// Face parameters (the SDK's fixed-layout record) and the device language.
#include <cstdint>
#include <cstring>

#include "EnrollmentOperator.h"
#include "EnrollmentStation/EnrollmentStation.h"
#include "LastError.h"
#include "SdkError.h"
#include "ZornNetSDK.h"

namespace EnrollmentStation {

namespace {

constexpr int32_t kFaceParamChannel = 1;

constexpr uint8_t kSwitchOn = 2;
constexpr uint8_t kSwitchOff = 1;

// Language mask bits of the device information.
constexpr uint32_t kFirstLanguageBit = 0x1;
constexpr uint32_t kSecondLanguageBit = 0x2;

// A zeroed record carrying only its own size.
NET_DVR_FACE_PARAM_CFG emptyRecord() {
    NET_DVR_FACE_PARAM_CFG record;
    std::memset(&record, 0, sizeof record);
    record.dwSize = sizeof record;
    return record;
}

}  // namespace

bool CEnrollmentStation::setFaceParam(FaceParam& param) { return m_pOperator->setFaceParam(param); }

bool CEnrollmentStation::getFaceParam(FaceParam& param) { return m_pOperator->getFaceParam(param); }

bool CEnrollmentStation::getDeviceLanguageType(int& languageType) {
    return m_pOperator->getDeviceLanguageType(languageType);
}

bool CEnrollmentOperator::getDeviceLanguageType(int& languageType) const {
    if (!requireSession(m_lUserID)) return false;
    // Answered from the mask cached at login, so it still works after the
    // session was marked down with setIsInit.
    const uint32_t mask = m_languageType;
    if (mask == 0 || (mask & kFirstLanguageBit) != 0) {
        languageType = 1;
        return true;
    }
    if ((mask & kSecondLanguageBit) != 0) {
        languageType = 2;
        return true;
    }
    return false;
}

bool CEnrollmentOperator::setFaceParam(FaceParam& param) {
    if (!requireSession(m_lUserID)) return false;
    // The whole record is written; the device's current values are not read first.
    NET_DVR_FACE_PARAM_CFG record = emptyRecord();
    record.byEnable = param.enable ? kSwitchOn : kSwitchOff;
    record.byValue = static_cast<uint8_t>(static_cast<uint32_t>(param.value) & 0xFFu);
    if (!NET_DVR_SetDVRConfig(static_cast<int32_t>(m_lUserID), NET_DVR_SET_FACE_PARAM_CFG,
                              kFaceParamChannel, &record, sizeof record)) {
        takeSdkError();
        return false;
    }
    return true;
}

bool CEnrollmentOperator::getFaceParam(FaceParam& param) {
    if (!requireSession(m_lUserID)) return false;
    NET_DVR_FACE_PARAM_CFG record = emptyRecord();
    uint32_t returned = 0;
    if (!NET_DVR_GetDVRConfig(static_cast<int32_t>(m_lUserID), NET_DVR_GET_FACE_PARAM_CFG,
                              kFaceParamChannel, &record, sizeof record, &returned)) {
        takeSdkError();
        return false;
    }
    param.enable = record.byEnable == kSwitchOn;
    param.value = record.byValue;
    return true;
}

}  // namespace EnrollmentStation
