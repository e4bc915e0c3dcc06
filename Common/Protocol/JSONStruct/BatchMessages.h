// Long-connection job description and result carrier. Plain values: copying
// one copies every field, the send list and the framework state.
// Thread safety: one thread at a time per message.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_BATCHMESSAGES_H
#define COMMON_PROTOCOL_JSONSTRUCT_BATCHMESSAGES_H

#include "Common/Protocol/JSONStruct/ParseJSONUtil.h"

#include <cstdint>
#include <string>
#include <vector>

namespace protocol {

// Root key "batchSendData".
class BatchSendData : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strId;
    std::string m_strInBuffer;
    std::string m_strInBufferEncoding = "raw";
};

// Root key "batchPassThroughReq".
class BatchPassThroughReq : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strGuid;
    bool m_bCancel = false;
    std::int32_t m_nCommand = 0;
    bool m_bHasNext = false;
    std::string m_strCondBuffer;
    std::string m_strCondBufferEncoding = "raw";
    std::int32_t m_nMaxResultNum = 0;
    std::vector<BatchSendData> m_vecBatchSendDataList;
};

// One result of a long-connection step; no root key.
class BatchReturnData : public IReturnData {
public:
    // "code" starts as the text of a default-built base-library error code.
    BatchReturnData();

    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;

    std::string m_strId;
    std::string m_strCode;
    std::string m_strOutBuffer;
    std::string m_strOutBufferEncoding;  // no "raw" default here
};

}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_BATCHMESSAGES_H
