// The identity card reader.
#include <chrono>
#include <mutex>

#include "ConfigServer/ConfigHandlers.h"
#include "Person/PersonAtStation.h"
#include "State/Station.h"

namespace vstation {

namespace {

constexpr int kIDCardReadMs = 800;  // the chip read of an identity card
constexpr auto kIDCardWaitLimit = std::chrono::seconds(60);

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
    // A card a person laid on the reader (or is awaited to), else the profile's.
    PersonDid did;
    const auto outcome = PersonAtStation::instance().await(PersonAction::IdentityCard, kIDCardWaitLimit, &did);
    if (outcome == PersonAtStation::Outcome::TimedOut) {
        return statusAnswer(request, ConfigStatus::NoIDCardPresented);
    }

    std::lock_guard<std::mutex> lock(station.mutex);
    if (outcome == PersonAtStation::Outcome::NoWait) {
        if (!station.config.hasIdentityCard) return statusAnswer(request, ConfigStatus::NoIDCardPresented);
        did.identityInfo = station.config.identityCard;
    }
    cJSON* card = cJSON_Parse(did.identityInfo.c_str());
    cJSON* root = cJSON_CreateObject();
    cJSON_AddItemToObject(root, "IdentityInfo", card ? card : cJSON_CreateObject());
    return jsonAnswer(root);
}

}  // namespace vstation
