#include "LibraryLog.h"

#include <cstdlib>

namespace stationctl {

void routeLibraryLog(const std::string& where) {
    // The base library reads its destination from KESTRO_LOG at its first line.
    constexpr const char* kVariable = "KESTRO_LOG";
    if (std::getenv(kVariable)) return;
    const std::string value = where.empty() ? "off" : where;
#ifdef _WIN32
    _putenv_s(kVariable, value.c_str());
#else
    setenv(kVariable, value.c_str(), 1);
#endif
}

}  // namespace stationctl
