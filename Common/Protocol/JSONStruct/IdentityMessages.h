// Identity card and fingerprint messages. Fingerprint, FingerprintData and
// FingerPrintData are three distinct messages; the first two share the root
// key "Fingerprint".
// Thread safety: one thread at a time per message.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_IDENTITYMESSAGES_H
#define COMMON_PROTOCOL_JSONSTRUCT_IDENTITYMESSAGES_H

#include "Common/Protocol/JSONStruct/ParseJSONUtil.h"

#include <cstdint>
#include <string>
#include <vector>

namespace protocol {

// Root key "IdentityInfoCond": no fields, written as an empty object.
class IdentityInfoCond : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;
};

// Root key "Fingerprint": a fingerprint held on an identity card.
class Fingerprint : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strFingerprint;
};

// Root key "IdentityInfo": the identity card as the device read it.
class IdentityInfo : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strChnName;
    std::string m_strEnName;
    std::string m_strSex;
    std::string m_strBirth;
    std::string m_strAddr;
    std::string m_strIDCardNo;
    std::string m_strIssuingAuthority;
    std::string m_strStartDate;
    std::string m_strEndDate;
    std::int32_t m_nNation = 0;
    std::string m_strPassNo;
    std::string m_strIssueNumber;
    std::string m_strCertificateType;
    std::string m_strPermanentResidenceCardNo;
    std::string m_strNationalityOrAreaCode;
    std::string m_strVersion;
    std::string m_strReceivingAuthorityCode;
    std::vector<Fingerprint> m_vecFingerprintList;
    std::string m_strPic;
};

// Root key "Fingerprint": a fingerprint of an offline capture record.
class FingerprintData : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::int32_t m_nFingerprintID = 0;
    std::string m_strFingerprint;
};

// Root key "FingerPrintData": one live fingerprint capture.
class FingerPrintData : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strFingerPrintData;
    std::string m_strFingerPrintPic;
    std::int32_t m_nFingerPrintQuality = 0;
};

}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_IDENTITYMESSAGES_H
