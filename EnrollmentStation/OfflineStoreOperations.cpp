// The offline store's rule, its upload-failed details and its clearing.
#include <string>

#include "BaseSDK/OPRALStrategy.h"
#include "Common/Protocol/JSONStruct/RuleMessages.h"
#include "EnrollmentOperator.h"
#include "LastError.h"
#include "RecordConversion.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kRuleInfoRequest = "PUT /OPRAL/AccessControl/OfflineCapture/ruleInfo?format=json\r\n";
constexpr const char* kUploadFailedRequest =
    "GET /OPRAL/AccessControl/OfflineCapture/uploadFailedDetails?format=json\r\n";
constexpr const char* kClearStoreRequest =
    "DELETE /OPRAL/AccessControl/OfflineCapture/DataCollections?format=json\r\n";

}  // namespace

bool CEnrollmentStation::setOfflineCaptureRule(offLineRuleInfomation& rule) {
    protocol::RuleInfo message = toMessage(rule);
    return m_pOperator->setOfflineCaptureRule(message);
}

bool CEnrollmentStation::getUploadFailedDetails(UploadFailedDetailsInfomation& details) {
    protocol::UploadFailedDetails message;
    if (!m_pOperator->getUploadFailedDetails(message)) return false;
    readInto(message, details);
    return true;
}

bool CEnrollmentStation::clearEnrollmentStationData() { return m_pOperator->clearEnrollmentStationData(); }

bool CEnrollmentOperator::setOfflineCaptureRule(protocol::RuleInfo& info) {
    if (!requireSession(m_lUserID)) return false;

    std::string reply;
    return configRequest(kRuleInfoRequest, protocol::TToJSONStr(info), reply);
}

// The one operation here that also wants the init flag; without it the call
// ends quietly, with no error code and no request.
bool CEnrollmentOperator::getUploadFailedDetails(protocol::UploadFailedDetails& details) {
    if (!requireSession(m_lUserID)) return false;
    if (!m_bInit) return false;

    std::string reply;
    if (!configRequest(kUploadFailedRequest, std::string(), reply)) return false;
    return protocol::TParseJSONStr(details, reply);
}

bool CEnrollmentOperator::clearEnrollmentStationData() {
    if (!requireSession(m_lUserID)) return false;

    std::string reply;
    return configRequest(kClearStoreRequest, std::string(), reply);
}

}  // namespace EnrollmentStation
