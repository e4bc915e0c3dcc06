#include "BaseSDK/ResponseStatus.h"

#include "Common/Protocol/JSONStruct/JsonTree.h"

namespace EnrollmentStation {

namespace {

void readString(const cJSON* root, const char* key, std::string& field) {
    const cJSON* item = cJSON_GetObjectItem(root, key);
    if (item) {
        const char* text = cJSON_GetStringValue(item);
        field = text ? text : "";
    }
}

void readInteger(const cJSON* root, const char* key, int32_t& field) {
    const cJSON* item = cJSON_GetObjectItem(root, key);
    if (item) field = item->valueint;
}

}  // namespace

void parseResponseStatus(ResponseStatus& status, const std::string& text) {
    if (text.empty()) return;
    const protocol::JsonTree tree(cJSON_Parse(text.c_str()));
    const cJSON* root = tree.get();
    if (!root) return;
    readString(root, "requestURL", status.requestURL);
    readInteger(root, "statusCode", status.statusCode);
    readString(root, "statusString", status.statusString);
    readString(root, "subStatusCode", status.subStatusCode);
    int32_t errorCode = static_cast<int32_t>(status.errorCode);
    readInteger(root, "errorCode", errorCode);
    status.errorCode = static_cast<uint32_t>(errorCode);
    readString(root, "errorMsg", status.errorMsg);
    readInteger(root, "tryTimes", status.tryTimes);
}

}  // namespace EnrollmentStation
