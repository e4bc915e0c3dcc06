// Offline store search: the condition sent, the device's answer, one captured
// person record and the result document handed to the caller.
// Thread safety: one thread at a time per message.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_SEARCHMESSAGES_H
#define COMMON_PROTOCOL_JSONSTRUCT_SEARCHMESSAGES_H

#include "Common/Protocol/JSONStruct/FaceMessages.h"
#include "Common/Protocol/JSONStruct/IdentityMessages.h"
#include "Common/Protocol/JSONStruct/ParseJSONUtil.h"

#include <cstdint>
#include <string>
#include <vector>

namespace protocol {

// Root key "SearchTaskCond". "captureNoList" and "searchType" are written
// only when not empty.
class SearchTaskCond : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strSearchID;
    std::int32_t m_nSearchResultPosition = 0;
    std::int32_t m_nMaxResults = 0;
    std::vector<std::string> m_vecCaptureNoList;
    std::string m_strSearchType;
};

// Root key "DataCollect": one captured person record.
class DataCollect : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::int32_t m_nLastCaptureNo = 0;
    std::int32_t m_nCaptureNo = 0;
    std::string m_strName;
    std::string m_strEmployeeNo;
    std::string m_strIDCardNo;
    std::vector<std::string> m_vecCardNoList;
    std::vector<FingerprintData> m_vecFingerprintList;
    FaceFeatureData m_stFaceFeature;
    bool m_bRiskDataMark = false;
};

// Root key "SearchTaskResponse": the device's answer to one condition.
class SearchTaskResponse : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strSearchID;
    std::string m_strResponseStatusStrg;
    std::int32_t m_nNumOfMatches = 0;
    std::int32_t m_nTotalMatches = 0;
    std::vector<DataCollect> m_vecDataCollections;
};

// Root key "SearchCaptureData": the result document for the caller. The
// response is held under the key "SearchTaskCond", not "SearchTaskResponse".
class SearchCaptureData : public IInboundData {
public:
    void fromJSON(const cJSON* node) override;
    cJSON* toJSON() const override;
    const char* getRootName() const override;

    std::string m_strFaceData;
    std::string m_strInfraredFaceData;
    SearchTaskResponse m_stSearchTaskCond;
};

}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_SEARCHMESSAGES_H
