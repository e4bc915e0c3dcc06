#include "BuiltInStation.h"

#include <fstream>
#include <sstream>

#if defined(_WIN32)
#  include <windows.h>
#else
#  include <dlfcn.h>

#  include <filesystem>
#  include <system_error>
#endif

#include "JsonTree.h"
#include "VirtualStationHost.h"

namespace stationctl {

namespace {

// The host module, loaded once. It fails to load when the SDK lacks the
// virtual station's control API, which is how a real SDK shows.
struct Host {
    StationctlLoadProfile loadProfile = nullptr;
    StationctlDefaultProfile defaultProfile = nullptr;
    StationctlOpenLogins openLogins = nullptr;
    std::string absence;
    bool present() const { return loadProfile && defaultProfile && openLogins; }
};

#if defined(_WIN32)
std::string loaderError() { return "error " + std::to_string(GetLastError()); }
#else
std::string loaderError() {
    const char* text = dlerror();
    return text ? text : "unknown loader error";
}

// By name first, through the program's run path. A sanitizer runtime that
// wraps dlopen makes the search its own and loses that run path, so the
// library folder beside the program's is tried next. On failure `why` holds
// the loader's words for the name, which say most about a broken install.
void* openHostModule(std::string& why) {
    if (void* module = dlopen(STATIONCTL_HOST_MODULE, RTLD_NOW | RTLD_LOCAL)) return module;
    why = loaderError();
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) return nullptr;
    const std::filesystem::path beside = program.parent_path().parent_path() / "lib" / STATIONCTL_HOST_MODULE;
    return dlopen(beside.c_str(), RTLD_NOW | RTLD_LOCAL);
}
#endif

Host loadHost() {
    Host host;
    // Kept loaded for the process's life: the stations live in the SDK.
#if defined(_WIN32)
    HMODULE module = LoadLibraryA(STATIONCTL_HOST_MODULE);
    const auto symbol = [&](const char* name) { return reinterpret_cast<void*>(GetProcAddress(module, name)); };
#else
    std::string why;
    void* module = openHostModule(why);
    const auto symbol = [&](const char* name) { return dlsym(module, name); };
#endif
    if (!module) {
#if defined(_WIN32)
        host.absence = loaderError();
#else
        host.absence = why;
#endif
        return host;
    }
    host.loadProfile = reinterpret_cast<StationctlLoadProfile>(symbol(STATIONCTL_LOAD_PROFILE));
    host.defaultProfile = reinterpret_cast<StationctlDefaultProfile>(symbol(STATIONCTL_DEFAULT_PROFILE));
    host.openLogins = reinterpret_cast<StationctlOpenLogins>(symbol(STATIONCTL_OPEN_LOGINS));
    if (!host.present()) host.absence = std::string(STATIONCTL_HOST_MODULE) + " lacks its entry points";
    return host;
}

const Host& host() {
    static const Host loaded = loadHost();
    return loaded;
}

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

bool builtInStationPresent() { return host().present(); }

std::string builtInStationAbsence() { return host().absence; }

bool loadVirtualProfile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read profile " + path;
        return false;
    }
    std::ostringstream text;
    text << in.rdbuf();
    char why[512] = {};
    if (!host().loadProfile(text.str().c_str(), why, sizeof why)) {
        error = "profile " + path + " was not loaded: " + why;
        return false;
    }
    profileInUse() = text.str();
    return true;
}

bool virtualAccount(const std::string& userName, VirtualAccount& account, std::string& error) {
    // The SDK serves stations in this process only once asked to; otherwise
    // it reaches station processes over the network.
    if (profileInUse().empty()) {
        profileInUse() = host().defaultProfile();
        char why[512] = {};
        if (!host().loadProfile(profileInUse().c_str(), why, sizeof why)) {
            error = std::string("the built-in station's profile was not loaded: ") + why;
            return false;
        }
    }
    const std::string& text = profileInUse();
    JsonTree root = parseJson(text);
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

int virtualOpenLogins() { return host().openLogins(); }

}  // namespace stationctl
