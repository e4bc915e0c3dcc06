#include "VirtualStationHost.h"

#include <cstring>
#include <string>

#include "VirtualStation/StationControl.h"

#if defined(_WIN32)
#  define STATIONCTL_HOST_API extern "C" __declspec(dllexport)
#else
#  define STATIONCTL_HOST_API extern "C" __attribute__((visibility("default")))
#endif

STATIONCTL_HOST_API int stationctl_vstation_load_profile(const char* text, char* error, size_t errorSize) {
    std::string why;
    if (vstation::loadProfile(text ? text : "", &why)) return 1;
    if (error && errorSize > 0) {
        const size_t length = why.size() < errorSize - 1 ? why.size() : errorSize - 1;
        std::memcpy(error, why.data(), length);
        error[length] = '\0';
    }
    return 0;
}

STATIONCTL_HOST_API const char* stationctl_vstation_default_profile(void) {
    static const std::string text = vstation::defaultProfile();
    return text.c_str();
}

STATIONCTL_HOST_API int stationctl_vstation_open_logins(void) { return vstation::openHandles().logins; }
