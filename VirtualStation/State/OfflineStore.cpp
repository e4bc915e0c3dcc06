#include "State/OfflineStore.h"

#include <cjson/cJSON.h>

#include <array>
#include <cstdio>
#include <utility>

#include "State/Base64Codec.h"
#include "State/CollectState.h"
#include "State/OfflineRecordJson.h"
#include "Samples/SamplePictures.h"
#include "Samples/SampleReading.h"

namespace vstation {

namespace {

constexpr size_t kTemplateSize = 512;
// Distinct pictures per size among generated people.
constexpr size_t kPictureVariants = 8;

OfflineRecord readRecord(const cJSON* item, int index) {
    OfflineRecord record;
    record.captureNo = index + 1;
    record.lastCaptureNo = index;
    profile::readInteger(item, "captureNo", &record.captureNo);
    profile::readInteger(item, "lastCaptureNo", &record.lastCaptureNo);
    profile::readText(item, "name", &record.name);
    profile::readText(item, "employeeNo", &record.employeeNo);
    profile::readText(item, "IDCardNo", &record.IDCardNo);
    const cJSON* cards = cJSON_GetObjectItemCaseSensitive(item, kSavedRecordKeys.cardNoList);
    for (const cJSON* card = cJSON_IsArray(cards) ? cards->child : nullptr; card; card = card->next) {
        if (cJSON_IsString(card) && card->valuestring) record.cardNoList.emplace_back(card->valuestring);
    }
    const cJSON* fingers = cJSON_GetObjectItemCaseSensitive(item, kSavedRecordKeys.fingerprints);
    for (const cJSON* finger = cJSON_IsArray(fingers) ? fingers->child : nullptr; finger; finger = finger->next) {
        OfflineFingerprint entry;
        entry.fingerprintID = static_cast<int32_t>(record.fingerprints.size() + 1);
        profile::readInteger(finger, "fingerprintID", &entry.fingerprintID);
        profile::readText(finger, "fingerprint", &entry.fingerprint);
        record.fingerprints.push_back(std::move(entry));
    }
    record.faceFeature = pictures::drawnFaceGeometry(index);
    profile::readGeometry(item, kSavedRecordKeys.faceFeature, &record.faceFeature);
    profile::readFlag(item, "riskDataMark", &record.riskDataMark);
    // A record without picture keys gets its drawn face; "" means none.
    record.facePicture = pictures::facePng(index);
    record.infraredPicture = pictures::infraredFacePng(index);
    profile::readBytes(item, "facePicture", &record.facePicture);
    profile::readBytes(item, "infraredPicture", &record.infraredPicture);
    return record;
}

std::shared_ptr<const std::string> sharedBytes(std::string bytes) {
    if (bytes.empty()) return nullptr;
    return std::make_shared<const std::string>(std::move(bytes));
}

std::string digits(size_t number, int width) {
    char text[32];
    std::snprintf(text, sizeof text, "%0*zu", width, number);
    return text;
}

}  // namespace

std::shared_ptr<const StoredRecord> storedRecord(OfflineRecord record) {
    auto stored = std::make_shared<StoredRecord>();
    stored->facePicture = sharedBytes(std::move(record.facePicture));
    stored->infraredPicture = sharedBytes(std::move(record.infraredPicture));
    record.facePicture.clear();
    record.infraredPicture.clear();
    stored->fields = std::move(record);
    return stored;
}

std::vector<OfflineRecord> builtInRecords() {
    struct Person {
        const char* name;
        const char* employeeNo;
        const char* idCardNo;
        const char* cardNo;
        bool risk;
    };
    const std::array<Person, 3> people = {{
        {"Ana Lima", "E1001", "110101199003077514", "3F2A9C11", false},
        {"Ben Okafor", "E1002", "310104198511230419", "7C01D4E2", false},
        {"Chen Wei", "E1003", "440305199207158822", "A4F09B35", true},
    }};
    std::vector<OfflineRecord> records;
    for (size_t i = 0; i < people.size(); ++i) {
        const int index = static_cast<int>(i);
        OfflineRecord record;
        record.captureNo = index + 1;
        record.lastCaptureNo = index;
        record.name = people[i].name;
        record.employeeNo = people[i].employeeNo;
        record.IDCardNo = people[i].idCardNo;
        record.cardNoList = {people[i].cardNo};
        for (int finger = 1; finger <= 2; ++finger) {
            record.fingerprints.push_back(
                {finger, base64Encode(sampleTemplate(index * 10 + finger, kTemplateSize))});
        }
        record.faceFeature = pictures::drawnFaceGeometry(index);
        record.riskDataMark = people[i].risk;
        record.facePicture = pictures::facePng(index);
        record.infraredPicture = pictures::infraredFacePng(index);
        records.push_back(std::move(record));
    }
    return records;
}

RecordList generatedRecords(const GeneratedRecords& plan, size_t firstNumber) {
    std::vector<std::shared_ptr<const std::string>> faces, infrared;
    for (size_t v = 0; v < kPictureVariants; ++v) {
        const int person = static_cast<int>(v);
        faces.push_back(plan.facePictureBytes == 0
                            ? nullptr
                            : sharedBytes(pictures::paddedTo(pictures::facePng(person), plan.facePictureBytes)));
        infrared.push_back(plan.infraredPictureBytes == 0
                               ? nullptr
                               : sharedBytes(pictures::paddedTo(pictures::infraredFacePng(person),
                                                                plan.infraredPictureBytes)));
    }
    RecordList records;
    records.reserve(plan.count);
    for (size_t i = 0; i < plan.count; ++i) {
        const size_t number = firstNumber + i;
        auto stored = std::make_shared<StoredRecord>();
        OfflineRecord& record = stored->fields;
        record.captureNo = static_cast<int32_t>(number + 1);
        record.lastCaptureNo = static_cast<int32_t>(number);
        record.name = "Person " + digits(number + 1, 6);
        record.employeeNo = "E" + digits(number + 1, 6);
        record.IDCardNo = "1101011990" + digits(number % 100000000, 8);
        record.cardNoList = {"C" + digits(number + 1, 9)};
        for (int finger = 1; finger <= plan.fingerprints; ++finger) {
            record.fingerprints.push_back(
                {finger, base64Encode(sampleTemplate(static_cast<int>(number) * 10 + finger, kTemplateSize))});
        }
        record.faceFeature = pictures::drawnFaceGeometry(static_cast<int>(number % kPictureVariants));
        record.riskDataMark = number % 50 == 49;
        stored->facePicture = faces[number % kPictureVariants];
        stored->infraredPicture = infrared[number % kPictureVariants];
        records.push_back(std::move(stored));
    }
    return records;
}

OfflineStore::OfflineStore() : m_records(std::make_shared<RecordList>()) {}

void OfflineStore::load(const cJSON* profile) {
    RecordList records;
    const cJSON* list = cJSON_GetObjectItemCaseSensitive(profile, "offlineRecords");
    if (cJSON_IsArray(list)) {
        int index = 0;
        for (const cJSON* item = list->child; item; item = item->next, ++index) {
            if (cJSON_IsObject(item)) records.push_back(storedRecord(readRecord(item, index)));
        }
    } else {
        for (OfflineRecord& record : builtInRecords()) records.push_back(storedRecord(std::move(record)));
    }
    m_records = std::make_shared<RecordList>(std::move(records));
}

// Searches hold snapshots of the list; a change while one is out goes to a
// fresh copy (of pointers only), so no search sees the store move under it.
RecordList& OfflineStore::writable() {
    if (m_records.use_count() > 1) m_records = std::make_shared<RecordList>(*m_records);
    return *m_records;
}

void OfflineStore::clear() { m_records = std::make_shared<RecordList>(); }

size_t OfflineStore::size() const { return m_records->size(); }

void OfflineStore::add(std::shared_ptr<const StoredRecord> record) { writable().push_back(std::move(record)); }

void OfflineStore::add(const std::vector<std::shared_ptr<const StoredRecord>>& records) {
    RecordList& list = writable();
    list.insert(list.end(), records.begin(), records.end());
}

bool OfflineStore::replace(int32_t captureNo, std::shared_ptr<const StoredRecord> record) {
    for (size_t i = 0; i < m_records->size(); ++i) {
        if ((*m_records)[i]->fields.captureNo != captureNo) continue;
        writable()[i] = std::move(record);
        return true;
    }
    return false;
}

bool OfflineStore::remove(int32_t captureNo) {
    for (size_t i = 0; i < m_records->size(); ++i) {
        if ((*m_records)[i]->fields.captureNo != captureNo) continue;
        RecordList& list = writable();
        list.erase(list.begin() + static_cast<std::ptrdiff_t>(i));
        return true;
    }
    return false;
}

std::shared_ptr<const RecordList> OfflineStore::snapshot() const { return m_records; }

namespace {

// The saved form, which readRecord reads back: the record and its pictures.
cJSON* savedRecordJson(const StoredRecord& stored) {
    cJSON* item = offlineRecordJson(stored.fields, kSavedRecordKeys);
    cJSON_AddStringToObject(item, "facePicture",
                            stored.facePicture ? base64Encode(*stored.facePicture).c_str() : "");
    cJSON_AddStringToObject(item, "infraredPicture",
                            stored.infraredPicture ? base64Encode(*stored.infraredPicture).c_str() : "");
    return item;
}

}  // namespace

void OfflineStore::save(cJSON* profile) const {
    cJSON* list = cJSON_AddArrayToObject(profile, "offlineRecords");
    for (const auto& record : *m_records) cJSON_AddItemToArray(list, savedRecordJson(*record));
}

}  // namespace vstation
