// What the person at the station does, and the requests waiting for them.
//   GET  /api/person                  the wait switch and the waiting requests
//   PUT  /api/person/wait             {"on": true|false}
//   POST /api/person/card             holds a card to the reader
//   POST /api/person/identity-card    lays an identity card on it
//   POST /api/person/finger           places a finger on the sensor
//   POST /api/person/face             stands before the camera
// Each action names what it gives, or "captureNo": a stored person's.
#include <cstdlib>
#include <random>

#include "Http/Json.h"
#include "Http/Pictures.h"
#include "VirtualStation/PersonControl.h"
#include "VirtualStation/StreamControl.h"

namespace vstation_tool {

namespace {

const char* actionName(vstation::PersonAction action) {
    switch (action) {
    case vstation::PersonAction::Card: return "card";
    case vstation::PersonAction::IdentityCard: return "identityCard";
    case vstation::PersonAction::Finger: return "finger";
    case vstation::PersonAction::Face: return "face";
    }
    return "";
}

// The stored person a body names with "captureNo", if it names one. False,
// with `response` set, when it names one that is not there.
bool namedPerson(ApiContext& context, BodyFields& fields, vstation::OfflineRecord* person, bool* named,
                 ApiResponse* response) {
    *named = fields.has("captureNo");
    const int64_t captureNo = fields.number("captureNo", 0, INT32_MAX, 0);
    if (!fields.ok()) {
        answerError(response, 400, fields.why());
        return false;
    }
    if (!*named) return true;
    std::vector<vstation::OfflineRecord> records;
    vstation::offlineRecords(&records, context.address, context.port);
    for (vstation::OfflineRecord& record : records) {
        if (record.captureNo == captureNo) {
            *person = std::move(record);
            return true;
        }
    }
    answerError(response, 404, "no person with capture number " + std::to_string(captureNo));
    return false;
}

void getPerson(ApiContext&, const ApiRequest&, ApiResponse* response) {
    cJSON* root = cJSON_CreateObject();
    cJSON_AddBoolToObject(root, "waitForPerson", vstation::waitsForPerson());
    cJSON* list = cJSON_AddArrayToObject(root, "pending");
    for (const vstation::PendingRequest& request : vstation::pendingRequests()) {
        cJSON* entry = cJSON_CreateObject();
        cJSON_AddNumberToObject(entry, "id", static_cast<double>(request.id));
        cJSON_AddStringToObject(entry, "action", actionName(request.action));
        cJSON_AddNumberToObject(entry, "waitingMs", static_cast<double>(request.waitingMs));
        if (request.action == vstation::PersonAction::Finger) cJSON_AddNumberToObject(entry, "finger", request.finger);
        cJSON_AddItemToArray(list, entry);
    }
    answerJson(response, root);
}

void setWait(ApiContext&, const ApiRequest& request, ApiResponse* response) {
    BodyFields fields(request.body);
    if (!fields.has("on")) fields.fail("\"on\" (true or false) is missing");
    const bool on = fields.flag("on", false);
    if (!fields.ok()) return answerError(response, 400, fields.why());
    vstation::setWaitForPerson(on);
    answerOk(response);
}

void presentCard(ApiContext& context, const ApiRequest& request, ApiResponse* response) {
    BodyFields fields(request.body);
    vstation::OfflineRecord person;
    bool named = false;
    if (!namedPerson(context, fields, &person, &named, response)) return;
    std::string cardNo = fields.text("cardNo");
    const std::string cardType = fields.text("cardType", "M1Card");
    if (named) {
        if (person.cardNoList.empty()) return answerError(response, 409, "that person has no card");
        cardNo = person.cardNoList.front();
    }
    if (fields.ok() && cardNo.empty()) fields.fail("\"cardNo\" or \"captureNo\" is missing");
    if (!fields.ok()) return answerError(response, 400, fields.why());
    vstation::presentCard(cardNo, cardType);
    answerOk(response);
}

void layIdentityCard(ApiContext& context, const ApiRequest& request, ApiResponse* response) {
    BodyFields fields(request.body);
    vstation::OfflineRecord person;
    bool named = false;
    if (!namedPerson(context, fields, &person, &named, response)) return;
    std::string info = fields.object("identityInfo");
    if (named) {
        // The stored person's card: their name, number and face.
        cJSON* card = cJSON_CreateObject();
        cJSON_AddStringToObject(card, "enName", person.name.c_str());
        cJSON_AddStringToObject(card, "IDCardNo", person.IDCardNo.c_str());
        cJSON_AddStringToObject(card, "certificateType", "identityCard");
        if (!person.facePicture.empty()) cJSON_AddStringToObject(card, "pic", base64(person.facePicture).c_str());
        char* text = cJSON_PrintUnformatted(card);
        info = text ? text : "";
        cJSON_free(text);
        cJSON_Delete(card);
    }
    if (fields.ok() && info.empty()) fields.fail("\"identityInfo\" or \"captureNo\" is missing");
    if (!fields.ok()) return answerError(response, 400, fields.why());
    vstation::layIdentityCard(info);
    answerOk(response);
}

// A finger nobody enrolled: the built-in sample's template with its bytes
// after the header drawn anew.
std::string freshTemplate() {
    std::string bytes = vstation::builtInFingerprintSample().templateBytes;
    std::random_device seed;
    std::mt19937 random(seed());
    for (size_t i = 8; i < bytes.size(); ++i) bytes[i] = static_cast<char>(random() & 0xff);
    return bytes;
}

void placeFinger(ApiContext& context, const ApiRequest& request, ApiResponse* response) {
    BodyFields fields(request.body);
    vstation::OfflineRecord person;
    bool named = false;
    if (!namedPerson(context, fields, &person, &named, response)) return;
    vstation::FingerprintSample sample = vstation::builtInFingerprintSample();
    sample.quality = static_cast<uint8_t>(fields.number("quality", 0, 100, sample.quality));
    const int64_t fingerprintID = fields.number("fingerprintID", 0, INT32_MAX, -1);
    sample.templateBytes = fields.bytes("template");
    if (!fields.ok()) return answerError(response, 400, fields.why());
    if (named) {
        // The person's stored finger: the given one, else their first.
        const vstation::OfflineFingerprint* chosen = nullptr;
        for (const auto& finger : person.fingerprints) {
            if (!chosen || finger.fingerprintID == fingerprintID) chosen = &finger;
            if (finger.fingerprintID == fingerprintID) break;
        }
        if (!chosen) return answerError(response, 409, "that person has no fingerprint");
        if (!fromBase64(chosen->fingerprint, &sample.templateBytes)) {
            return answerError(response, 409, "that person's fingerprint is not Base64");
        }
    } else if (sample.templateBytes.empty()) {
        sample.templateBytes = freshTemplate();
    }
    vstation::placeFinger(sample);
    answerOk(response);
}

void standBeforeCamera(ApiContext& context, const ApiRequest& request, ApiResponse* response) {
    BodyFields fields(request.body);
    vstation::OfflineRecord person;
    bool named = false;
    if (!namedPerson(context, fields, &person, &named, response)) return;
    vstation::FaceSample sample = vstation::builtInFaceSample();
    sample.pictureQuality = static_cast<uint8_t>(fields.number("quality", 0, 100, sample.pictureQuality));
    const std::string picture = named ? person.facePicture : fields.bytes("picture");
    if (fields.ok() && !picture.empty() && pictureType(picture).empty()) {
        fields.fail("\"picture\" is not a PNG or JPEG picture");
    }
    if (!fields.ok()) return answerError(response, 400, fields.why());
    if (!picture.empty()) {
        sample.picture = picture;
        // The infrared camera sees the same person; no second picture is made up.
        sample.infraredPicture = named ? person.infraredPicture : std::string();
        if (named) sample.geometry = person.faceFeature;
    }
    vstation::standBeforeCamera(sample);
    answerOk(response);
}

}  // namespace

void addActionRoutes(std::vector<ApiRoute>* routes) {
    routes->push_back({"GET", "/api/person", getPerson});
    routes->push_back({"PUT", "/api/person/wait", setWait});
    routes->push_back({"POST", "/api/person/card", presentCard});
    routes->push_back({"POST", "/api/person/identity-card", layIdentityCard});
    routes->push_back({"POST", "/api/person/finger", placeFinger});
    routes->push_back({"POST", "/api/person/face", standBeforeCamera});
}

}  // namespace vstation_tool
