// Reading the identity card on the station's reader.
#include <string>

#include "BaseSDK/OPRALStrategy.h"
#include "Common/Protocol/JSONStruct/IdentityMessages.h"
#include "EnrollmentOperator.h"
#include "LastError.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kCaptureIDRequest = "POST /OPRAL/AccessControl/CaptureIDInfo?format=json\r\n";

}  // namespace

// Texts are copied as the station sent them (the photo stays Base64 text).
// Fingerprints are appended: a caller that reuses the record keeps the ones
// it already holds in front.
bool CEnrollmentStation::captureIDCardInfo(IdentityInfomation& info) {
    protocol::IdentityInfo message;
    if (!m_pOperator->captureIDCardInfo(message)) return false;

    info.chnName = message.m_strChnName;
    info.enName = message.m_strEnName;
    info.sex = message.m_strSex;
    info.birth = message.m_strBirth;
    info.addr = message.m_strAddr;
    info.IDCardNo = message.m_strIDCardNo;
    info.issuingAuthority = message.m_strIssuingAuthority;
    info.startDate = message.m_strStartDate;
    info.endDate = message.m_strEndDate;
    info.nation = message.m_nNation;
    info.passNo = message.m_strPassNo;
    info.issueNumber = message.m_strIssueNumber;
    info.certificateType = message.m_strCertificateType;
    info.permanentResidenceCardNo = message.m_strPermanentResidenceCardNo;
    info.nationalityOrAreaCode = message.m_strNationalityOrAreaCode;
    info.version = message.m_strVersion;
    info.receivingAuthorityCode = message.m_strReceivingAuthorityCode;
    for (const protocol::Fingerprint& fingerprint : message.m_vecFingerprintList) {
        info.fingerprintList.push_back(fingerprint.m_strFingerprint);
    }
    info.pic = message.m_strPic;
    return true;
}

bool CEnrollmentOperator::captureIDCardInfo(protocol::IdentityInfo& info) {
    if (!requireSession(m_lUserID)) return false;

    const protocol::IdentityInfoCond condition;
    std::string reply;
    if (!sendConfigRequest(m_lUserID, kCaptureIDRequest, protocol::TToJSONStr(condition), reply)) {
        return false;
    }
    return protocol::TParseJSONStr(info, reply);
}

}  // namespace EnrollmentStation
