// The station's status documents and JSON replies.
#include <cjson/cJSON.h>

#include "ConfigServer/ConfigHandlers.h"

namespace vstation {

namespace {

struct StatusText {
    int statusCode;
    const char* statusString;
    const char* subStatusCode;
    int errorCode;  // the station's own numbering: status code in the high half
    const char* errorMsg;
};

// Error codes 0 and 1 mean "no error" to clients; every failure uses a
// larger one.
StatusText statusText(ConfigStatus status) {
    switch (status) {
        case ConfigStatus::Ok:
            return {1, "OK", "ok", 1, "ok"};
        case ConfigStatus::BadRequestLine:
            return {4, "Unsupported Request", "badRequestLine", 0x40001, "the request line is malformed"};
        case ConfigStatus::UnknownRequest:
            return {4, "Unsupported Request", "unknownRequest", 0x40002, "the station does not serve this request"};
        case ConfigStatus::MethodNotAllowed:
            return {4, "Unsupported Request", "methodNotAllowed", 0x40003, "the resource does not take this method"};
        case ConfigStatus::FunctionNotSupported:
            return {4, "Unsupported Request", "functionNotSupported", 0x40004, "the station lacks this function"};
        case ConfigStatus::LongConnectionOnly:
            return {4, "Unsupported Request", "longConnectionOnly", 0x40005, "this request needs a long connection"};
        case ConfigStatus::BadJsonBody:
            return {6, "Bad Content", "badJsonBody", 0x60001, "the body is not the expected JSON document"};
        case ConfigStatus::BadField:
            return {6, "Bad Content", "badField", 0x60002, "a field is missing or of the wrong type"};
        case ConfigStatus::ValueOutOfRange:
            return {6, "Bad Content", "valueOutOfRange", 0x60003, "a value is out of range"};
        case ConfigStatus::NoCardPresented:
            return {3, "Reader Empty", "noCardPresented", 0x30001, "no card was presented to the reader"};
        case ConfigStatus::CardTypeDisabled:
            return {3, "Reader Empty", "cardTypeDisabled", 0x30002, "the presented card's type is not enabled"};
        case ConfigStatus::NoIDCardPresented:
            return {3, "Reader Empty", "noIDCardPresented", 0x30003, "no identity card lies on the reader"};
    }
    return {4, "Unsupported Request", "unknownRequest", 0x40002, "the station does not serve this request"};
}

std::string print(cJSON* root) {
    char* text = cJSON_Print(root);
    std::string result = text ? text : "";
    cJSON_free(text);
    cJSON_Delete(root);
    return result;
}

std::string statusDocument(const ConfigRequest& request, ConfigStatus status, const std::string& detail) {
    const StatusText text = statusText(status);
    cJSON* root = cJSON_CreateObject();
    cJSON_AddStringToObject(root, "requestURL", request.uri.c_str());
    cJSON_AddNumberToObject(root, "statusCode", text.statusCode);
    cJSON_AddStringToObject(root, "statusString", text.statusString);
    cJSON_AddStringToObject(root, "subStatusCode", text.subStatusCode);
    cJSON_AddNumberToObject(root, "errorCode", text.errorCode);
    cJSON_AddStringToObject(root, "errorMsg", detail.empty() ? text.errorMsg : detail.c_str());
    return print(root);
}

}  // namespace

ConfigAnswer statusAnswer(const ConfigRequest& request, ConfigStatus status, const std::string& detail) {
    ConfigAnswer answer;
    answer.ok = status == ConfigStatus::Ok;
    answer.bytes = statusDocument(request, status, detail);
    return answer;
}

ConfigAnswer okAnswer(const ConfigRequest& request) { return statusAnswer(request, ConfigStatus::Ok); }

ConfigAnswer jsonAnswer(cJSON* root) {
    ConfigAnswer answer;
    answer.bytes = print(root);
    return answer;
}

}  // namespace vstation
