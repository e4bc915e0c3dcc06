#include "RecordConversion.h"

#include <algorithm>
#include <string>
#include <utility>
#include <vector>

namespace EnrollmentStation {

namespace {

// Card type names as the station spells them; compared exactly.
constexpr const char* kEMCard = "EMCard";
constexpr const char* kM1Card = "M1Card";
constexpr const char* kCPUCard = "CPUCard";
constexpr const char* kIDCard = "IDCard";

PointInfo toRecord(const protocol::FacePoint& point) {
    PointInfo info;
    info.x = point.m_dX;
    info.y = point.m_dY;
    return info;
}

FaceFeatureInfo toRecord(const protocol::FaceFeatureData& feature) {
    FaceFeatureInfo info;
    info.region.height = feature.m_stRegion.m_dHeight;
    info.region.width = feature.m_stRegion.m_dWidth;
    info.region.x = feature.m_stRegion.m_dX;
    info.region.y = feature.m_stRegion.m_dY;
    info.leftEyePoint = toRecord(feature.m_stLeftEyePoint);
    info.rightEyePoint = toRecord(feature.m_stRightEyePoint);
    info.leftMouthPoint = toRecord(feature.m_stLeftMouthPoint);
    info.rightMouthPoint = toRecord(feature.m_stRightMouthPoint);
    info.noseTipPoint = toRecord(feature.m_stNoseTipPoint);
    return info;
}

DataCollectInfomation toRecord(protocol::DataCollect&& record) {
    DataCollectInfomation info;
    info.lastCaptureNo = record.m_nLastCaptureNo;
    info.captureNo = record.m_nCaptureNo;
    info.name = std::move(record.m_strName);
    info.employeeNo = std::move(record.m_strEmployeeNo);
    info.IDCardNo = std::move(record.m_strIDCardNo);
    info.cardNoList = std::move(record.m_vecCardNoList);
    info.fingerprintList.reserve(record.m_vecFingerprintList.size());
    for (protocol::FingerprintData& finger : record.m_vecFingerprintList) {
        FingerprintInfo item;
        item.fingerprintID = finger.m_nFingerprintID;
        item.fingerprint = std::move(finger.m_strFingerprint);
        info.fingerprintList.push_back(std::move(item));
    }
    info.faceFeature = toRecord(record.m_stFaceFeature);
    info.riskDataMark = record.m_bRiskDataMark;
    return info;
}

}  // namespace

protocol::CaptureRule toMessage(const CaptureRuleInfo& rule) {
    protocol::CaptureRule message;
    message.m_bEnableCardNoLenAuto = rule.enableCardNoLenAuto;
    message.m_nCardNoLen = rule.cardNoLen;
    message.m_nCardTimeout = rule.cardTimeout;
    return message;
}

// Every value passes as the caller wrote it; the station judges the ranges.
protocol::RuleInfo toMessage(const offLineRuleInfomation& rule) {
    protocol::RuleInfo message;
    message.m_bReqAdminRights = rule.reqAdminRights;
    message.m_bEnableCardNoLenAuto = rule.enableCardNoLenAuto;
    for (const offLineRuleItem& item : rule.ruleList) {
        protocol::Rule entry;
        entry.m_strDataType = item.dataType;
        entry.m_bEnable = item.enable;
        entry.m_bUniqueCheck = item.uniqueCheck;
        entry.m_nLen = item.len;
        entry.m_nNum = item.num;
        entry.m_vecFingerprintIDs.assign(item.fingerprintIDs.begin(), item.fingerprintIDs.end());
        message.m_vecRuleList.push_back(entry);
    }
    return message;
}

protocol::RFCardCfgData toMessage(const RFCardParam& param, const RFCardCap& offered) {
    protocol::RFCardCfgData message;
    auto add = [&message](const char* cardType, bool enabled) {
        protocol::RFCar entry;
        entry.m_strCardType = cardType;
        entry.m_bEnabled = enabled;
        message.m_vecRFCardCfg.push_back(entry);
    };
    if (offered.isSupportCPUCard) add(kCPUCard, param.enableCPUCard);
    if (offered.isSupportEMCard) add(kEMCard, param.enableEMCard);
    if (offered.isSupportM1Card) add(kM1Card, param.enableM1Card);
    if (offered.isSupportIDCard) add(kIDCard, param.enableIDCard);
    return message;
}

RFCardCap toRecord(const protocol::RFCardCfgCap& message) {
    const std::vector<std::string>& offered = message.m_stCardType.m_vecOpt;
    auto offers = [&offered](const char* name) {
        return std::find(offered.begin(), offered.end(), name) != offered.end();
    };
    RFCardCap cap;
    cap.isSupportEMCard = offers(kEMCard);
    cap.isSupportM1Card = offers(kM1Card);
    cap.isSupportCPUCard = offers(kCPUCard);
    cap.isSupportIDCard = offers(kIDCard);
    return cap;
}

void readInto(const protocol::RFCardCfgData& message, RFCardParam& param) {
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
}

// Texts are copied as the station sent them (the photo stays Base64 text).
void readInto(const protocol::IdentityInfo& message, IdentityInfomation& info) {
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
}

void readInto(protocol::FingerPrintData&& message, FingerPrintInfomation& info) {
    info.fingerPrintQuality = message.m_nFingerPrintQuality;
    info.fingerPrintData = std::move(message.m_strFingerPrintData);
    info.fingerPrintPic = std::move(message.m_strFingerPrintPic);
}

void readInto(protocol::FaceData&& message, FaceInformation& info) {
    info.faceTemplate1Quality = message.m_nFaceTemplate1Quality;
    info.faceTemplate2Quality = message.m_nFaceTemplate2Quality;
    info.faceDataQuality = message.m_nFaceDataQuality;
    info.infraredFaceDataQuality = message.m_nInfraredFaceDataQuality;
    info.faceTemplate1 = std::move(message.m_strFaceTemplate1);
    info.faceTemplate2 = std::move(message.m_strFaceTemplate2);
    info.faceData = std::move(message.m_strFaceData);
    info.infraredFaceData = std::move(message.m_strInfraredFaceData);
    info.faceFeature = toRecord(message.m_stFaceFeature);
}

void readInto(const protocol::UploadFailedDetails& message, UploadFailedDetailsInfomation& details) {
    details.description = message.m_strDescription;
}

// Only the first data record counts: the station pages one record per document.
bool readInto(protocol::SearchCaptureData&& message, SearchCaptureInfomation& info) {
    protocol::SearchTaskResponse& response = message.m_stSearchTaskCond;
    if (response.m_vecDataCollections.empty()) return false;
    info.faceData = std::move(message.m_strFaceData);
    info.infraredFaceData = std::move(message.m_strInfraredFaceData);
    info.searchID = std::move(response.m_strSearchID);
    info.responseStatusStrg = std::move(response.m_strResponseStatusStrg);
    info.numOfMatches = response.m_nNumOfMatches;
    info.totalMatches = response.m_nTotalMatches;
    info.dataCollectList.push_back(toRecord(std::move(response.m_vecDataCollections.front())));
    return true;
}

}  // namespace EnrollmentStation
