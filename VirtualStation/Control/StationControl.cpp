// The control API: what tests and tools use beside the SDK calls.
#include <cjson/cJSON.h>

#include <fstream>
#include <sstream>

#include "ConfigServer/ConfigScripts.h"
#include "Jobs/StreamJobs.h"
#include "State/Profile.h"
#include "Sdk/Runtime.h"
#include "State/Station.h"
#include "VirtualStation/StationControl.h"

namespace vstation {

bool loadProfile(const std::string& jsonText, std::string* error) {
    std::vector<std::shared_ptr<Station>> stations;
    if (!buildStations(jsonText, &stations, error)) return false;
    Runtime::instance().replaceStations(std::move(stations));
    return true;
}

bool stationState(std::string* json, const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return false;
    cJSON* state = cJSON_CreateObject();
    {
        std::lock_guard<std::mutex> lock(station->mutex);
        station->config.save(state);
        station->device.save(state);
        station->store.save(state);
    }
    char* text = cJSON_PrintUnformatted(state);
    cJSON_Delete(state);
    if (!text) return false;
    *json = text;
    cJSON_free(text);
    return true;
}

bool loadProfileFile(const std::string& path, std::string* error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        if (error) *error = path + ": cannot be opened";
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    if (!loadProfile(text.str(), error)) {
        if (error) *error = path + ": " + *error;
        return false;
    }
    return true;
}

std::string defaultProfile() { return builtInProfileText(); }

void reset() { Runtime::instance().reset(defaultStations()); }

void failNext(const std::string& call, int32_t error, int times) {
    Runtime::instance().failNext(call, error, times);
}

void failAlways(const std::string& call, int32_t error) {
    Runtime::instance().failAlways(call, error);
}

void clearFaults() { Runtime::instance().clearFaults(); }

std::vector<ArmedFault> armedFaults() {
    std::vector<ArmedFault> faults;
    Runtime::instance().listFaults(&faults);
    listScriptedAnswers(&faults);
    listStreamScripts(&faults);
    return faults;
}

std::vector<CallRecord> callLog() { return Runtime::instance().callLog(); }

std::vector<CallRecord> callLogSince(uint64_t* position) { return Runtime::instance().callLogSince(position); }

void clearCallLog() { Runtime::instance().clearCallLog(); }

HandleCounts openHandles() { return Runtime::instance().openHandles(); }

int initCount() { return Runtime::instance().initCount(); }

void setPacing(bool on) { Runtime::instance().setPacing(on); }

bool pacing() { return Runtime::instance().pacing(); }

}  // namespace vstation
