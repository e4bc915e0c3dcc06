// Building a station from its profile object.
#include "State/Station.h"

#include <cjson/cJSON.h>

#include <cmath>

#include "ZornNetSDK.h"

namespace vstation {

namespace {

// Widths of the login and device records' text fields.
constexpr size_t kAddressField = sizeof(NET_DVR_USER_LOGIN_INFO::sDeviceAddress);
constexpr size_t kUserField = sizeof(NET_DVR_USER_LOGIN_INFO::sUserName);
constexpr size_t kPasswordField = sizeof(NET_DVR_USER_LOGIN_INFO::sPassword);
constexpr size_t kSerialField = sizeof(NET_DVR_DEVICEINFO_V40::sSerialNumber);

bool fail(std::string* error, const std::string& text) {
    if (error) *error = text;
    return false;
}

// A text of 1..limit bytes; a text holding NUL could never be matched.
bool readText(const cJSON* object, const char* key, size_t limit, bool required,
              std::string* out, std::string* error, const std::string& where) {
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object, key);
    if (!item) {
        return required ? fail(error, where + key + ": missing") : true;
    }
    if (!cJSON_IsString(item) || !item->valuestring) {
        return fail(error, where + key + ": must be a string");
    }
    const std::string value = item->valuestring;
    if (value.empty() || value.size() > limit) {
        return fail(error, where + key + ": must be 1 to " + std::to_string(limit) + " bytes long");
    }
    *out = value;
    return true;
}

bool readInteger(const cJSON* object, const char* key, long min, long max, bool required,
                 long* out, std::string* error) {
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object, key);
    if (!item) {
        return required ? fail(error, std::string(key) + ": missing") : true;
    }
    const double value = cJSON_IsNumber(item) ? item->valuedouble : NAN;
    if (!(value >= static_cast<double>(min) && value <= static_cast<double>(max)) ||
        value != std::floor(value)) {
        return fail(error, std::string(key) + ": must be an integer from " + std::to_string(min) +
                               " to " + std::to_string(max));
    }
    *out = static_cast<long>(value);
    return true;
}

bool readAccounts(const cJSON* profile, std::vector<Account>* accounts, std::string* error) {
    const cJSON* list = cJSON_GetObjectItemCaseSensitive(profile, "accounts");
    if (!list) return fail(error, "accounts: missing");
    if (!cJSON_IsArray(list) || cJSON_GetArraySize(list) == 0) {
        return fail(error, "accounts: must be a non-empty array");
    }
    int index = 0;
    for (const cJSON* item = list->child; item; item = item->next, ++index) {
        const std::string where = "accounts[" + std::to_string(index) + "].";
        if (!cJSON_IsObject(item)) return fail(error, where.substr(0, where.size() - 1) + ": must be an object");
        Account account;
        if (!readText(item, "userName", kUserField, true, &account.userName, error, where) ||
            !readText(item, "password", kPasswordField, true, &account.password, error, where)) {
            return false;
        }
        for (const Account& other : *accounts) {
            if (other.userName == account.userName) {
                return fail(error, where + "userName: \"" + account.userName + "\" appears twice");
            }
        }
        accounts->push_back(std::move(account));
    }
    return true;
}

}  // namespace

bool Station::load(const cJSON* profile, std::string* error) {
    if (!cJSON_IsObject(profile)) return fail(error, "must be an object");

    long portValue = 0;
    long mask = languageMask;
    if (!readText(profile, "address", kAddressField, true, &address, error, "") ||
        !readInteger(profile, "port", 1, 65535, true, &portValue, error) ||
        !readAccounts(profile, &accounts, error) ||
        !readInteger(profile, "languageMask", 0, 255, false, &mask, error) ||
        !readText(profile, "serialNumber", kSerialField, false, &serialNumber, error, "")) {
        return false;
    }
    port = static_cast<uint16_t>(portValue);
    languageMask = static_cast<uint8_t>(mask);
    if (serialNumber.empty()) serialNumber = "VS-ES" + std::to_string(port) + "-" + address;
    if (serialNumber.size() > kSerialField) serialNumber.resize(kSerialField);

    config.load(profile);
    store.load(profile);
    collect.load(profile);
    device.load(profile);
    return true;
}

}  // namespace vstation
