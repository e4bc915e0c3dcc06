#include "State/OfflineRecordJson.h"

#include <cjson/cJSON.h>

#include <string>

namespace vstation {

const OfflineRecordKeys kAnsweredRecordKeys = {"CardNoList",    "FingerprintList", "FaceFeature",
                                               "Region",        "LeftEyePoint",    "RightEyePoint",
                                               "LeftMouthPoint", "RightMouthPoint", "NoseTipPoint"};

const OfflineRecordKeys kSavedRecordKeys = {"cardNoList", "fingerprints", "faceFeature", "region",    "leftEye",
                                            "rightEye",   "leftMouth",    "rightMouth",  "noseTip"};

namespace {

void addPoint(cJSON* parent, const char* key, const FacePoint2D& point) {
    cJSON* object = cJSON_AddObjectToObject(parent, key);
    cJSON_AddNumberToObject(object, "x", point.x);
    cJSON_AddNumberToObject(object, "y", point.y);
}

}  // namespace

cJSON* offlineRecordJson(const OfflineRecord& record, const OfflineRecordKeys& keys) {
    cJSON* object = cJSON_CreateObject();
    cJSON_AddNumberToObject(object, "lastCaptureNo", record.lastCaptureNo);
    cJSON_AddNumberToObject(object, "captureNo", record.captureNo);
    cJSON_AddStringToObject(object, "name", record.name.c_str());
    cJSON_AddStringToObject(object, "employeeNo", record.employeeNo.c_str());
    cJSON_AddStringToObject(object, "IDCardNo", record.IDCardNo.c_str());
    cJSON* cards = cJSON_AddArrayToObject(object, keys.cardNoList);
    for (const std::string& card : record.cardNoList) cJSON_AddItemToArray(cards, cJSON_CreateString(card.c_str()));
    cJSON* fingers = cJSON_AddArrayToObject(object, keys.fingerprints);
    for (const OfflineFingerprint& finger : record.fingerprints) {
        cJSON* item = cJSON_CreateObject();
        cJSON_AddNumberToObject(item, "fingerprintID", finger.fingerprintID);
        cJSON_AddStringToObject(item, "fingerprint", finger.fingerprint.c_str());
        cJSON_AddItemToArray(fingers, item);
    }
    const FaceGeometry& g = record.faceFeature;
    cJSON* feature = cJSON_AddObjectToObject(object, keys.faceFeature);
    cJSON* region = cJSON_AddObjectToObject(feature, keys.region);
    cJSON_AddNumberToObject(region, "height", g.height);
    cJSON_AddNumberToObject(region, "width", g.width);
    cJSON_AddNumberToObject(region, "x", g.x);
    cJSON_AddNumberToObject(region, "y", g.y);
    addPoint(feature, keys.leftEye, g.leftEye);
    addPoint(feature, keys.rightEye, g.rightEye);
    addPoint(feature, keys.leftMouth, g.leftMouth);
    addPoint(feature, keys.rightMouth, g.rightMouth);
    addPoint(feature, keys.noseTip, g.noseTip);
    cJSON_AddBoolToObject(object, "riskDataMark", record.riskDataMark);
    return object;
}

}  // namespace vstation
