// The offline store as a gallery: persons with their pictures.
//   GET    /api/persons                 every person, pictures as links
//   POST   /api/persons                 adds one (201, its captureNo)
//   GET    /api/persons/N               one person
//   PUT    /api/persons/N               changes the fields given
//   DELETE /api/persons/N               removes them
//   GET    /api/persons/N/face          the face picture (also /infrared)
// N is the person's capture number.
#include <algorithm>
#include <cstdlib>

#include "Http/Json.h"
#include "Http/Pictures.h"
#include "VirtualStation/StreamControl.h"

namespace vstation_tool {

namespace {

// A picture larger than this is refused: the station would carry it in
// every search answer.
constexpr size_t kPictureLimit = 2 * 1024 * 1024;

// The stored record as the station saves it, with links to its pictures.
cJSON* personJson(const vstation::OfflineRecord& record) {
    cJSON* person = vstation::savedRecordJson(record);
    const std::string base = "/api/persons/" + std::to_string(record.captureNo);
    if (record.facePicture.empty()) {
        cJSON_AddNullToObject(person, "facePicture");
    } else {
        cJSON_AddStringToObject(person, "facePicture", (base + "/face").c_str());
    }
    if (record.infraredPicture.empty()) {
        cJSON_AddNullToObject(person, "infraredPicture");
    } else {
        cJSON_AddStringToObject(person, "infraredPicture", (base + "/infrared").c_str());
    }
    return person;
}

bool findPerson(const ApiContext& context, const std::string& number, vstation::OfflineRecord* found) {
    std::vector<vstation::OfflineRecord> records;
    if (!vstation::offlineRecords(&records, context.address, context.port)) return false;
    const long captureNo = std::strtol(number.c_str(), nullptr, 10);
    for (vstation::OfflineRecord& record : records) {
        if (record.captureNo == captureNo) {
            *found = std::move(record);
            return true;
        }
    }
    return false;
}

// The fields a body gives, over `record`. False (and `response` set) on a
// bad body.
bool readPerson(const std::string& body, vstation::OfflineRecord* record, ApiResponse* response) {
    BodyFields fields(body);
    record->name = fields.text("name", record->name);
    record->employeeNo = fields.text("employeeNo", record->employeeNo);
    record->IDCardNo = fields.text("IDCardNo", record->IDCardNo);
    if (fields.has("cardNoList")) record->cardNoList = fields.texts("cardNoList");
    record->riskDataMark = fields.flag("riskDataMark", record->riskDataMark);
    // A picture is Base64 bytes; "" removes it.
    record->facePicture = fields.bytes("facePicture", record->facePicture);
    record->infraredPicture = fields.bytes("infraredPicture", record->infraredPicture);
    if (fields.ok() && (record->facePicture.size() > kPictureLimit || record->infraredPicture.size() > kPictureLimit)) {
        fields.fail("a picture may have at most " + std::to_string(kPictureLimit) + " bytes");
    }
    if (fields.ok() && !record->facePicture.empty() && pictureType(record->facePicture).empty()) {
        fields.fail("\"facePicture\" is not a PNG or JPEG picture");
    }
    if (!fields.ok()) {
        answerError(response, 400, fields.why());
        return false;
    }
    return true;
}

void listPersons(ApiContext& context, const ApiRequest&, ApiResponse* response) {
    std::vector<vstation::OfflineRecord> records;
    vstation::offlineRecords(&records, context.address, context.port);
    cJSON* list = cJSON_CreateArray();
    for (const vstation::OfflineRecord& record : records) cJSON_AddItemToArray(list, personJson(record));
    answerJson(response, list);
}

void addPerson(ApiContext& context, const ApiRequest& request, ApiResponse* response) {
    vstation::OfflineRecord record;
    record.faceFeature = vstation::builtInFaceSample().geometry;
    if (!readPerson(request.body, &record, response)) return;
    {
        // The next capture number after the highest, taken and used at once.
        std::lock_guard<std::mutex> lock(context.mutex);
        std::vector<vstation::OfflineRecord> records;
        vstation::offlineRecords(&records, context.address, context.port);
        int32_t highest = 0;
        for (const auto& stored : records) highest = std::max(highest, stored.captureNo);
        record.lastCaptureNo = highest;
        record.captureNo = highest + 1;
        vstation::addOfflineRecords({record}, context.address, context.port);
    }
    if (context.changed) context.changed();
    answerJson(response, personJson(record), 201);
}

void getPerson(ApiContext& context, const ApiRequest& request, ApiResponse* response) {
    vstation::OfflineRecord record;
    if (!findPerson(context, request.captures.at(0), &record)) {
        answerError(response, 404, "no person with capture number " + request.captures.at(0));
        return;
    }
    answerJson(response, personJson(record));
}

void changePerson(ApiContext& context, const ApiRequest& request, ApiResponse* response) {
    std::lock_guard<std::mutex> lock(context.mutex);
    vstation::OfflineRecord record;
    if (!findPerson(context, request.captures.at(0), &record)) {
        answerError(response, 404, "no person with capture number " + request.captures.at(0));
        return;
    }
    const int32_t captureNo = record.captureNo;
    if (!readPerson(request.body, &record, response)) return;
    record.captureNo = captureNo;
    if (!vstation::replaceOfflineRecord(captureNo, record, context.address, context.port)) {
        answerError(response, 404, "no person with capture number " + request.captures.at(0));
        return;
    }
    if (context.changed) context.changed();
    answerJson(response, personJson(record));
}

void removePerson(ApiContext& context, const ApiRequest& request, ApiResponse* response) {
    const long captureNo = std::strtol(request.captures.at(0).c_str(), nullptr, 10);
    if (!vstation::removeOfflineRecord(static_cast<int32_t>(captureNo), context.address, context.port)) {
        answerError(response, 404, "no person with capture number " + request.captures.at(0));
        return;
    }
    if (context.changed) context.changed();
    answerOk(response);
}

void personPicture(ApiContext& context, const ApiRequest& request, ApiResponse* response) {
    vstation::OfflineRecord record;
    const bool face = request.captures.at(1) == "face";
    if (!findPerson(context, request.captures.at(0), &record) ||
        (face ? record.facePicture : record.infraredPicture).empty()) {
        answerError(response, 404, "no such picture");
        return;
    }
    response->body = face ? record.facePicture : record.infraredPicture;
    response->contentType = pictureType(response->body);
    if (response->contentType.empty()) response->contentType = "application/octet-stream";
}

}  // namespace

void addPersonRoutes(std::vector<ApiRoute>* routes) {
    routes->push_back({"GET", "/api/persons", listPersons});
    routes->push_back({"POST", "/api/persons", addPerson});
    routes->push_back({"GET", "/api/persons/(\\d{1,9})", getPerson});
    routes->push_back({"PUT", "/api/persons/(\\d{1,9})", changePerson});
    routes->push_back({"DELETE", "/api/persons/(\\d{1,9})", removePerson});
    routes->push_back({"GET", "/api/persons/(\\d{1,9})/(face|infrared)", personPicture});
}

}  // namespace vstation_tool
