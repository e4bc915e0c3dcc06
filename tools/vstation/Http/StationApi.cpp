// The station at a glance, and the log of the calls it received.
//   GET    /api/station        settings, handles, where it is reached
//   GET    /api/log?since=N    calls logged after position N
//   DELETE /api/log            empties the log
#include <cstdlib>

#include "Http/Json.h"
#include "VirtualStation/PersonControl.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"

namespace vstation_tool {

namespace {

// Calls answered per poll; the page asks again for the rest.
constexpr size_t kLogPage = 500;
// Texts (request lines with their bodies) are cut for the log.
constexpr size_t kLogTextLimit = 400;

void getStation(ApiContext& context, const ApiRequest&, ApiResponse* response) {
    std::string state;
    if (!vstation::stationState(&state, context.address, context.port)) {
        answerError(response, 500, "the station is not loaded");
        return;
    }
    cJSON* root = cJSON_CreateObject();
    cJSON_AddStringToObject(root, "address", context.address.c_str());
    cJSON_AddNumberToObject(root, "port", context.port);
    cJSON_AddStringToObject(root, "link", context.link.c_str());
    if (context.dataPath.empty()) {
        cJSON_AddNullToObject(root, "data");
    } else {
        cJSON_AddStringToObject(root, "data", context.dataPath.c_str());
    }
    cJSON_AddBoolToObject(root, "pacing", vstation::pacing());
    cJSON_AddBoolToObject(root, "waitForPerson", vstation::waitsForPerson());
    cJSON_AddNumberToObject(root, "storedRecords",
                            static_cast<double>(vstation::offlineRecordCount(context.address, context.port)));
    const vstation::HandleCounts handles = vstation::openHandles();
    cJSON* open = cJSON_AddObjectToObject(root, "openHandles");
    cJSON_AddNumberToObject(open, "logins", handles.logins);
    cJSON_AddNumberToObject(open, "longConnections", handles.longConnections);
    cJSON_AddNumberToObject(open, "uploads", handles.uploads);
    cJSON_AddNumberToObject(open, "downloads", handles.downloads);
    // The settings as the profile keeps them; the records have their own endpoint.
    cJSON* settings = cJSON_Parse(state.c_str());
    cJSON_DeleteItemFromObjectCaseSensitive(settings, "offlineRecords");
    cJSON_AddItemToObject(root, "settings", settings ? settings : cJSON_CreateObject());
    answerJson(response, root);
}

void getLog(ApiContext&, const ApiRequest& request, ApiResponse* response) {
    uint64_t position = 0;
    auto since = request.query.find("since");
    if (since != request.query.end()) position = std::strtoull(since->second.c_str(), nullptr, 10);
    const uint64_t asked = position;
    std::vector<vstation::CallRecord> calls = vstation::callLogSince(&position);
    // A position after a clear starts at 0 again; the first call returned is
    // at `position - calls.size()` either way.
    uint64_t first = position - calls.size();
    size_t skip = 0;
    if (calls.size() > kLogPage) {
        skip = calls.size() - kLogPage;  // the newest page: a person watches what happens now
        first += skip;
    }
    cJSON* root = cJSON_CreateObject();
    cJSON_AddNumberToObject(root, "next", static_cast<double>(position));
    cJSON_AddBoolToObject(root, "restarted", asked > position);
    cJSON* list = cJSON_AddArrayToObject(root, "calls");
    for (size_t i = skip; i < calls.size(); ++i) {
        const vstation::CallRecord& call = calls[i];
        cJSON* entry = cJSON_CreateObject();
        cJSON_AddNumberToObject(entry, "position", static_cast<double>(first + (i - skip)));
        cJSON_AddStringToObject(entry, "call", call.call.c_str());
        cJSON* args = cJSON_AddArrayToObject(entry, "args");
        for (int64_t arg : call.args) cJSON_AddItemToArray(args, cJSON_CreateNumber(static_cast<double>(arg)));
        std::string text = call.text.substr(0, kLogTextLimit);
        cJSON_AddStringToObject(entry, "text", text.c_str());
        cJSON_AddNumberToObject(entry, "recordBytes", static_cast<double>(call.record.size()));
        cJSON_AddItemToArray(list, entry);
    }
    answerJson(response, root);
}

void clearLog(ApiContext&, const ApiRequest&, ApiResponse* response) {
    vstation::clearCallLog();
    answerOk(response);
}

}  // namespace

void addStationRoutes(std::vector<ApiRoute>* routes) {
    routes->push_back({"GET", "/api/station", getStation});
    routes->push_back({"GET", "/api/log", getLog});
    routes->push_back({"DELETE", "/api/log", clearLog});
}

}  // namespace vstation_tool
