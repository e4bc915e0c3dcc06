// Checked reading of request bodies.
#include <cmath>

#include "ConfigServer/ConfigHandlers.h"

namespace vstation {

namespace {

std::string joined(const std::string& where, const char* key) {
    return where.empty() ? std::string(key) : where + "." + key;
}

}  // namespace

std::string quoted(const std::string& text) {
    constexpr size_t kLimit = 40;
    return "\"" + (text.size() > kLimit ? text.substr(0, kLimit) + "..." : text) + "\"";
}

BodyReader::BodyReader(const ConfigRequest& request) : m_request(request) {
    if (request.body.empty()) {
        fail(ConfigStatus::BadJsonBody, "the request needs a JSON body");
        return;
    }
    m_tree.reset(cJSON_ParseWithLength(request.body.data(), request.body.size()));
    if (!m_tree) fail(ConfigStatus::BadJsonBody, "the body is not JSON");
}

ConfigAnswer BodyReader::failure() const { return statusAnswer(m_request, m_status, m_detail); }

void BodyReader::fail(ConfigStatus status, const std::string& detail) {
    if (!ok()) return;
    m_status = status;
    m_detail = detail;
}

const cJSON* BodyReader::root(const char* rootKey, bool isArray) {
    if (!ok()) return nullptr;
    if (!cJSON_IsObject(m_tree.get())) {
        fail(ConfigStatus::BadJsonBody, "the body must be a JSON object");
        return nullptr;
    }
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(m_tree.get(), rootKey);
    if (!item) {
        fail(ConfigStatus::BadJsonBody, std::string("the body has no \"") + rootKey + "\"");
        return nullptr;
    }
    if (isArray ? !cJSON_IsArray(item) : !cJSON_IsObject(item)) {
        fail(ConfigStatus::BadField, std::string(rootKey) + (isArray ? ": must be an array" : ": must be an object"));
        return nullptr;
    }
    return item;
}

const cJSON* BodyReader::member(const cJSON* parent, const char* key, const std::string& where) {
    if (!ok() || !parent) return nullptr;
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(parent, key);
    if (!item) fail(ConfigStatus::BadField, joined(where, key) + ": missing");
    return item;
}

const cJSON* BodyReader::object(const cJSON* parent, const char* key, const std::string& where) {
    const cJSON* item = member(parent, key, where);
    if (item && !cJSON_IsObject(item)) {
        fail(ConfigStatus::BadField, joined(where, key) + ": must be an object");
        return nullptr;
    }
    return item;
}

const cJSON* BodyReader::array(const cJSON* parent, const char* key, const std::string& where) {
    const cJSON* item = member(parent, key, where);
    if (item && !cJSON_IsArray(item)) {
        fail(ConfigStatus::BadField, joined(where, key) + ": must be an array");
        return nullptr;
    }
    return item;
}

bool BodyReader::flag(const cJSON* parent, const char* key, const std::string& where) {
    const cJSON* item = member(parent, key, where);
    if (!item) return false;
    if (!cJSON_IsBool(item)) {
        fail(ConfigStatus::BadField, joined(where, key) + ": must be true or false");
        return false;
    }
    return cJSON_IsTrue(item);
}

int32_t BodyReader::integerAt(const cJSON* element, const std::string& where, int32_t min, int32_t max) {
    if (!ok() || !element) return 0;
    if (!cJSON_IsNumber(element) || element->valuedouble != std::floor(element->valuedouble)) {
        fail(ConfigStatus::BadField, where + ": must be an integer");
        return 0;
    }
    if (element->valuedouble < min || element->valuedouble > max) {
        fail(ConfigStatus::ValueOutOfRange,
             where + ": must be from " + std::to_string(min) + " to " + std::to_string(max));
        return 0;
    }
    return static_cast<int32_t>(element->valuedouble);
}

int32_t BodyReader::integer(const cJSON* parent, const char* key, const std::string& where, int32_t min,
                            int32_t max) {
    return integerAt(member(parent, key, where), joined(where, key), min, max);
}

std::string BodyReader::text(const cJSON* parent, const char* key, const std::string& where) {
    const cJSON* item = member(parent, key, where);
    if (!item) return std::string();
    if (!cJSON_IsString(item)) {
        fail(ConfigStatus::BadField, joined(where, key) + ": must be a string");
        return std::string();
    }
    return item->valuestring;
}

const cJSON* BodyReader::objectAt(const cJSON* element, const std::string& where) {
    if (!ok() || !element) return nullptr;
    if (!cJSON_IsObject(element)) {
        fail(ConfigStatus::BadField, where + ": must be an object");
        return nullptr;
    }
    return element;
}

}  // namespace vstation
