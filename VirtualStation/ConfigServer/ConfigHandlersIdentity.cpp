// The identity card reader.
#include <mutex>

#include "ConfigServer/ConfigHandlers.h"
#include "State/Station.h"

namespace vstation {

namespace {

constexpr int kIDCardReadMs = 800;  // the chip read of an identity card

}  // namespace

ConfigAnswer captureIDInfo(Station& station, const ConfigRequest& request) {
    BodyReader body(request);
    body.root("IdentityInfoCond");
    {
        std::lock_guard<std::mutex> lock(station.mutex);
        if (!station.config.capabilities.captureIDInfo) {
            return statusAnswer(request, ConfigStatus::FunctionNotSupported);
        }
    }
    if (!body.ok()) return body.failure();
    paceFor(kIDCardReadMs);

    std::lock_guard<std::mutex> lock(station.mutex);
    if (!station.config.hasIdentityCard) return statusAnswer(request, ConfigStatus::NoIDCardPresented);
    cJSON* card = cJSON_Parse(station.config.identityCard.c_str());
    cJSON* root = cJSON_CreateObject();
    cJSON_AddItemToObject(root, "IdentityInfo", card ? card : cJSON_CreateObject());
    return jsonAnswer(root);
}

}  // namespace vstation
