// Offline capture rule and upload-failed details.
// Thread safety: one thread at a time per message.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_RULEMESSAGES_H
#define COMMON_PROTOCOL_JSONSTRUCT_RULEMESSAGES_H

#include "Common/Protocol/JSONStruct/ParseJSONUtil.h"

#include <cstdint>
#include <string>
#include <vector>

namespace protocol {

// Root key "Rule": the rule for one kind of captured data.
class Rule : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strDataType;
    bool m_bEnable = false;
    bool m_bUniqueCheck = false;
    std::int32_t m_nLen = 0;
    std::int32_t m_nNum = 0;
    std::vector<std::int32_t> m_vecFingerprintIDs;
};

// Root key "RuleInfo": the offline capture rule.
class RuleInfo : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    bool m_bReqAdminRights = false;
    bool m_bEnableCardNoLenAuto = false;
    std::vector<Rule> m_vecRuleList;
};

// Root key "UploadFailedDetails".
class UploadFailedDetails : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strDescription;
};

}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_RULEMESSAGES_H
