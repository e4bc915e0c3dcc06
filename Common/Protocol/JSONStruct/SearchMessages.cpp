#include "Common/Protocol/JSONStruct/SearchMessages.h"

#include "Common/Protocol/JSONStruct/FieldTable.h"

namespace protocol {
namespace {

using detail::WriteRule;

using CondFields = detail::FieldsOf<SearchTaskCond>;
constexpr detail::FieldDesc kCondFields[] = {
    CondFields::field<&SearchTaskCond::m_strSearchID>("searchID"),
    CondFields::field<&SearchTaskCond::m_nSearchResultPosition>("searchResultPosition"),
    CondFields::field<&SearchTaskCond::m_nMaxResults>("maxResults"),
    CondFields::field<&SearchTaskCond::m_vecCaptureNoList>("captureNoList", WriteRule::WhenNotEmpty),
    CondFields::field<&SearchTaskCond::m_strSearchType>("searchType", WriteRule::WhenNotEmpty),
};

using RecordFields = detail::FieldsOf<DataCollect>;
constexpr detail::FieldDesc kRecordFields[] = {
    RecordFields::field<&DataCollect::m_nLastCaptureNo>("lastCaptureNo"),
    RecordFields::field<&DataCollect::m_nCaptureNo>("captureNo"),
    RecordFields::field<&DataCollect::m_strName>("name"),
    RecordFields::field<&DataCollect::m_strEmployeeNo>("employeeNo"),
    RecordFields::field<&DataCollect::m_strIDCardNo>("IDCardNo"),
    RecordFields::field<&DataCollect::m_vecCardNoList>("CardNoList"),
    RecordFields::field<&DataCollect::m_vecFingerprintList>("FingerprintList"),
    RecordFields::field<&DataCollect::m_stFaceFeature>("FaceFeature"),
    RecordFields::field<&DataCollect::m_bRiskDataMark>("riskDataMark"),
};

using ResponseFields = detail::FieldsOf<SearchTaskResponse>;
constexpr detail::FieldDesc kResponseFields[] = {
    ResponseFields::field<&SearchTaskResponse::m_strSearchID>("searchID"),
    ResponseFields::field<&SearchTaskResponse::m_strResponseStatusStrg>("responseStatusStrg"),
    ResponseFields::field<&SearchTaskResponse::m_nNumOfMatches>("numOfMatches"),
    ResponseFields::field<&SearchTaskResponse::m_nTotalMatches>("totalMatches"),
    ResponseFields::field<&SearchTaskResponse::m_vecDataCollections>("DataCollections"),
};

using ResultFields = detail::FieldsOf<SearchCaptureData>;
constexpr detail::FieldDesc kResultFields[] = {
    ResultFields::field<&SearchCaptureData::m_strFaceData>("faceData"),
    ResultFields::field<&SearchCaptureData::m_strInfraredFaceData>("infraredFaceData"),
    ResultFields::field<&SearchCaptureData::m_stSearchTaskCond>("SearchTaskCond"),
};

}  // namespace

void SearchTaskCond::fromJSON(const cJSON* node) { CondFields::read(*this, kCondFields, node); }
cJSON* SearchTaskCond::toJSON() const { return CondFields::write(*this, kCondFields); }
const char* SearchTaskCond::getRootName() const { return "SearchTaskCond"; }

void DataCollect::fromJSON(const cJSON* node) { RecordFields::read(*this, kRecordFields, node); }
cJSON* DataCollect::toJSON() const { return RecordFields::write(*this, kRecordFields); }
const char* DataCollect::getRootName() const { return "DataCollect"; }

void SearchTaskResponse::fromJSON(const cJSON* node) { ResponseFields::read(*this, kResponseFields, node); }
cJSON* SearchTaskResponse::toJSON() const { return ResponseFields::write(*this, kResponseFields); }
const char* SearchTaskResponse::getRootName() const { return "SearchTaskResponse"; }

void SearchCaptureData::fromJSON(const cJSON* node) { ResultFields::read(*this, kResultFields, node); }
cJSON* SearchCaptureData::toJSON() const { return ResultFields::write(*this, kResultFields); }
const char* SearchCaptureData::getRootName() const { return "SearchCaptureData"; }

}  // namespace protocol
