#include "Common/Protocol/JSONStruct/RuleMessages.h"

#include "Common/Protocol/JSONStruct/FieldTable.h"

namespace protocol {
namespace {

using RuleFields = detail::FieldsOf<Rule>;
constexpr detail::FieldDesc kRuleFields[] = {
    RuleFields::field<&Rule::m_strDataType>("dataType"),
    RuleFields::field<&Rule::m_bEnable>("enable"),
    RuleFields::field<&Rule::m_bUniqueCheck>("uniqueCheck"),
    RuleFields::field<&Rule::m_nLen>("len"),
    RuleFields::field<&Rule::m_nNum>("num"),
    RuleFields::field<&Rule::m_vecFingerprintIDs>("fingerprintIDs"),
};

using RuleInfoFields = detail::FieldsOf<RuleInfo>;
constexpr detail::FieldDesc kRuleInfoFields[] = {
    RuleInfoFields::field<&RuleInfo::m_bReqAdminRights>("reqAdminRights"),
    RuleInfoFields::field<&RuleInfo::m_bEnableCardNoLenAuto>("enableCardNoLenAuto"),
    RuleInfoFields::field<&RuleInfo::m_vecRuleList>("RuleList"),
};

using DetailsFields = detail::FieldsOf<UploadFailedDetails>;
constexpr detail::FieldDesc kDetailsFields[] = {
    DetailsFields::field<&UploadFailedDetails::m_strDescription>("description"),
};

}  // namespace

void Rule::fromJSON(const cJSON* node) { RuleFields::read(*this, kRuleFields, node); }
cJSON* Rule::toJSON() const { return RuleFields::write(*this, kRuleFields); }
const char* Rule::getRootName() const { return "Rule"; }

void RuleInfo::fromJSON(const cJSON* node) { RuleInfoFields::read(*this, kRuleInfoFields, node); }
cJSON* RuleInfo::toJSON() const { return RuleInfoFields::write(*this, kRuleInfoFields); }
const char* RuleInfo::getRootName() const { return "RuleInfo"; }

void UploadFailedDetails::fromJSON(const cJSON* node) { DetailsFields::read(*this, kDetailsFields, node); }
cJSON* UploadFailedDetails::toJSON() const { return DetailsFields::write(*this, kDetailsFields); }
const char* UploadFailedDetails::getRootName() const { return "UploadFailedDetails"; }

}  // namespace protocol
