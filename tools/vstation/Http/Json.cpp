#include "Http/Json.h"

#include <cmath>

#include "State/Base64Codec.h"

namespace vstation_tool {

namespace {

bool isString(const cJSON* item) { return cJSON_IsString(item) && item->valuestring; }
bool isNumber(const cJSON* item) { return cJSON_IsNumber(item); }
bool isBool(const cJSON* item) { return cJSON_IsBool(item); }
bool isArray(const cJSON* item) { return cJSON_IsArray(item); }
bool isObject(const cJSON* item) { return cJSON_IsObject(item); }

std::string printed(cJSON* json) {
    char* text = cJSON_PrintUnformatted(json);
    std::string result = text ? text : "{}";
    cJSON_free(text);
    return result;
}

}  // namespace

BodyFields::BodyFields(const std::string& body) : m_root(cJSON_ParseWithLength(body.data(), body.size())) {
    if (!cJSON_IsObject(m_root.get())) m_why = "the body is not a JSON object";
}

bool BodyFields::has(const char* key) const {
    return ok() && cJSON_GetObjectItemCaseSensitive(m_root.get(), key) != nullptr;
}

void BodyFields::fail(const std::string& why) {
    if (m_why.empty()) m_why = why;
}

const cJSON* BodyFields::member(const char* key, bool (*isType)(const cJSON*), const char* typeName) {
    if (!ok()) return nullptr;
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(m_root.get(), key);
    if (!item || cJSON_IsNull(item)) return nullptr;
    if (!isType(item)) {
        fail(std::string("\"") + key + "\" must be " + typeName);
        return nullptr;
    }
    return item;
}

std::string BodyFields::text(const char* key, const std::string& otherwise) {
    const cJSON* item = member(key, isString, "a text");
    return item ? item->valuestring : otherwise;
}

int64_t BodyFields::number(const char* key, int64_t min, int64_t max, int64_t otherwise) {
    const cJSON* item = member(key, isNumber, "a number");
    if (!item) return otherwise;
    const double value = item->valuedouble;
    if (std::floor(value) != value || value < static_cast<double>(min) || value > static_cast<double>(max)) {
        fail(std::string("\"") + key + "\" must be a whole number from " + std::to_string(min) + " to " +
             std::to_string(max));
        return otherwise;
    }
    return static_cast<int64_t>(value);
}

bool BodyFields::flag(const char* key, bool otherwise) {
    const cJSON* item = member(key, isBool, "true or false");
    return item ? cJSON_IsTrue(item) : otherwise;
}

std::string BodyFields::bytes(const char* key, const std::string& otherwise) {
    const cJSON* item = member(key, isString, "Base64 text");
    if (!item) return otherwise;
    std::string decoded;
    if (!fromBase64(item->valuestring, &decoded)) fail(std::string("\"") + key + "\" is not Base64");
    return decoded;
}

std::vector<std::string> BodyFields::texts(const char* key) {
    std::vector<std::string> result;
    const cJSON* item = member(key, isArray, "a list of texts");
    for (const cJSON* entry = item ? item->child : nullptr; entry; entry = entry->next) {
        if (!isString(entry)) {
            fail(std::string("\"") + key + "\" must be a list of texts");
            return {};
        }
        result.emplace_back(entry->valuestring);
    }
    return result;
}

std::string BodyFields::object(const char* key) {
    const cJSON* item = member(key, isObject, "an object");
    return item ? printed(const_cast<cJSON*>(item)) : std::string();
}

void answerJson(ApiResponse* response, cJSON* json, int status) {
    response->status = status;
    response->contentType = "application/json";
    response->body = printed(json);
    cJSON_Delete(json);
}

void answerError(ApiResponse* response, int status, const std::string& why) {
    cJSON* json = cJSON_CreateObject();
    cJSON_AddStringToObject(json, "error", why.c_str());
    answerJson(response, json, status);
}

void answerOk(ApiResponse* response) {
    cJSON* json = cJSON_CreateObject();
    cJSON_AddTrueToObject(json, "ok");
    answerJson(response, json);
}

std::string base64(const std::string& bytes) { return vstation::base64Encode(bytes); }

bool fromBase64(const std::string& text, std::string* bytes) { return vstation::base64Decode(text, bytes); }

}  // namespace vstation_tool
