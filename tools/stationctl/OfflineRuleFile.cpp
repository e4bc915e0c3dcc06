#include "OfflineRuleFile.h"

#include <climits>
#include <cmath>
#include <fstream>
#include <initializer_list>
#include <sstream>

#include "JsonTree.h"

namespace stationctl {

namespace {

bool onlyKnownKeys(const cJSON* object, std::initializer_list<const char*> known, const std::string& where,
                   std::string& error) {
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, object) {
        bool found = false;
        for (const char* key : known) found = found || std::string(key) == item->string;
        if (!found) {
            error = where + ": unknown key \"" + item->string + "\"";
            return false;
        }
    }
    return true;
}

bool readFlag(const cJSON* object, const char* key, bool& value, const std::string& where, std::string& error) {
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object, key);
    if (!item) return true;
    if (!cJSON_IsBool(item)) {
        error = where + "." + key + ": expected true or false";
        return false;
    }
    value = cJSON_IsTrue(item);
    return true;
}

bool isInt32(const cJSON* item) {
    return cJSON_IsNumber(item) && std::floor(item->valuedouble) == item->valuedouble &&
           item->valuedouble >= INT32_MIN && item->valuedouble <= INT32_MAX;
}

bool readInt(const cJSON* object, const char* key, int32_t& value, const std::string& where, std::string& error) {
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object, key);
    if (!item) return true;
    if (!isInt32(item)) {
        error = where + "." + key + ": expected a whole number";
        return false;
    }
    value = static_cast<int32_t>(item->valuedouble);
    return true;
}

bool readItem(const cJSON* object, const std::string& where, EnrollmentStation::offLineRuleItem& item,
              std::string& error) {
    if (!cJSON_IsObject(object)) {
        error = where + ": expected an object";
        return false;
    }
    if (!onlyKnownKeys(object, {"dataType", "enable", "uniqueCheck", "len", "num", "fingerprintIDs"}, where, error)) {
        return false;
    }
    const cJSON* dataType = cJSON_GetObjectItemCaseSensitive(object, "dataType");
    if (!cJSON_IsString(dataType)) {
        error = where + ".dataType: required, a text";
        return false;
    }
    item.dataType = dataType->valuestring;
    if (!readFlag(object, "enable", item.enable, where, error) ||
        !readFlag(object, "uniqueCheck", item.uniqueCheck, where, error) ||
        !readInt(object, "len", item.len, where, error) || !readInt(object, "num", item.num, where, error)) {
        return false;
    }
    const cJSON* ids = cJSON_GetObjectItemCaseSensitive(object, "fingerprintIDs");
    if (!ids) return true;
    if (!cJSON_IsArray(ids)) {
        error = where + ".fingerprintIDs: expected a list of whole numbers";
        return false;
    }
    const cJSON* id = nullptr;
    cJSON_ArrayForEach(id, ids) {
        if (!isInt32(id)) {
            error = where + ".fingerprintIDs: expected a list of whole numbers";
            return false;
        }
        item.fingerprintIDs.push_back(static_cast<int32_t>(id->valuedouble));
    }
    return true;
}

}  // namespace

bool parseOfflineRule(const std::string& text, EnrollmentStation::offLineRuleInfomation& rule, std::string& error) {
    JsonTree root = parseJson(text);
    if (!root) {
        error = "not JSON";
        return false;
    }
    if (!cJSON_IsObject(root.get())) {
        error = "expected an object at the top";
        return false;
    }
    EnrollmentStation::offLineRuleInfomation parsed;
    if (!onlyKnownKeys(root.get(), {"reqAdminRights", "enableCardNoLenAuto", "ruleList"}, "rule", error) ||
        !readFlag(root.get(), "reqAdminRights", parsed.reqAdminRights, "rule", error) ||
        !readFlag(root.get(), "enableCardNoLenAuto", parsed.enableCardNoLenAuto, "rule", error)) {
        return false;
    }
    const cJSON* list = cJSON_GetObjectItemCaseSensitive(root.get(), "ruleList");
    if (list && !cJSON_IsArray(list)) {
        error = "rule.ruleList: expected a list";
        return false;
    }
    int index = 0;
    const cJSON* each = nullptr;
    cJSON_ArrayForEach(each, list) {
        EnrollmentStation::offLineRuleItem item;
        if (!readItem(each, "rule.ruleList[" + std::to_string(index++) + "]", item, error)) return false;
        parsed.ruleList.push_back(item);
    }
    rule = parsed;
    return true;
}

bool readOfflineRuleFile(const std::string& path, EnrollmentStation::offLineRuleInfomation& rule,
                         std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    if (!parseOfflineRule(text.str(), rule, error)) {
        error = path + ": " + error;
        return false;
    }
    return true;
}

}  // namespace stationctl
