// RF card settings, card capture and the card capture rule.
#include <algorithm>
#include <string>
#include <vector>

#include "BaseSDK/OPRALStrategy.h"
#include "Common/Protocol/JSONStruct/CardMessages.h"
#include "EnrollmentOperator.h"
#include "LastError.h"

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

// Card type names as the station spells them; compared exactly.
constexpr const char* kEMCard = "EMCard";
constexpr const char* kM1Card = "M1Card";
constexpr const char* kCPUCard = "CPUCard";
constexpr const char* kIDCard = "IDCard";

}  // namespace

bool CEnrollmentStation::getRFCardCacheCap(RFCardCap& cap) { return m_pOperator->getRFCardCacheCap(cap); }

bool CEnrollmentStation::setRFCardParam(RFCardParam& param) { return m_pOperator->setRFCardParam(param); }

bool CEnrollmentStation::getRFCardParam(RFCardParam& param) { return m_pOperator->getRFCardParam(param); }

bool CEnrollmentStation::captureCardInfo(std::string& cardNo) { return m_pOperator->captureCardInfo(cardNo); }

bool CEnrollmentStation::setCaptureCardRule(CaptureRuleInfo& rule) {
    protocol::CaptureRule message;
    message.m_bEnableCardNoLenAuto = rule.enableCardNoLenAuto;
    message.m_nCardNoLen = rule.cardNoLen;
    message.m_nCardTimeout = rule.cardTimeout;
    return m_pOperator->setCaptureCardRule(message);
}

// No session guard here or in getRFCardParam: without a login the SDK's own
// refusal is what the client gets to see.
bool CEnrollmentOperator::getRFCardCacheCap(RFCardCap& cap) {
    std::string reply;
    if (!sendConfigRequest(m_lUserID, kRFCardCapRequest, std::string(), reply)) return false;

    // An unreadable reply offers nothing; that is an answer, not a failure.
    protocol::RFCardCfgCap message;
    protocol::TParseJSONStr(message, reply);
    const std::vector<std::string>& offered = message.m_stCardType.m_vecOpt;
    auto offers = [&offered](const char* name) {
        return std::find(offered.begin(), offered.end(), name) != offered.end();
    };
    cap.isSupportEMCard = offers(kEMCard);
    cap.isSupportM1Card = offers(kM1Card);
    cap.isSupportCPUCard = offers(kCPUCard);
    cap.isSupportIDCard = offers(kIDCard);
    return true;
}

// Sends only the card types the station offered at login, in the station's
// own order: CPU, EM, M1, ID.
bool CEnrollmentOperator::setRFCardParam(RFCardParam& param) {
    if (!requireSession(m_lUserID)) return false;

    protocol::RFCardCfgData message;
    auto add = [&message](const char* cardType, bool enabled) {
        protocol::RFCar entry;
        entry.m_strCardType = cardType;
        entry.m_bEnabled = enabled;
        message.m_vecRFCardCfg.push_back(entry);
    };
    if (m_rfCardCap.isSupportCPUCard) add(kCPUCard, param.enableCPUCard);
    if (m_rfCardCap.isSupportEMCard) add(kEMCard, param.enableEMCard);
    if (m_rfCardCap.isSupportM1Card) add(kM1Card, param.enableM1Card);
    if (m_rfCardCap.isSupportIDCard) add(kIDCard, param.enableIDCard);

    const std::string body =
        protocol::TToRootlessJSONStr(static_cast<const protocol::IInboundData&>(message));
    std::string reply;
    return sendConfigRequest(m_lUserID, kPutRFCardCfgRequest, body, reply);
}

// Fields whose card type the reply does not list keep the caller's values.
bool CEnrollmentOperator::getRFCardParam(RFCardParam& param) {
    std::string reply;
    if (!sendConfigRequest(m_lUserID, kGetRFCardCfgRequest, std::string(), reply)) return false;

    protocol::RFCardCfgData message;
    protocol::TParseRootlessJSONStr(static_cast<protocol::IInboundData&>(message), reply);
    for (const protocol::RFCar& entry : message.m_vecRFCardCfg) {
        if (entry.m_strCardType == kEMCard) {
            param.enableEMCard = entry.m_bEnabled;
        } else if (entry.m_strCardType == kM1Card) {
            param.enableM1Card = entry.m_bEnabled;
        } else if (entry.m_strCardType == kCPUCard) {
            param.enableCPUCard = entry.m_bEnabled;
        } else if (entry.m_strCardType == kIDCard) {
            param.enableIDCard = entry.m_bEnabled;
        }
    }
    return true;
}

bool CEnrollmentOperator::captureCardInfo(std::string& cardNo) {
    if (!requireSession(m_lUserID)) return false;

    std::string reply;
    if (!sendConfigRequest(m_lUserID, kCaptureCardRequest, std::string(), reply)) return false;
    protocol::CardInfo message;
    if (!protocol::TParseJSONStr(message, reply)) return false;
    cardNo = message.m_strCardNo;
    return true;
}

bool CEnrollmentOperator::setCaptureCardRule(protocol::CaptureRule& rule) {
    if (!requireSession(m_lUserID)) return false;

    std::string reply;
    return sendConfigRequest(m_lUserID, kCaptureRuleRequest, protocol::TToJSONStr(rule), reply);
}

}  // namespace EnrollmentStation
