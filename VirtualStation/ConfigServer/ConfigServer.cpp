// Routing of the configuration protocol's request lines.
#include "ConfigServer/ConfigServer.h"

#include <chrono>
#include <thread>

#include "ConfigServer/ConfigHandlers.h"
#include "Sdk/Runtime.h"

namespace vstation {

namespace {

struct Route {
    const char* method;
    const char* path;
    ConfigHandler handler;
};

constexpr Route kRoutes[] = {
    {"GET", "/OPRAL/AccessControl/capabilities", getCapabilities},
    {"GET", "/OPRAL/AccessControl/Configuration/RFCardCfg/capabilities", getRFCardCapabilities},
    {"GET", "/OPRAL/AccessControl/Configuration/RFCardCfg", getRFCardConfig},
    {"PUT", "/OPRAL/AccessControl/Configuration/RFCardCfg", putRFCardConfig},
    {"GET", "/OPRAL/AccessControl/CaptureCardInfo", captureCardInfo},
    {"PUT", "/OPRAL/AccessControl/CaptureRule", putCaptureRule},
    {"POST", "/OPRAL/AccessControl/CaptureIDInfo", captureIDInfo},
    {"POST", "/OPRAL/AccessControl/OfflineCapture/DataCollections/searchTask", searchOverOneShot},
    {"PUT", "/OPRAL/AccessControl/OfflineCapture/ruleInfo", putOfflineRule},
    {"GET", "/OPRAL/AccessControl/OfflineCapture/uploadFailedDetails", getUploadFailedDetails},
    {"DELETE", "/OPRAL/AccessControl/OfflineCapture/DataCollections", deleteDataCollections},
};

// "METHOD SP URI CRLF"; the SDK entry has already checked the CRLF.
bool parseRequestLine(const std::string& line, ConfigRequest& request) {
    std::string text = line;
    if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
    const size_t space = text.find(' ');
    if (space == std::string::npos || space == 0) return false;
    request.method = text.substr(0, space);
    request.uri = text.substr(space + 1);
    if (request.uri.empty() || request.uri[0] != '/' || request.uri.find(' ') != std::string::npos) {
        return false;
    }
    request.path = request.uri.substr(0, request.uri.find('?'));
    return true;
}

}  // namespace

ConfigAnswer serveConfigRequest(Station& station, const std::string& requestLine, const std::string& body) {
    ConfigRequest request;
    request.body = body;
    if (!parseRequestLine(requestLine, request)) {
        request.uri = requestLine.substr(0, 64);
        return statusAnswer(request, ConfigStatus::BadRequestLine);
    }
    bool pathKnown = false;
    for (const Route& route : kRoutes) {
        if (request.path != route.path) continue;
        pathKnown = true;
        if (request.method == route.method) return route.handler(station, request);
    }
    return statusAnswer(request, pathKnown ? ConfigStatus::MethodNotAllowed : ConfigStatus::UnknownRequest);
}

void paceFor(int ms) {
    if (Runtime::instance().pacing()) std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

}  // namespace vstation
