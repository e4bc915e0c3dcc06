// Reading the identity card on the station's reader.
#include <string>

#include "BaseSDK/OPRALStrategy.h"
#include "Common/Protocol/JSONStruct/IdentityMessages.h"
#include "EnrollmentOperator.h"
#include "LastError.h"
#include "RecordConversion.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kCaptureIDRequest = "POST /OPRAL/AccessControl/CaptureIDInfo?format=json\r\n";

}  // namespace

bool CEnrollmentStation::captureIDCardInfo(IdentityInfomation& info) {
    protocol::IdentityInfo message;
    if (!m_pOperator->captureIDCardInfo(message)) return false;
    readInto(message, info);
    return true;
}

bool CEnrollmentOperator::captureIDCardInfo(protocol::IdentityInfo& info) {
    if (!requireSession(m_lUserID)) return false;

    const protocol::IdentityInfoCond condition;
    std::string reply;
    if (!configRequest(kCaptureIDRequest, protocol::TToJSONStr(condition), reply)) {
        return false;
    }
    return protocol::TParseJSONStr(info, reply);
}

}  // namespace EnrollmentStation
