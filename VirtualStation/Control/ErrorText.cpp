// Words for the SDK's error numbers.
#include "VirtualStation/StationControl.h"
#include "ZornNetSDK.h"

namespace vstation {

const char* errorText(int32_t error) {
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
        default: return "unknown error";
    }
}

}  // namespace vstation
