// RF card settings, the card reader and its capture rule.
#include <chrono>
#include <mutex>

#include "ConfigServer/ConfigHandlers.h"
#include "Samples/ConfigSamples.h"
#include "Person/PersonAtStation.h"
#include "State/Station.h"

namespace vstation {

namespace {

constexpr int kCardReadMs = 300;  // a person holding a card to the reader
constexpr int32_t kMaxCardNoLen = 32;
constexpr int32_t kMaxCardTimeout = 600;
// How long a read waits for a person when the capture rule names no time-out.
constexpr auto kCardWaitLimit = std::chrono::seconds(60);

// With a fixed length the reader reports that many digits: the last ones of
// a longer number, a shorter one padded with leading zeros.
std::string withLengthRule(const std::string& cardNo, const ConfigState& config) {
    if (config.enableCardNoLenAuto || config.cardNoLen <= 0) return cardNo;
    const size_t length = static_cast<size_t>(config.cardNoLen);
    if (cardNo.size() >= length) return cardNo.substr(cardNo.size() - length);
    return std::string(length - cardNo.size(), '0') + cardNo;
}

}  // namespace

ConfigAnswer getRFCardCapabilities(Station& station, const ConfigRequest& request) {
    std::lock_guard<std::mutex> lock(station.mutex);
    if (!station.config.capabilities.rfCardCfg) return statusAnswer(request, ConfigStatus::FunctionNotSupported);
    cJSON* root = cJSON_CreateObject();
    cJSON* cap = cJSON_AddObjectToObject(root, "RFCardCfgCap");
    cJSON* types = cJSON_AddArrayToObject(cJSON_AddObjectToObject(cap, "cardType"), "@opt");
    for (const RFCardSlot& slot : station.config.rfCards) {
        cJSON_AddItemToArray(types, cJSON_CreateString(slot.cardType.c_str()));
    }
    cJSON* enabled = cJSON_AddArrayToObject(cJSON_AddObjectToObject(cap, "enabled"), "@opt");
    cJSON_AddItemToArray(enabled, cJSON_CreateTrue());
    cJSON_AddItemToArray(enabled, cJSON_CreateFalse());
    return jsonAnswer(root);
}

ConfigAnswer getRFCardConfig(Station& station, const ConfigRequest& request) {
    std::lock_guard<std::mutex> lock(station.mutex);
    if (!station.config.capabilities.rfCardCfg) return statusAnswer(request, ConfigStatus::FunctionNotSupported);
    cJSON* root = cJSON_CreateObject();
    cJSON* list = cJSON_AddArrayToObject(root, "RFCardCfg");
    for (const RFCardSlot& slot : station.config.rfCards) {
        cJSON* entry = cJSON_CreateObject();
        cJSON_AddStringToObject(entry, "cardType", slot.cardType.c_str());
        cJSON_AddBoolToObject(entry, "enabled", slot.enabled);
        cJSON_AddItemToArray(list, entry);
    }
    return jsonAnswer(root);
}

// All entries are checked before any is applied; types not listed keep
// their setting.
ConfigAnswer putRFCardConfig(Station& station, const ConfigRequest& request) {
    BodyReader body(request);
    const cJSON* list = body.root("RFCardCfg", true);

    std::lock_guard<std::mutex> lock(station.mutex);
    ConfigState& config = station.config;
    if (!config.capabilities.rfCardCfg) return statusAnswer(request, ConfigStatus::FunctionNotSupported);
    std::vector<RFCardSlot> settings;
    int index = 0;
    const cJSON* element = nullptr;
    cJSON_ArrayForEach(element, list) {
        const std::string where = "RFCardCfg[" + std::to_string(index++) + "]";
        const cJSON* entry = body.objectAt(element, where);
        RFCardSlot setting{body.text(entry, "cardType", where), body.flag(entry, "enabled", where)};
        if (body.ok() && !config.rfCard(setting.cardType)) {
            body.fail(ConfigStatus::ValueOutOfRange,
                      where + ".cardType: " + quoted(setting.cardType) + " is not offered by this reader");
        }
        settings.push_back(setting);
    }
    if (!body.ok()) return body.failure();
    for (const RFCardSlot& setting : settings) {
        for (RFCardSlot& slot : config.rfCards) {
            if (slot.cardType == setting.cardType) slot.enabled = setting.enabled;
        }
    }
    return okAnswer(request);
}

// Cards a person presented come first (or are awaited), then the profile's
// cards in turn. The reader reads only the card types enabled in its RF card
// settings.
ConfigAnswer captureCardInfo(Station& station, const ConfigRequest& request) {
    std::chrono::milliseconds waitLimit = kCardWaitLimit;
    {
        std::lock_guard<std::mutex> lock(station.mutex);
        if (!station.config.capabilities.captureCardInfo) {
            return statusAnswer(request, ConfigStatus::FunctionNotSupported);
        }
        if (station.config.cardTimeout > 0) waitLimit = std::chrono::seconds(station.config.cardTimeout);
    }
    paceFor(kCardReadMs);
    PersonDid did;
    const auto outcome = PersonAtStation::instance().await(PersonAction::Card, waitLimit, &did);
    if (outcome == PersonAtStation::Outcome::TimedOut) return statusAnswer(request, ConfigStatus::NoCardPresented);

    std::lock_guard<std::mutex> lock(station.mutex);
    ConfigState& config = station.config;
    PresentedCard card = did.card;
    if (outcome == PersonAtStation::Outcome::NoWait) {
        if (config.cards.empty()) return statusAnswer(request, ConfigStatus::NoCardPresented);
        card = config.cards[config.nextCard++ % config.cards.size()];
    }
    const RFCardSlot* slot = config.rfCard(card.cardType);
    if (!slot || !slot->enabled) {
        return statusAnswer(request, ConfigStatus::CardTypeDisabled,
                            quoted(card.cardType) + " cards are not enabled on this reader");
    }
    cJSON* root = cJSON_CreateObject();
    cJSON* info = cJSON_AddObjectToObject(root, "CardInfo");
    cJSON_AddStringToObject(info, "cardNo", withLengthRule(card.cardNo, config).c_str());
    cJSON_AddStringToObject(info, "cardType", card.cardType.c_str());
    return jsonAnswer(root);
}

ConfigAnswer putCaptureRule(Station& station, const ConfigRequest& request) {
    BodyReader body(request);
    const cJSON* rule = body.root("CaptureRule");
    const bool lengthAuto = body.flag(rule, "enableCardNoLenAuto", "CaptureRule");
    const int32_t length = body.integer(rule, "cardNoLen", "CaptureRule", 0, kMaxCardNoLen);
    const int32_t timeout = body.integer(rule, "cardTimeout", "CaptureRule", 0, kMaxCardTimeout);

    std::lock_guard<std::mutex> lock(station.mutex);
    ConfigState& config = station.config;
    if (!config.capabilities.captureCardRule) return statusAnswer(request, ConfigStatus::FunctionNotSupported);
    if (!body.ok()) return body.failure();
    config.enableCardNoLenAuto = lengthAuto;
    config.cardNoLen = length;
    config.cardTimeout = timeout;
    return okAnswer(request);
}

}  // namespace vstation
