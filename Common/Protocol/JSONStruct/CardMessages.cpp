#include "Common/Protocol/JSONStruct/CardMessages.h"

#include "Common/Protocol/JSONStruct/FieldTable.h"

namespace protocol {
namespace {

using CardInfoFields = detail::FieldsOf<CardInfo>;
constexpr detail::FieldDesc kCardInfoFields[] = {
    CardInfoFields::field<&CardInfo::m_strCardNo>("cardNo"),
    CardInfoFields::field<&CardInfo::m_strCardType>("cardType"),
};

using CaptureRuleFields = detail::FieldsOf<CaptureRule>;
constexpr detail::FieldDesc kCaptureRuleFields[] = {
    CaptureRuleFields::field<&CaptureRule::m_bEnableCardNoLenAuto>("enableCardNoLenAuto"),
    CaptureRuleFields::field<&CaptureRule::m_nCardNoLen>("cardNoLen"),
    CaptureRuleFields::field<&CaptureRule::m_nCardTimeout>("cardTimeout"),
};

using CardTypeFields = detail::FieldsOf<RFCardType>;
constexpr detail::FieldDesc kCardTypeFields[] = {
    CardTypeFields::field<&RFCardType::m_vecOpt>("@opt"),
};

using EnabledFields = detail::FieldsOf<RFCardEnabled>;
constexpr detail::FieldDesc kEnabledFields[] = {
    EnabledFields::field<&RFCardEnabled::m_vecOpt>("@opt"),
};

using CapFields = detail::FieldsOf<RFCardCfgCap>;
constexpr detail::FieldDesc kCapFields[] = {
    CapFields::field<&RFCardCfgCap::m_stCardType>("cardType"),
    CapFields::field<&RFCardCfgCap::m_stEnabled>("enabled"),
};

using CarFields = detail::FieldsOf<RFCar>;
constexpr detail::FieldDesc kCarFields[] = {
    CarFields::field<&RFCar::m_strCardType>("cardType"),
    CarFields::field<&RFCar::m_bEnabled>("enabled"),
};

using CfgFields = detail::FieldsOf<RFCardCfgData>;
constexpr detail::FieldDesc kCfgFields[] = {
    CfgFields::field<&RFCardCfgData::m_vecRFCardCfg>("RFCardCfg"),
};

}  // namespace

void CardInfo::fromJSON(const cJSON* node) { CardInfoFields::read(*this, kCardInfoFields, node); }
cJSON* CardInfo::toJSON() const { return CardInfoFields::write(*this, kCardInfoFields); }
const char* CardInfo::getRootName() const { return "CardInfo"; }

void CaptureRule::fromJSON(const cJSON* node) { CaptureRuleFields::read(*this, kCaptureRuleFields, node); }
cJSON* CaptureRule::toJSON() const { return CaptureRuleFields::write(*this, kCaptureRuleFields); }
const char* CaptureRule::getRootName() const { return "CaptureRule"; }

void RFCardType::fromJSON(const cJSON* node) { CardTypeFields::read(*this, kCardTypeFields, node); }
cJSON* RFCardType::toJSON() const { return CardTypeFields::write(*this, kCardTypeFields); }
const char* RFCardType::getRootName() const { return "cardType"; }

void RFCardEnabled::fromJSON(const cJSON* node) { EnabledFields::read(*this, kEnabledFields, node); }
cJSON* RFCardEnabled::toJSON() const { return EnabledFields::write(*this, kEnabledFields); }
const char* RFCardEnabled::getRootName() const { return "enabled"; }

void RFCardCfgCap::fromJSON(const cJSON* node) { CapFields::read(*this, kCapFields, node); }
cJSON* RFCardCfgCap::toJSON() const { return CapFields::write(*this, kCapFields); }
const char* RFCardCfgCap::getRootName() const { return "RFCardCfgCap"; }

void RFCar::fromJSON(const cJSON* node) { CarFields::read(*this, kCarFields, node); }
cJSON* RFCar::toJSON() const { return CarFields::write(*this, kCarFields); }
const char* RFCar::getRootName() const { return "RFCardCfg"; }

void RFCardCfgData::fromJSON(const cJSON* node) { CfgFields::read(*this, kCfgFields, node); }
cJSON* RFCardCfgData::toJSON() const { return CfgFields::write(*this, kCfgFields); }
const char* RFCardCfgData::getRootName() const { return "RFCardCfg"; }

}  // namespace protocol
