#include "Failure.h"

#include "KestroBase.h"
#include "ZornNetSDK.h"

namespace stationctl {

void clearLastError() { Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(0, 0)); }

ErrorPair lastError() {
    const Kestro::Base::Error::ErrorCode code = Kestro::Base::Error::GetLastError();
    ErrorPair pair;
    pair.main = code.iMainCode;
    pair.sub = code.iSubCode;
    return pair;
}

// The SDK's error numbers in words. Kept here, not taken from an SDK: a real
// one has no words to offer.
static const char* sdkErrorText(int error) {
    switch (error) {
    case NET_DVR_ERR_NONE: return "no error";
    case NET_DVR_ERR_PASSWORD: return "user name or password wrong";
    case NET_DVR_ERR_NOT_INITIALISED: return "SDK not initialised";
    case NET_DVR_ERR_CHANNEL: return "channel number out of range";
    case NET_DVR_ERR_CONNECT: return "station could not be reached";
    case NET_DVR_ERR_SEND: return "sending to the station failed";
    case NET_DVR_ERR_RECV: return "receiving from the station failed";
    case NET_DVR_ERR_TIMEOUT: return "station did not answer in time";
    case NET_DVR_ERR_ORDER: return "call out of order";
    case NET_DVR_ERR_PARAMETER: return "invalid parameter";
    case NET_DVR_ERR_NOT_SUPPORTED: return "not supported by the station";
    case NET_DVR_ERR_STATION_REFUSED: return "station refused the request";
    case NET_DVR_ERR_FILE: return "local file error";
    case NET_DVR_ERR_ALLOC: return "out of resources";
    case NET_DVR_ERR_BUFFER_SMALL: return "buffer too small";
    case NET_DVR_ERR_NO_SUCH_STATION: return "no station at that address and port";
    case NET_DVR_ERR_USER_ID: return "unknown login handle";
    case NET_DVR_ERR_HANDLE: return "unknown connection or transfer handle";
    case NET_DVR_ERR_BUSY: return "station busy with another transfer";
    default: return "unknown SDK error";
    }
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
        case 8207: return "cancelled";
        case 8208: return "the station stopped answering";
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
