#include "VirtualStationHost.h"

#include <fstream>
#include <sstream>

#include "JsonTree.h"
#include "VirtualStation/StationControl.h"

namespace stationctl {

namespace {

// Text of the profile in use; the built-in one until a file is loaded.
std::string& profileInUse() {
    static std::string text;
    return text;
}

std::string stringMember(const cJSON* object, const char* key) {
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object, key);
    return cJSON_IsString(item) ? std::string(item->valuestring) : std::string();
}

}  // namespace

bool loadVirtualProfile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read profile " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    std::string why;
    if (!vstation::loadProfile(text.str(), &why)) {
        error = "profile " + path + " was not loaded: " + why;
        return false;
    }
    profileInUse() = text.str();
    return true;
}

bool virtualAccount(const std::string& userName, VirtualAccount& account, std::string& error) {
    const std::string text = profileInUse().empty() ? vstation::defaultProfile() : profileInUse();
    JsonPtr root = parseJson(text);
    const cJSON* stations = cJSON_GetObjectItemCaseSensitive(root.get(), "stations");
    const cJSON* station = cJSON_IsArray(stations) ? cJSON_GetArrayItem(stations, 0) : nullptr;
    if (!cJSON_IsObject(station)) {
        error = "the virtual station's profile describes no station";
        return false;
    }
    account.address = stringMember(station, "address");
    const cJSON* port = cJSON_GetObjectItemCaseSensitive(station, "port");
    account.port = cJSON_IsNumber(port) ? std::to_string(port->valueint) : "8000";

    const cJSON* accounts = cJSON_GetObjectItemCaseSensitive(station, "accounts");
    const cJSON* each = nullptr;
    cJSON_ArrayForEach(each, accounts) {
        const std::string name = stringMember(each, "userName");
        if (userName.empty() || name == userName) {
            account.userName = name;
            account.password = stringMember(each, "password");
            return true;
        }
    }
    error = userName.empty() ? "the virtual station's profile has no account"
                             : "the virtual station's profile has no account " + userName;
    return false;
}

int virtualOpenLogins() { return vstation::openHandles().logins; }

std::string sdkErrorText(int error) {
    const char* text = vstation::errorText(error);
    return text ? text : "unknown SDK error";
}

}  // namespace stationctl
