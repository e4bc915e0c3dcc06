// The offline store's one-shot requests: its capture rule, the upload-failed
// details and clearing it.
#include <mutex>
#include <set>

#include "ConfigServer/ConfigHandlers.h"
#include "State/Station.h"

namespace vstation {

namespace {

// The kinds of data the station can capture offline.
const std::set<std::string> kDataTypes = {"name", "employeeNo", "IDCardNo", "cardNo", "fingerprint", "face"};
constexpr int32_t kMaxDataLen = 128;
constexpr int32_t kMaxFingerprints = 10;

// Reads and checks one element of "RuleList".
void checkRule(BodyReader& body, const cJSON* element, const std::string& where,
               std::set<std::string>& seenTypes) {
    const cJSON* rule = body.objectAt(element, where);
    const std::string dataType = body.text(rule, "dataType", where);
    if (body.ok() && !kDataTypes.count(dataType)) {
        body.fail(ConfigStatus::ValueOutOfRange, where + ".dataType: " + quoted(dataType) + " is not a kind of data");
    }
    if (body.ok() && !seenTypes.insert(dataType).second) {
        body.fail(ConfigStatus::ValueOutOfRange, where + ".dataType: " + quoted(dataType) + " has a rule already");
    }
    body.flag(rule, "enable", where);
    body.flag(rule, "uniqueCheck", where);
    body.integer(rule, "len", where, 0, kMaxDataLen);
    body.integer(rule, "num", where, 0, kMaxFingerprints);
    const cJSON* ids = body.array(rule, "fingerprintIDs", where);
    if (body.ok() && cJSON_GetArraySize(ids) > kMaxFingerprints) {
        body.fail(ConfigStatus::ValueOutOfRange,
                  where + ".fingerprintIDs: at most " + std::to_string(kMaxFingerprints) + " entries");
    }
    int index = 0;
    const cJSON* id = nullptr;
    cJSON_ArrayForEach(id, ids) {
        body.integerAt(id, where + ".fingerprintIDs[" + std::to_string(index++) + "]", 1, kMaxFingerprints);
    }
}

}  // namespace

ConfigAnswer putOfflineRule(Station& station, const ConfigRequest& request) {
    BodyReader body(request);
    const cJSON* info = body.root("RuleInfo");
    body.flag(info, "reqAdminRights", "RuleInfo");
    body.flag(info, "enableCardNoLenAuto", "RuleInfo");
    const cJSON* list = body.array(info, "RuleList", "RuleInfo");
    std::set<std::string> seenTypes;
    int index = 0;
    const cJSON* element = nullptr;
    cJSON_ArrayForEach(element, list) {
        checkRule(body, element, "RuleInfo.RuleList[" + std::to_string(index++) + "]", seenTypes);
    }
    if (!body.ok()) return body.failure();

    char* text = cJSON_PrintUnformatted(info);
    const std::string rule = text ? text : "";
    cJSON_free(text);
    std::lock_guard<std::mutex> lock(station.mutex);
    station.config.offlineRule = rule;
    return okAnswer(request);
}

ConfigAnswer getUploadFailedDetails(Station& station, const ConfigRequest&) {
    cJSON* root = cJSON_CreateObject();
    cJSON* details = cJSON_AddObjectToObject(root, "UploadFailedDetails");
    std::lock_guard<std::mutex> lock(station.mutex);
    cJSON_AddStringToObject(details, "description", station.config.uploadFailedDescription.c_str());
    return jsonAnswer(root);
}

ConfigAnswer deleteDataCollections(Station& station, const ConfigRequest& request) {
    std::lock_guard<std::mutex> lock(station.mutex);
    station.store.clear();
    return okAnswer(request);
}

// The search pages through the store over a long connection; the station
// does not answer it as a one-shot request.
ConfigAnswer searchOverOneShot(Station&, const ConfigRequest& request) {
    return statusAnswer(request, ConfigStatus::LongConnectionOnly);
}

}  // namespace vstation
