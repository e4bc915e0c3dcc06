#include "Common/Protocol/JSONStruct/IdentityMessages.h"

#include "Common/Protocol/JSONStruct/FieldTable.h"

namespace protocol {
namespace {

using FingerprintFields = detail::FieldsOf<Fingerprint>;
constexpr detail::FieldDesc kFingerprintFields[] = {
    FingerprintFields::field<&Fingerprint::m_strFingerprint>("fingerprint"),
};

using IdentityFields = detail::FieldsOf<IdentityInfo>;
constexpr detail::FieldDesc kIdentityFields[] = {
    IdentityFields::field<&IdentityInfo::m_strChnName>("chnName"),
    IdentityFields::field<&IdentityInfo::m_strEnName>("enName"),
    IdentityFields::field<&IdentityInfo::m_strSex>("sex"),
    IdentityFields::field<&IdentityInfo::m_strBirth>("birth"),
    IdentityFields::field<&IdentityInfo::m_strAddr>("addr"),
    IdentityFields::field<&IdentityInfo::m_strIDCardNo>("IDCardNo"),
    IdentityFields::field<&IdentityInfo::m_strIssuingAuthority>("issuingAuthority"),
    IdentityFields::field<&IdentityInfo::m_strStartDate>("startDate"),
    IdentityFields::field<&IdentityInfo::m_strEndDate>("endDate"),
    IdentityFields::field<&IdentityInfo::m_nNation>("nation"),
    IdentityFields::field<&IdentityInfo::m_strPassNo>("passNo"),
    IdentityFields::field<&IdentityInfo::m_strIssueNumber>("issueNumber"),
    IdentityFields::field<&IdentityInfo::m_strCertificateType>("certificateType"),
    IdentityFields::field<&IdentityInfo::m_strPermanentResidenceCardNo>("permanentResidenceCardNo"),
    IdentityFields::field<&IdentityInfo::m_strNationalityOrAreaCode>("nationalityOrAreaCode"),
    IdentityFields::field<&IdentityInfo::m_strVersion>("version"),
    IdentityFields::field<&IdentityInfo::m_strReceivingAuthorityCode>("receivingAuthorityCode"),
    IdentityFields::field<&IdentityInfo::m_vecFingerprintList>("FingerprintList"),
    IdentityFields::field<&IdentityInfo::m_strPic>("pic"),
};

using FingerprintDataFields = detail::FieldsOf<FingerprintData>;
constexpr detail::FieldDesc kFingerprintDataFields[] = {
    FingerprintDataFields::field<&FingerprintData::m_nFingerprintID>("fingerprintID"),
    FingerprintDataFields::field<&FingerprintData::m_strFingerprint>("fingerprint"),
};

using CaptureFields = detail::FieldsOf<FingerPrintData>;
constexpr detail::FieldDesc kCaptureFields[] = {
    CaptureFields::field<&FingerPrintData::m_strFingerPrintData>("fingerPrintData"),
    CaptureFields::field<&FingerPrintData::m_strFingerPrintPic>("fingerPrintPic"),
    CaptureFields::field<&FingerPrintData::m_nFingerPrintQuality>("fingerPrintQuality"),
};

}  // namespace

// The identity request condition has no fields to read or write.
void IdentityInfoCond::fromJSON(const cJSON*) {}
cJSON* IdentityInfoCond::toJSON() const { return cJSON_CreateObject(); }
const char* IdentityInfoCond::getRootName() const { return "IdentityInfoCond"; }

void Fingerprint::fromJSON(const cJSON* node) { FingerprintFields::read(*this, kFingerprintFields, node); }
cJSON* Fingerprint::toJSON() const { return FingerprintFields::write(*this, kFingerprintFields); }
const char* Fingerprint::getRootName() const { return "Fingerprint"; }

void IdentityInfo::fromJSON(const cJSON* node) { IdentityFields::read(*this, kIdentityFields, node); }
cJSON* IdentityInfo::toJSON() const { return IdentityFields::write(*this, kIdentityFields); }
const char* IdentityInfo::getRootName() const { return "IdentityInfo"; }

void FingerprintData::fromJSON(const cJSON* node) {
    FingerprintDataFields::read(*this, kFingerprintDataFields, node);
}
cJSON* FingerprintData::toJSON() const { return FingerprintDataFields::write(*this, kFingerprintDataFields); }
const char* FingerprintData::getRootName() const { return "Fingerprint"; }

void FingerPrintData::fromJSON(const cJSON* node) { CaptureFields::read(*this, kCaptureFields, node); }
cJSON* FingerPrintData::toJSON() const { return CaptureFields::write(*this, kCaptureFields); }
const char* FingerPrintData::getRootName() const { return "FingerPrintData"; }

}  // namespace protocol
