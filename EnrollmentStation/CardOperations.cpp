// RF card settings, card capture and the card capture rule.
#include <string>

#include "BaseSDK/OPRALStrategy.h"
#include "Common/Protocol/JSONStruct/CardMessages.h"
#include "EnrollmentOperator.h"
#include "LastError.h"
#include "RecordConversion.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kRFCardCapRequest =
    "GET /OPRAL/AccessControl/Configuration/RFCardCfg/capabilities?format=json\r\n";
constexpr const char* kGetRFCardCfgRequest =
    "GET /OPRAL/AccessControl/Configuration/RFCardCfg?format=json\r\n";
constexpr const char* kPutRFCardCfgRequest =
    "PUT /OPRAL/AccessControl/Configuration/RFCardCfg?format=json\r\n";
constexpr const char* kCaptureCardRequest = "GET /OPRAL/AccessControl/CaptureCardInfo?format=json\r\n";
constexpr const char* kCaptureRuleRequest = "PUT /OPRAL/AccessControl/CaptureRule?format=json\r\n";

}  // namespace

bool CEnrollmentStation::getRFCardCacheCap(RFCardCap& cap) { return m_pOperator->getRFCardCacheCap(cap); }

bool CEnrollmentStation::setRFCardParam(RFCardParam& param) { return m_pOperator->setRFCardParam(param); }

bool CEnrollmentStation::getRFCardParam(RFCardParam& param) { return m_pOperator->getRFCardParam(param); }

bool CEnrollmentStation::captureCardInfo(std::string& cardNo) { return m_pOperator->captureCardInfo(cardNo); }

bool CEnrollmentStation::setCaptureCardRule(CaptureRuleInfo& rule) {
    protocol::CaptureRule message = toMessage(rule);
    return m_pOperator->setCaptureCardRule(message);
}

// No session guard here or in getRFCardParam: without a login the SDK's own
// refusal is what the client gets to see.
bool CEnrollmentOperator::getRFCardCacheCap(RFCardCap& cap) {
    std::string reply;
    if (!configRequest(kRFCardCapRequest, std::string(), reply)) return false;

    // An unreadable reply offers nothing; that is an answer, not a failure.
    protocol::RFCardCfgCap message;
    protocol::TParseJSONStr(message, reply);
    cap = toRecord(message);
    return true;
}

// Sends only the card types the station offered at login.
bool CEnrollmentOperator::setRFCardParam(RFCardParam& param) {
    if (!requireSession(m_lUserID)) return false;

    const protocol::RFCardCfgData message = toMessage(param, m_rfCardCap);
    const std::string body =
        protocol::TToRootlessJSONStr(static_cast<const protocol::IInboundData&>(message));
    std::string reply;
    return configRequest(kPutRFCardCfgRequest, body, reply);
}

// Fields whose card type the reply does not list keep the caller's values.
bool CEnrollmentOperator::getRFCardParam(RFCardParam& param) {
    std::string reply;
    if (!configRequest(kGetRFCardCfgRequest, std::string(), reply)) return false;

    protocol::RFCardCfgData message;
    protocol::TParseRootlessJSONStr(static_cast<protocol::IInboundData&>(message), reply);
    readInto(message, param);
    return true;
}

bool CEnrollmentOperator::captureCardInfo(std::string& cardNo) {
    if (!requireSession(m_lUserID)) return false;

    std::string reply;
    if (!configRequest(kCaptureCardRequest, std::string(), reply)) return false;
    protocol::CardInfo message;
    if (!protocol::TParseJSONStr(message, reply)) return false;
    cardNo = message.m_strCardNo;
    return true;
}

bool CEnrollmentOperator::setCaptureCardRule(protocol::CaptureRule& rule) {
    if (!requireSession(m_lUserID)) return false;

    std::string reply;
    return configRequest(kCaptureRuleRequest, protocol::TToJSONStr(rule), reply);
}

}  // namespace EnrollmentStation
