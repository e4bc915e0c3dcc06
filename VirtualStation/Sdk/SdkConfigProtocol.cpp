// NET_DVR_STDXMLConfig and NET_DVR_GetDeviceAbility: the SDK's side of the
// configuration protocol. Records are checked strictly before the station
// sees anything; the station's answer goes to the caller's buffers only when
// it fits.
#include <cstring>
#include <string>

#include "ConfigServer/ConfigScripts.h"
#include "ConfigServer/ConfigServer.h"
#include "Link/RemoteStation.h"
#include "Sdk/Runtime.h"
#include "State/Station.h"
#include "ZornNetSDK.h"

using vstation::ConfigAnswer;
using vstation::failWith;
using vstation::Runtime;

namespace {

// Longest request line and body the station accepts.
constexpr uint32_t kMaxRequestLine = 1024;
constexpr uint32_t kMaxBody = 1024 * 1024;

constexpr char kAbilityRequest[] = "<AcsAbility version=\"2.0\" />";

bool allZero(const uint8_t* bytes, size_t size) {
    for (size_t i = 0; i < size; ++i) {
        if (bytes[i]) return false;
    }
    return true;
}

bool requestLineReadable(const NET_DVR_XML_CONFIG_INPUT* in) {
    return in && in->dwSize == sizeof *in && in->lpRequestUrl && in->dwRequestUrlLen > 0 &&
           in->dwRequestUrlLen <= kMaxRequestLine;
}

bool bodyReadable(const NET_DVR_XML_CONFIG_INPUT* in) {
    return in->lpInBuffer ? in->dwInBufferSize > 0 && in->dwInBufferSize <= kMaxBody
                          : in->dwInBufferSize == 0;
}

// What the call log shows: the request line followed by the body, as far as
// the record lets them be read.
std::string requestText(const NET_DVR_XML_CONFIG_INPUT* in) {
    if (!requestLineReadable(in)) return std::string();
    std::string text(static_cast<const char*>(in->lpRequestUrl), in->dwRequestUrlLen);
    if (in->lpInBuffer && bodyReadable(in)) text.append(static_cast<const char*>(in->lpInBuffer), in->dwInBufferSize);
    return text;
}

// One line, ending in CRLF and holding no other line break or NUL.
bool validRequestLine(const std::string& line) {
    if (line.size() < 3 || line.compare(line.size() - 2, 2, "\r\n") != 0) return false;
    return line.find_first_of(std::string("\r\n\0", 3)) == line.size() - 2;
}

bool validInput(const NET_DVR_XML_CONFIG_INPUT* in) {
    return requestLineReadable(in) && bodyReadable(in) && in->byForceEncrypt <= 1 &&
           allZero(in->byRes0, sizeof in->byRes0) && allZero(in->byRes1, sizeof in->byRes1) &&
           allZero(in->byRes2, sizeof in->byRes2);
}

bool validOutput(const NET_DVR_XML_CONFIG_OUTPUT* out) {
    return out && out->dwSize == sizeof *out && out->lpOutBuffer && out->dwOutBufferSize > 0 &&
           out->lpStatusBuffer && out->dwStatusSize > 0 && allZero(out->byRes0, sizeof out->byRes0) &&
           allZero(out->byRes1, sizeof out->byRes1);
}

// Copies the answer into a buffer of `size` bytes; false when it does not
// fit (a terminated answer needs room for its zero byte).
bool place(const ConfigAnswer& answer, void* buffer, uint32_t size) {
    const size_t needed = answer.bytes.size() + (answer.terminated ? 1 : 0);
    if (needed > size) return false;
    std::memcpy(buffer, answer.bytes.data(), answer.bytes.size());
    if (answer.terminated) static_cast<char*>(buffer)[answer.bytes.size()] = '\0';
    return true;
}

}  // namespace

