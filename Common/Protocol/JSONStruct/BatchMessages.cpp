#include "Common/Protocol/JSONStruct/BatchMessages.h"

#include "Common/Protocol/JSONStruct/FieldTable.h"
#include "KestroBase.h"

namespace protocol {
namespace {

using SendFields = detail::FieldsOf<BatchSendData>;
constexpr detail::FieldDesc kSendFields[] = {
    SendFields::field<&BatchSendData::m_strId>("id"),
    SendFields::field<&BatchSendData::m_strInBuffer>("inBuffer"),
    SendFields::field<&BatchSendData::m_strInBufferEncoding>("inBufferEncoding"),
};

using ReqFields = detail::FieldsOf<BatchPassThroughReq>;
constexpr detail::FieldDesc kReqFields[] = {
    ReqFields::field<&BatchPassThroughReq::m_strGuid>("guid"),
    ReqFields::field<&BatchPassThroughReq::m_bCancel>("cancel"),
    ReqFields::field<&BatchPassThroughReq::m_nCommand>("command"),
    ReqFields::field<&BatchPassThroughReq::m_bHasNext>("hasNext"),
    ReqFields::field<&BatchPassThroughReq::m_strCondBuffer>("condBuffer"),
    ReqFields::field<&BatchPassThroughReq::m_strCondBufferEncoding>("condBufferEncoding"),
    ReqFields::field<&BatchPassThroughReq::m_nMaxResultNum>("maxResultNum"),
    ReqFields::field<&BatchPassThroughReq::m_vecBatchSendDataList>("batchSendDataList"),
};

using ReturnFields = detail::FieldsOf<BatchReturnData>;
constexpr detail::FieldDesc kReturnFields[] = {
    ReturnFields::field<&BatchReturnData::m_strId>("id"),
    ReturnFields::field<&BatchReturnData::m_strCode>("code"),
    ReturnFields::field<&BatchReturnData::m_strOutBuffer>("outBuffer"),
    ReturnFields::field<&BatchReturnData::m_strOutBufferEncoding>("outBufferEncoding"),
};

// "main-sub", as results quote the base library's error codes.
std::string codeText(const Kestro::Base::Error::ErrorCode& code) {
    return std::to_string(code.iMainCode) + "-" + std::to_string(code.iSubCode);
}

}  // namespace

void BatchSendData::fromJSON(const cJSON* node) { SendFields::read(*this, kSendFields, node); }
cJSON* BatchSendData::toJSON() const { return SendFields::write(*this, kSendFields); }
const char* BatchSendData::getRootName() const { return "batchSendData"; }

void BatchPassThroughReq::fromJSON(const cJSON* node) { ReqFields::read(*this, kReqFields, node); }
cJSON* BatchPassThroughReq::toJSON() const { return ReqFields::write(*this, kReqFields); }
const char* BatchPassThroughReq::getRootName() const { return "batchPassThroughReq"; }

BatchReturnData::BatchReturnData() : m_strCode(codeText(Kestro::Base::Error::ErrorCode())) {}
void BatchReturnData::fromJSON(const cJSON* node) { ReturnFields::read(*this, kReturnFields, node); }
cJSON* BatchReturnData::toJSON() const { return ReturnFields::write(*this, kReturnFields); }

}  // namespace protocol
