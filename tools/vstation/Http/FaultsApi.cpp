// Faults switched on for the next N calls, after which they wear off.
//   GET    /api/faults   {"faults": [{"text", "remaining"}]}: what the station
//                        has switched on now, however it was switched on
//   POST   /api/faults   {"kind": ..., "times": N, ...}: arms one fault
//   DELETE /api/faults   disarms every fault
// Kinds: "silent" (a long connection that never reports), "late" (its
// reports come late), "error" (a call fails with an error number),
// "malformed" (a reply that does not parse), "drop" (the link drops in the
// middle of a search), "close-fails" (closing a long connection fails).
#include "Http/Json.h"
#include "Link/LinkServer.h"
#include "VirtualStation/ConfigControl.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"
#include "ZornNetSDK.h"

namespace vstation_tool {

namespace {

constexpr int64_t kMaxTimes = 1000;

// The long connection command a "target" names; 0 for an unknown one.
uint32_t streamCommand(const std::string& target, bool searchToo) {
    if (target == "finger") return NET_DVR_CAPTURE_FINGERPRINT_INFO;
    if (target == "face") return NET_DVR_CAPTURE_FACE_INFO;
    if (searchToo && target == "search") return NET_DVR_SEARCH_CAPTURE_DATA;
    return 0;
}

void scriptStreams(uint32_t command, const vstation::StreamScript& script, int times) {
    for (int i = 0; i < times; ++i) vstation::scriptStream(command, script);
}

void armFault(ApiContext&, const ApiRequest& request, ApiResponse* response) {
    BodyFields fields(request.body);
    const std::string kind = fields.text("kind");
    const int times = static_cast<int>(fields.number("times", 1, kMaxTimes, 1));
    const std::string target = fields.text("target", kind == "malformed" ? "config" : "finger");
    const int32_t error = static_cast<int32_t>(fields.number("error", 1, INT32_MAX, NET_DVR_ERR_TIMEOUT));
    const std::string call = fields.text("call", "NET_DVR_STDXMLConfig");
    const int delayMs = static_cast<int>(fields.number("delayMs", 1, 600000, 5000));
    const int afterRecords = static_cast<int>(fields.number("afterRecords", 0, INT32_MAX, 1));
    if (!fields.ok()) return answerError(response, 400, fields.why());

    vstation::StreamScript script;
    if (kind == "silent") {
        const uint32_t command = streamCommand(target, true);
        if (!command) return answerError(response, 400, "\"target\" must be finger, face or search");
        script.ending = vstation::StreamEnding::Silent;
        script.records = 0;
        scriptStreams(command, script, times);
    } else if (kind == "late") {
        const uint32_t command = streamCommand(target, false);
        if (!command) return answerError(response, 400, "\"target\" must be finger or face");
        script.reportDelayMs = delayMs;
        scriptStreams(command, script, times);
    } else if (kind == "error") {
        if (call.compare(0, 8, "NET_DVR_") != 0) return answerError(response, 400, "\"call\" must name a NET_DVR_ call");
        vstation::failNext(call, error, times);
    } else if (kind == "malformed") {
        if (target == "config") {
            // A reply that claims success and is not JSON.
            vstation::scriptRawReply("", std::string("{\"broken\x01", 10), false, times);
        } else if (target == "search") {
            script.ending = vstation::StreamEnding::Unparsable;
            script.records = 0;
            scriptStreams(NET_DVR_SEARCH_CAPTURE_DATA, script, times);
        } else {
            return answerError(response, 400, "\"target\" must be config or search");
        }
    } else if (kind == "drop") {
        vstation::link::LinkServer::dropNextSearches(times, afterRecords);
    } else if (kind == "close-fails") {
        vstation::failNext("NET_DVR_StopRemoteConfig", error, times);
    } else {
        return answerError(response, 400, "\"kind\" must be silent, late, error, malformed, drop or close-fails");
    }
    answerOk(response);
}

std::string streamName(uint32_t command) {
    if (command == NET_DVR_CAPTURE_FINGERPRINT_INFO) return "Finger collection";
    if (command == NET_DVR_CAPTURE_FACE_INFO) return "Face collection";
    if (command == NET_DVR_SEARCH_CAPTURE_DATA) return "Search";
    return "Long connection " + std::to_string(command);
}

std::string errorWords(int32_t error) {
    return "error " + std::to_string(error) + " (" + vstation::errorText(error) + ")";
}

// What a fault does, without how long it lasts.
std::string describe(const vstation::ArmedFault& fault) {
    using vstation::StreamEnding;
    switch (fault.kind) {
    case vstation::ArmedKind::CallFails:
        return fault.call + " fails with " + errorWords(fault.error);
    case vstation::ArmedKind::ScriptedReply:
        return (fault.call.empty() ? std::string("Every configuration request")
                                   : "The configuration request " + fault.call.substr(0, fault.call.find('\r'))) +
               (fault.succeeds ? " gets a scripted reply" : " fails with a scripted status");
    case vstation::ArmedKind::ScriptedAbility:
        return "The ability document is a scripted one";
    case vstation::ArmedKind::StreamEnding:
        break;
    }
    const std::string name = streamName(fault.command);
    switch (fault.ending) {
    case StreamEnding::Normal:
        return name + (fault.reportDelayMs > 0 ? " reports " + std::to_string(fault.reportDelayMs) + " ms late"
                                               : " goes as scripted");
    case StreamEnding::Finished: return name + " ends early";
    case StreamEnding::Failed: return name + " fails with " + errorWords(fault.error);
    case StreamEnding::Exception: return name + " breaks off with " + errorWords(fault.error);
    case StreamEnding::Silent: return name + " falls silent";
    case StreamEnding::ForeignSearchID: return name + " answers with another search ID";
    case StreamEnding::Unparsable: return name + " answers with what does not parse";
    }
    return name;
}

void addFault(cJSON* list, const std::string& what, int remaining, const char* unit) {
    cJSON* entry = cJSON_CreateObject();
    const std::string text = what + (remaining < 0 ? std::string(", until cleared")
                                                   : ", for the next " + std::to_string(remaining) + " " + unit);
    cJSON_AddStringToObject(entry, "text", text.c_str());
    if (remaining < 0) {
        cJSON_AddNullToObject(entry, "remaining");
    } else {
        cJSON_AddNumberToObject(entry, "remaining", remaining);
    }
    cJSON_AddItemToArray(list, entry);
}

// Read from the station itself, so that faults switched on elsewhere show
// and used-up ones do not.
void listFaults(ApiContext&, const ApiRequest&, ApiResponse* response) {
    const std::vector<vstation::ArmedFault> faults = vstation::armedFaults();
    cJSON* root = cJSON_CreateObject();
    cJSON* list = cJSON_AddArrayToObject(root, "faults");
    // A stream script is kept per connection: the same one queued N times
    // is one line "for the next N".
    for (size_t i = 0; i < faults.size();) {
        const std::string what = describe(faults[i]);
        int remaining = faults[i].remaining;
        size_t next = i + 1;
        if (faults[i].kind == vstation::ArmedKind::StreamEnding) {
            for (; next < faults.size() && faults[next].kind == vstation::ArmedKind::StreamEnding &&
                   describe(faults[next]) == what;
                 ++next) {
                remaining += faults[next].remaining;
            }
        }
        addFault(list, what, remaining,
                 faults[i].kind == vstation::ArmedKind::StreamEnding ? "connection(s)" : "call(s)");
        i = next;
    }
    int afterRecords = 0;
    const int drops = vstation::link::LinkServer::searchesToDrop(&afterRecords);
    if (drops > 0) {
        addFault(list, "The link drops a search after " + std::to_string(afterRecords) + " record(s)", drops,
                 "search(es)");
    }
    answerJson(response, root);
}

void clearFaults(ApiContext&, const ApiRequest&, ApiResponse* response) {
    vstation::clearFaults();
    vstation::clearScripts();
    vstation::clearStreamScripts();
    vstation::link::LinkServer::dropNextSearches(0, 0);
    answerOk(response);
}

}  // namespace

void addFaultRoutes(std::vector<ApiRoute>* routes) {
    routes->push_back({"GET", "/api/faults", listFaults});
    routes->push_back({"POST", "/api/faults", armFault});
    routes->push_back({"DELETE", "/api/faults", clearFaults});
}

}  // namespace vstation_tool
