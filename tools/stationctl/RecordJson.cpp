#include "RecordJson.h"

namespace stationctl {

namespace {

void addBool(cJSON* object, const char* key, bool value) { cJSON_AddBoolToObject(object, key, value ? 1 : 0); }
void addNumber(cJSON* object, const char* key, double value) { cJSON_AddNumberToObject(object, key, value); }
void addString(cJSON* object, const char* key, const std::string& value) {
    cJSON_AddStringToObject(object, key, value.c_str());
}

void addPoint(cJSON* object, const char* key, const es::PointInfo& point) {
    cJSON* node = cJSON_AddObjectToObject(object, key);
    addNumber(node, "x", point.x);
    addNumber(node, "y", point.y);
}

void addFeature(cJSON* object, const es::FaceFeatureInfo& feature) {
    cJSON* node = cJSON_AddObjectToObject(object, "faceFeature");
    cJSON* region = cJSON_AddObjectToObject(node, "region");
    addNumber(region, "height", feature.region.height);
    addNumber(region, "width", feature.region.width);
    addNumber(region, "x", feature.region.x);
    addNumber(region, "y", feature.region.y);
    addPoint(node, "leftEyePoint", feature.leftEyePoint);
    addPoint(node, "rightEyePoint", feature.rightEyePoint);
    addPoint(node, "leftMouthPoint", feature.leftMouthPoint);
    addPoint(node, "rightMouthPoint", feature.rightMouthPoint);
    addPoint(node, "noseTipPoint", feature.noseTipPoint);
}

// ---- reading the search document (the device's JSON key names) ----------

const cJSON* member(const cJSON* object, const char* key) {
    return cJSON_GetObjectItemCaseSensitive(object, key);
}
std::string text(const cJSON* object, const char* key) {
    const cJSON* item = member(object, key);
    return cJSON_IsString(item) ? item->valuestring : "";
}
int32_t integer(const cJSON* object, const char* key) {
    const cJSON* item = member(object, key);
    return cJSON_IsNumber(item) ? static_cast<int32_t>(item->valuedouble) : 0;
}
double real(const cJSON* object, const char* key) {
    const cJSON* item = member(object, key);
    return cJSON_IsNumber(item) ? item->valuedouble : 0.0;
}
es::PointInfo point(const cJSON* object, const char* key) {
    const cJSON* node = member(object, key);
    return es::PointInfo{real(node, "x"), real(node, "y")};
}

es::DataCollectInfomation readCollect(const cJSON* node) {
    es::DataCollectInfomation person;
    person.lastCaptureNo = integer(node, "lastCaptureNo");
    person.captureNo = integer(node, "captureNo");
    person.name = text(node, "name");
    person.employeeNo = text(node, "employeeNo");
    person.IDCardNo = text(node, "IDCardNo");
    const cJSON* item = nullptr;
    cJSON_ArrayForEach(item, member(node, "CardNoList")) {
        if (cJSON_IsString(item)) person.cardNoList.emplace_back(item->valuestring);
    }
    cJSON_ArrayForEach(item, member(node, "FingerprintList")) {
        person.fingerprintList.push_back(
            es::FingerprintInfo{integer(item, "fingerprintID"), text(item, "fingerprint")});
    }
    const cJSON* feature = member(node, "FaceFeature");
    const cJSON* region = member(feature, "Region");
    person.faceFeature.region = es::RegionInfo{real(region, "height"), real(region, "width"),
                                               real(region, "x"), real(region, "y")};
    person.faceFeature.leftEyePoint = point(feature, "LeftEyePoint");
    person.faceFeature.rightEyePoint = point(feature, "RightEyePoint");
    person.faceFeature.leftMouthPoint = point(feature, "LeftMouthPoint");
    person.faceFeature.rightMouthPoint = point(feature, "RightMouthPoint");
    person.faceFeature.noseTipPoint = point(feature, "NoseTipPoint");
    person.riskDataMark = cJSON_IsTrue(member(node, "riskDataMark"));
    return person;
}

}  // namespace

JsonPtr toJson(const es::CaptureAbility& ability) {
    JsonPtr node = newObject();
    addBool(node.get(), "isSupportCaptureCardInfo", ability.isSupportCaptureCardInfo);
    addBool(node.get(), "isSupportCaptureIDInfo", ability.isSupportCaptureIDInfo);
    addBool(node.get(), "isSupportCaptureCardRule", ability.isSupportCaptureCardRule);
    addBool(node.get(), "isSupportCapturePresetParam", ability.isSupportCapturePresetParam);
    addBool(node.get(), "isSupportCaptureFingerPrint", ability.isSupportCaptureFingerPrint);
    addBool(node.get(), "isSupportCaptureFace", ability.isSupportCaptureFace);
    return node;
}

JsonPtr toJson(const es::RFCardCap& cap) {
    JsonPtr node = newObject();
    addBool(node.get(), "isSupportEMCard", cap.isSupportEMCard);
    addBool(node.get(), "isSupportM1Card", cap.isSupportM1Card);
    addBool(node.get(), "isSupportCPUCard", cap.isSupportCPUCard);
    addBool(node.get(), "isSupportIDCard", cap.isSupportIDCard);
    return node;
}

JsonPtr toJson(const es::RFCardParam& param) {
    JsonPtr node = newObject();
    addBool(node.get(), "enableEMCard", param.enableEMCard);
    addBool(node.get(), "enableM1Card", param.enableM1Card);
    addBool(node.get(), "enableCPUCard", param.enableCPUCard);
    addBool(node.get(), "enableIDCard", param.enableIDCard);
    return node;
}

JsonPtr toJson(const es::CaptureRuleInfo& rule) {
    JsonPtr node = newObject();
    addBool(node.get(), "enableCardNoLenAuto", rule.enableCardNoLenAuto);
    addNumber(node.get(), "cardNoLen", rule.cardNoLen);
    addNumber(node.get(), "cardTimeout", rule.cardTimeout);
    return node;
}

JsonPtr toJson(const es::IdentityInfomation& info) {
    JsonPtr node = newObject();
    cJSON* o = node.get();
    addString(o, "chnName", info.chnName);
    addString(o, "enName", info.enName);
    addString(o, "sex", info.sex);
    addString(o, "birth", info.birth);
    addString(o, "addr", info.addr);
    addString(o, "IDCardNo", info.IDCardNo);
    addString(o, "issuingAuthority", info.issuingAuthority);
    addString(o, "startDate", info.startDate);
    addString(o, "endDate", info.endDate);
    addNumber(o, "nation", info.nation);
    addString(o, "passNo", info.passNo);
    addString(o, "issueNumber", info.issueNumber);
    addString(o, "certificateType", info.certificateType);
    addString(o, "permanentResidenceCardNo", info.permanentResidenceCardNo);
    addString(o, "nationalityOrAreaCode", info.nationalityOrAreaCode);
    addString(o, "version", info.version);
    addString(o, "receivingAuthorityCode", info.receivingAuthorityCode);
    cJSON* prints = cJSON_AddArrayToObject(o, "fingerprintList");
    for (const std::string& print : info.fingerprintList) {
        cJSON_AddItemToArray(prints, cJSON_CreateString(print.c_str()));
    }
    addString(o, "pic", info.pic);
    return node;
}

JsonPtr toJson(const es::FingerPrintInfomation& info) {
    JsonPtr node = newObject();
    addString(node.get(), "fingerPrintData", info.fingerPrintData);
    // The picture is raw bytes (cut at the first zero byte); its size is what
    // is worth showing, and raw bytes are not valid JSON text.
    addNumber(node.get(), "fingerPrintPicBytes", static_cast<double>(info.fingerPrintPic.size()));
    addNumber(node.get(), "fingerPrintQuality", info.fingerPrintQuality);
    return node;
}

JsonPtr toJson(const es::FaceInformation& info) {
    JsonPtr node = newObject();
    cJSON* o = node.get();
    addString(o, "faceTemplate1", info.faceTemplate1);
    addNumber(o, "faceTemplate1Quality", info.faceTemplate1Quality);
    addString(o, "faceTemplate2", info.faceTemplate2);
    addNumber(o, "faceTemplate2Quality", info.faceTemplate2Quality);
    addString(o, "faceData", info.faceData);
    addNumber(o, "faceDataQuality", info.faceDataQuality);
    addString(o, "infraredFaceData", info.infraredFaceData);
    addNumber(o, "infraredFaceDataQuality", info.infraredFaceDataQuality);
    addFeature(o, info.faceFeature);
    return node;
}

JsonPtr toJson(const es::SearchCaptureInfomation& record) {
    JsonPtr node = newObject();
    cJSON* o = node.get();
    addString(o, "searchID", record.searchID);
    addString(o, "responseStatusStrg", record.responseStatusStrg);
    addNumber(o, "numOfMatches", record.numOfMatches);
    addNumber(o, "totalMatches", record.totalMatches);
    addString(o, "faceData", record.faceData);
    addString(o, "infraredFaceData", record.infraredFaceData);
    cJSON* people = cJSON_AddArrayToObject(o, "dataCollectList");
    for (const es::DataCollectInfomation& person : record.dataCollectList) {
        cJSON* p = cJSON_CreateObject();
        cJSON_AddItemToArray(people, p);
        addNumber(p, "lastCaptureNo", person.lastCaptureNo);
        addNumber(p, "captureNo", person.captureNo);
        addString(p, "name", person.name);
        addString(p, "employeeNo", person.employeeNo);
        addString(p, "IDCardNo", person.IDCardNo);
        cJSON* cards = cJSON_AddArrayToObject(p, "cardNoList");
        for (const std::string& card : person.cardNoList) {
            cJSON_AddItemToArray(cards, cJSON_CreateString(card.c_str()));
        }
        cJSON* prints = cJSON_AddArrayToObject(p, "fingerprintList");
        for (const es::FingerprintInfo& print : person.fingerprintList) {
            cJSON* f = cJSON_CreateObject();
            cJSON_AddItemToArray(prints, f);
            addNumber(f, "fingerprintID", print.fingerprintID);
            addString(f, "fingerprint", print.fingerprint);
        }
        addFeature(p, person.faceFeature);
        addBool(p, "riskDataMark", person.riskDataMark);
    }
    return node;
}

JsonPtr toJson(const es::offLineRuleInfomation& rule) {
    JsonPtr node = newObject();
    addBool(node.get(), "reqAdminRights", rule.reqAdminRights);
    addBool(node.get(), "enableCardNoLenAuto", rule.enableCardNoLenAuto);
    cJSON* list = cJSON_AddArrayToObject(node.get(), "ruleList");
    for (const es::offLineRuleItem& item : rule.ruleList) {
        cJSON* r = cJSON_CreateObject();
        cJSON_AddItemToArray(list, r);
        addString(r, "dataType", item.dataType);
        addBool(r, "enable", item.enable);
        addBool(r, "uniqueCheck", item.uniqueCheck);
        addNumber(r, "len", item.len);
        addNumber(r, "num", item.num);
        cJSON* ids = cJSON_AddArrayToObject(r, "fingerprintIDs");
        for (int32_t id : item.fingerprintIDs) cJSON_AddItemToArray(ids, cJSON_CreateNumber(id));
    }
    return node;
}

JsonPtr toJson(const es::UploadFailedDetailsInfomation& details) {
    JsonPtr node = newObject();
    addString(node.get(), "description", details.description);
    return node;
}

JsonPtr toJson(const es::FaceParam& param) {
    JsonPtr node = newObject();
    addBool(node.get(), "enable", param.enable);
    addNumber(node.get(), "value", param.value);
    return node;
}

bool fromSearchDocument(const std::string& document, es::SearchCaptureInfomation& record,
                        std::string& status) {
    JsonPtr root = parseJson(document);
    const cJSON* data = member(root.get(), "SearchCaptureData");
    const cJSON* response = member(data, "SearchTaskCond");
    status = text(response, "responseStatusStrg");
    const cJSON* first = cJSON_GetArrayItem(member(response, "DataCollections"), 0);
    if (!cJSON_IsObject(first)) return false;
    record = es::SearchCaptureInfomation();
    record.faceData = text(data, "faceData");
    record.infraredFaceData = text(data, "infraredFaceData");
    record.searchID = text(response, "searchID");
    record.responseStatusStrg = status;
    record.numOfMatches = integer(response, "numOfMatches");
    record.totalMatches = integer(response, "totalMatches");
    record.dataCollectList.push_back(readCollect(first));
    return true;
}

}  // namespace stationctl
