// Card capture and RF card configuration messages.
// Thread safety: one thread at a time per message. RFCar and RFCardCfgData
// are reachable through both IReturnData and IInboundData; they keep their
// presentKeys on the IInboundData side.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_CARDMESSAGES_H
#define COMMON_PROTOCOL_JSONSTRUCT_CARDMESSAGES_H

#include "Common/Protocol/JSONStruct/ParseJSONUtil.h"

#include <cstdint>
#include <string>
#include <vector>

namespace protocol {

// Root key "CardInfo": the card the station read.
class CardInfo : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strCardNo;
    std::string m_strCardType;
};

// Root key "CaptureRule".
class CaptureRule : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    bool m_bEnableCardNoLenAuto = false;
    std::int32_t m_nCardNoLen = 0;
    std::int32_t m_nCardTimeout = 0;
};

// Root key "cardType": the card type names the device offers ("@opt").
class RFCardType : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::vector<std::string> m_vecOpt;
};

// Root key "enabled": the enabled values the device offers ("@opt").
class RFCardEnabled : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::vector<bool> m_vecOpt;
};

// Root key "RFCardCfgCap".
class RFCardCfgCap : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    RFCardType m_stCardType;
    RFCardEnabled m_stEnabled;
};

// Root key "RFCardCfg": one card type and whether the station reads it.
class RFCar : public IReturnData, public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strCardType;
    bool m_bEnabled = false;
};

// Root key "RFCardCfg", which its own object already holds as its only
// member: use TToRootlessJSONStr / TParseRootlessJSONStr for whole bodies.
class RFCardCfgData : public IReturnData, public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::vector<RFCar> m_vecRFCardCfg;
};

}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_CARDMESSAGES_H