extern "C" {

ZORN_API int32_t ZORN_CALL NET_DVR_STDXMLConfig(int32_t lUserID, NET_DVR_XML_CONFIG_INPUT* lpInputParam,
                                                NET_DVR_XML_CONFIG_OUTPUT* lpOutputParam) {
    const std::string text = requestText(lpInputParam);
    if (int32_t error = Runtime::instance().enter("NET_DVR_STDXMLConfig", {lUserID}, lpInputParam,
                                                  lpInputParam ? sizeof *lpInputParam : 0, text)) {
        return failWith(error);
    }
    if (vstation::link::isRemote(vstation::HandleKind::Login, lUserID)) return vstation::link::xmlConfig(lUserID, lpInputParam, lpOutputParam);
    if (!validInput(lpInputParam) || !validOutput(lpOutputParam)) return failWith(NET_DVR_ERR_PARAMETER);
    const std::string line(static_cast<const char*>(lpInputParam->lpRequestUrl), lpInputParam->dwRequestUrlLen);
    if (!validRequestLine(line)) return failWith(NET_DVR_ERR_PARAMETER);
    std::shared_ptr<vstation::Station> station = Runtime::instance().stationOf(lUserID);
    if (!station) return failWith(NET_DVR_ERR_USER_ID);

    ConfigAnswer answer;
    if (!vstation::takeScriptedAnswer(line, &answer)) {
        answer = vstation::serveConfigRequest(*station, line, text.substr(line.size()));
    }

    // A status buffer that the caller reads must not hold a stale document.
    static_cast<char*>(lpOutputParam->lpStatusBuffer)[0] = '\0';
    if (answer.ok) {
        if (!place(answer, lpOutputParam->lpOutBuffer, lpOutputParam->dwOutBufferSize)) {
            return failWith(NET_DVR_ERR_BUFFER_SMALL);
        }
        lpOutputParam->dwReturnedXMLSize = static_cast<uint32_t>(answer.bytes.size());
        return 1;
    }
    if (!place(answer, lpOutputParam->lpStatusBuffer, lpOutputParam->dwStatusSize)) {
        return failWith(NET_DVR_ERR_BUFFER_SMALL);
    }
    return failWith(NET_DVR_ERR_STATION_REFUSED);
}

ZORN_API int32_t ZORN_CALL NET_DVR_GetDeviceAbility(int32_t lUserID, uint32_t dwAbilityType, char* pInBuf,
                                                    uint32_t dwInLength, char* pOutBuf, uint32_t dwOutLength) {
    const std::string request =
        pInBuf && dwInLength <= kMaxRequestLine ? std::string(pInBuf, dwInLength) : std::string();
    if (int32_t error = Runtime::instance().enter("NET_DVR_GetDeviceAbility",
                                                  {lUserID, dwAbilityType, dwInLength, dwOutLength}, nullptr, 0,
                                                  request)) {
        return failWith(error);
    }
    if (vstation::link::isRemote(vstation::HandleKind::Login, lUserID)) {
        return vstation::link::deviceAbility(lUserID, dwAbilityType, pInBuf, dwInLength, pOutBuf, dwOutLength);
    }
    if (!pInBuf || dwInLength == 0 || !pOutBuf || dwOutLength == 0) return failWith(NET_DVR_ERR_PARAMETER);
    if (dwAbilityType != NET_DVR_ACS_ABILITY) return failWith(NET_DVR_ERR_NOT_SUPPORTED);
    if (request != kAbilityRequest) return failWith(NET_DVR_ERR_PARAMETER);
    std::shared_ptr<vstation::Station> station = Runtime::instance().stationOf(lUserID);
    if (!station) return failWith(NET_DVR_ERR_USER_ID);

    ConfigAnswer answer;
    if (!vstation::takeScriptedAbility(&answer)) answer.bytes = vstation::abilityDocument(*station);
    if (!place(answer, pOutBuf, dwOutLength)) return failWith(NET_DVR_ERR_BUFFER_SMALL);
    return 1;
}

}  // extern "C"
