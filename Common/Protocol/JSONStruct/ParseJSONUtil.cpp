#include "Common/Protocol/JSONStruct/ParseJSONUtil.h"

#include "Common/LogSource.h"
#include "Common/Protocol/JSONStruct/BodyPrinter.h"
#include "Common/Protocol/JSONStruct/FieldTable.h"
#include "Common/Protocol/JSONStruct/JsonTree.h"
#include "KestroBase.h"

#include <algorithm>

namespace protocol {
namespace {

using EnrollmentStation::kLogFailure;
using EnrollmentStation::kLogModule;
using EnrollmentStation::kSrcParseJSONUtil;
namespace logline = EnrollmentStation::logline;
constexpr const char* kLogMethod = "protocol::TParseJSONStr";

// Parses `text` as cJSON_Parse does (stops at the first zero byte, ignores
// what follows the value) but hands back the error position of this parse
// alone: cJSON's shared record may meanwhile point into another thread's text.
JsonTree parse(const std::string& text, const char** errorAt) {
    const char* end = nullptr;
    JsonTree tree(cJSON_ParseWithOpts(text.c_str(), &end, 0));
    *errorAt = tree ? nullptr : end;
    return tree;
}

}  // namespace

bool SerializationIgnoreItemFeatures::isIgnoreItem(const char* key) const {
    if (key == nullptr || *key == '\0') {
        return false;
    }
    const bool listed = std::find(ignoreItems.begin(), ignoreItems.end(), key) != ignoreItems.end();
    switch (ignoreMode) {
    case 0:
        return listed;
    case 1:
        return !listed;
    default:
        return false;
    }
}

IInboundData::~IInboundData() = default;
IReturnData::~IReturnData() = default;

std::string TToJSONStr(const IInboundData& msg) {
    JsonTree root(cJSON_CreateObject());
    if (!root) {
        return std::string();
    }
    cJSON* body = nullptr;
    {
        detail::BorrowedStrings borrow;
        body = msg.toJSON();
    }
    if (body == nullptr) {
        return std::string();
    }
    // Root names are constant texts, so the key can be borrowed.
    if (!cJSON_AddItemToObjectCS(root.get(), msg.getRootName(), body)) {
        cJSON_Delete(body);
        return std::string();
    }
    return detail::printBody(root.get());
}

bool TParseJSONStr(IInboundData& msg, const std::string& text) {
    if (text.empty()) {
        return false;
    }
    const char* errorAt = nullptr;
    JsonTree root = parse(text, &errorAt);
    if (!root) {
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]Failed to cJSON_Parse( [%s] ). Error info: [%s].[%s(%d)]",
                                             kLogMethod, text.c_str(), errorAt != nullptr ? errorAt : "",
                                             kSrcParseJSONUtil, logline::kParseFailed);
        return false;
    }
    const cJSON* body = detail::findMember(root.get(), msg.getRootName());
    if (body == nullptr) {
        // The parse above succeeded, so there is no error position to show.
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]Failed to cJSON_GetObjectItem([%s]). Error info: [%s].[%s(%d)]",
                                             kLogMethod, msg.getRootName(), "", kSrcParseJSONUtil,
                                             logline::kRootKeyMissing);
        return false;
    }
    msg.fromJSON(body);
    return true;
}

std::string TToRootlessJSONStr(const IJSONStruct& msg) {
    JsonTree body;
    {
        detail::BorrowedStrings borrow;
        body.reset(msg.toJSON());
    }
    if (!body) {
        return std::string();
    }
    return detail::printBody(body.get());
}

bool TParseRootlessJSONStr(IJSONStruct& msg, const std::string& text) {
    if (text.empty()) {
        return false;
    }
    const char* errorAt = nullptr;
    JsonTree root = parse(text, &errorAt);
    if (!root) {
        return false;
    }
    msg.fromJSON(root.get());
    return true;
}

}  // namespace protocol
