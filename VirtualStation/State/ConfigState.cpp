// Loading a station's configuration family from its profile object.
#include "State/ConfigState.h"

#include <cjson/cJSON.h>

#include <cstring>

#include "Samples/ConfigSamples.h"

namespace vstation {

namespace {

void readFlag(const cJSON* object, const char* key, bool& field) {
    const cJSON* item = cJSON_GetObjectItemCaseSensitive(object, key);
    if (cJSON_IsBool(item)) field = cJSON_IsTrue(item);
}

bool isCardTypeName(const char* name) {
    for (const char* known : kCardTypeNames) {
        if (std::strcmp(known, name) == 0) return true;
    }
    return false;
}

bool listsName(const cJSON* array, const char* name) {
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, array) {
        if (cJSON_IsString(item) && std::strcmp(item->valuestring, name) == 0) return true;
    }
    return false;
}

// "rfCard": {"offered": [names], "enabled": [names]}; the reader lists its
// types in its own fixed order whatever order the profile uses.
void loadRFCards(const cJSON* rfCard, std::vector<RFCardSlot>& slots) {
    const cJSON* offered = cJSON_GetObjectItemCaseSensitive(rfCard, "offered");
    const cJSON* enabled = cJSON_GetObjectItemCaseSensitive(rfCard, "enabled");
    if (offered && !cJSON_IsArray(offered)) return;
    if (enabled && !cJSON_IsArray(enabled)) return;
    std::vector<RFCardSlot> loaded;
    for (const char* name : kCardTypeNames) {
        if (offered && !listsName(offered, name)) continue;
        loaded.push_back(RFCardSlot{name, enabled ? listsName(enabled, name) : false});
    }
    if (offered || enabled) slots = std::move(loaded);
}

// "cards": [{"cardNo": text, "cardType": text}]; malformed entries are skipped.
void loadCards(const cJSON* cards, std::vector<PresentedCard>& out) {
    if (!cJSON_IsArray(cards)) return;
    std::vector<PresentedCard> loaded;
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, cards) {
        const cJSON* cardNo = cJSON_GetObjectItemCaseSensitive(item, "cardNo");
        const cJSON* cardType = cJSON_GetObjectItemCaseSensitive(item, "cardType");
        if (cJSON_IsString(cardNo) && cJSON_IsString(cardType) && isCardTypeName(cardType->valuestring)) {
            loaded.push_back(PresentedCard{cardNo->valuestring, cardType->valuestring});
        }
    }
    out = std::move(loaded);
}

}  // namespace

void ConfigState::load(const cJSON* profile) {
    rfCards = {{"EMCard", true}, {"M1Card", true}, {"CPUCard", false}, {"IDCard", false}};
    cards = {{"3053140519", "M1Card"}, {"0012345678", "EMCard"}};
    identityCard = sampleIdentityCard();
    uploadFailedDescription = "No upload has failed.";
    if (!cJSON_IsObject(profile)) return;

    const cJSON* capabilityFlags = cJSON_GetObjectItemCaseSensitive(profile, "capabilities");
    if (cJSON_IsObject(capabilityFlags)) {
        readFlag(capabilityFlags, "rfCardCfg", capabilities.rfCardCfg);
        readFlag(capabilityFlags, "captureCardInfo", capabilities.captureCardInfo);
        readFlag(capabilityFlags, "captureIDInfo", capabilities.captureIDInfo);
        readFlag(capabilityFlags, "captureCardRule", capabilities.captureCardRule);
        readFlag(capabilityFlags, "capturePresetParam", capabilities.capturePresetParam);
        readFlag(capabilityFlags, "captureFingerPrint", capabilities.captureFingerPrint);
        readFlag(capabilityFlags, "captureFace", capabilities.captureFace);
    }

    const cJSON* rfCard = cJSON_GetObjectItemCaseSensitive(profile, "rfCard");
    if (cJSON_IsObject(rfCard)) loadRFCards(rfCard, rfCards);

    loadCards(cJSON_GetObjectItemCaseSensitive(profile, "cards"), cards);

    const cJSON* identity = cJSON_GetObjectItemCaseSensitive(profile, "identityCard");
    if (cJSON_IsNull(identity)) {
        hasIdentityCard = false;
    } else if (cJSON_IsObject(identity)) {
        char* text = cJSON_PrintUnformatted(identity);
        if (text) identityCard = text;
        cJSON_free(text);
    }

    const cJSON* description = cJSON_GetObjectItemCaseSensitive(profile, "uploadFailedDescription");
    if (cJSON_IsString(description)) uploadFailedDescription = description->valuestring;

    const cJSON* rule = cJSON_GetObjectItemCaseSensitive(profile, "captureRule");
    if (cJSON_IsObject(rule)) {
        readFlag(rule, "enableCardNoLenAuto", enableCardNoLenAuto);
        const cJSON* length = cJSON_GetObjectItemCaseSensitive(rule, "cardNoLen");
        const cJSON* timeout = cJSON_GetObjectItemCaseSensitive(rule, "cardTimeout");
        if (cJSON_IsNumber(length)) cardNoLen = length->valueint;
        if (cJSON_IsNumber(timeout)) cardTimeout = timeout->valueint;
    }
    const cJSON* offline = cJSON_GetObjectItemCaseSensitive(profile, "offlineRule");
    if (cJSON_IsObject(offline)) {
        char* text = cJSON_PrintUnformatted(offline);
        if (text) offlineRule = text;
        cJSON_free(text);
    }
}

void ConfigState::save(cJSON* profile) const {
    cJSON* rfCard = cJSON_AddObjectToObject(profile, "rfCard");
    cJSON* offered = cJSON_AddArrayToObject(rfCard, "offered");
    cJSON* enabled = cJSON_AddArrayToObject(rfCard, "enabled");
    for (const RFCardSlot& slot : rfCards) {
        cJSON_AddItemToArray(offered, cJSON_CreateString(slot.cardType.c_str()));
        if (slot.enabled) cJSON_AddItemToArray(enabled, cJSON_CreateString(slot.cardType.c_str()));
    }
    cJSON* rule = cJSON_AddObjectToObject(profile, "captureRule");
    cJSON_AddBoolToObject(rule, "enableCardNoLenAuto", enableCardNoLenAuto);
    cJSON_AddNumberToObject(rule, "cardNoLen", cardNoLen);
    cJSON_AddNumberToObject(rule, "cardTimeout", cardTimeout);
    if (!offlineRule.empty()) cJSON_AddItemToObject(profile, "offlineRule", cJSON_Parse(offlineRule.c_str()));
}

const RFCardSlot* ConfigState::rfCard(const std::string& cardType) const {
    for (const RFCardSlot& slot : rfCards) {
        if (slot.cardType == cardType) return &slot;
    }
    return nullptr;
}

}  // namespace vstation
