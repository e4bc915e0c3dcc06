#include "Failure.h"

#include "KestroBase.h"
#include "VirtualStationHost.h"

namespace stationctl {

void clearLastError() { Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(0, 0)); }

ErrorPair lastError() {
    const Kestro::Base::Error::ErrorCode code = Kestro::Base::Error::GetLastError();
    ErrorPair pair;
    pair.main = code.iMainCode;
    pair.sub = code.iSubCode;
    return pair;
}

static std::string meaning(const ErrorPair& code) {
    switch (code.main) {
    case 50:
        return "SDK error " + std::to_string(code.sub) + ": " + sdkErrorText(code.sub);
    case 68:
        return "the station refused the request with its error code " + std::to_string(code.sub);
    case 69:
        switch (code.sub) {
        case 8200: return "not logged in";
        case 8201: return "a working buffer could not be allocated";
        case 8203: return "the collection or search failed or delivered no usable result";
        case 8205: return "the file transfer failed";
        case 8206: return "the file transfer was aborted by the station";
        default: break;
        }
        break;
    default:
        break;
    }
    return "unknown error code";
}

std::string describe(const ErrorPair& code) {
    if (code.empty()) return "failed without an error code";
    const std::string pair = std::to_string(code.main) + "-" + std::to_string(code.sub);
    if (code.subStatusCode.empty() && code.errorMsg.empty()) return pair + ": " + meaning(code);
    std::string words = pair;
    if (!code.subStatusCode.empty()) words += " " + code.subStatusCode;
    return words + ": " + (code.errorMsg.empty() ? meaning(code) : code.errorMsg);
}

}  // namespace stationctl
