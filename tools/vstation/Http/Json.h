// Small helpers over cJSON for the API's bodies: checked reading with a
// clear complaint, and answers.
#ifndef VSTATION_TOOL_HTTP_JSON_H
#define VSTATION_TOOL_HTTP_JSON_H

#include <cjson/cJSON.h>

#include <cstdint>
#include <string>

#include "Http/Api.h"
#include "OwnedJsonTree.h"

namespace vstation_tool {

// Reads a request body, which must be a JSON object. The first fault is kept;
// later reads return their default, so a handler reads all, then asks ok().
class BodyFields {
public:
    explicit BodyFields(const std::string& body);
    bool ok() const { return m_why.empty(); }
    const std::string& why() const { return m_why; }
    bool has(const char* key) const;

    std::string text(const char* key, const std::string& otherwise = std::string());
    int64_t number(const char* key, int64_t min, int64_t max, int64_t otherwise);
    bool flag(const char* key, bool otherwise);
    // Base64 text decoded; `otherwise` when absent.
    std::string bytes(const char* key, const std::string& otherwise = std::string());
    // An array of texts.
    std::vector<std::string> texts(const char* key);
    // A member object, printed compactly; "" when absent.
    std::string object(const char* key);

    void fail(const std::string& why);

private:
    const cJSON* member(const char* key, bool (*isType)(const cJSON*), const char* typeName);

    support::JsonTree m_root;
    std::string m_why;
};

// A JSON answer; takes `json`.
void answerJson(ApiResponse* response, cJSON* json, int status = 200);
// {"error": why} with `status`.
void answerError(ApiResponse* response, int status, const std::string& why);
// {"ok": true}
void answerOk(ApiResponse* response);

std::string base64(const std::string& bytes);
bool fromBase64(const std::string& text, std::string* bytes);

}  // namespace vstation_tool

#endif  // VSTATION_TOOL_HTTP_JSON_H
