#include "RecordJson.h"

#include <string>
#include <vector>

namespace stationctl {

namespace es = EnrollmentStation;

// ---- the tables: each record's fields once, named as in the record -------

template <typename V> void fields(V& v, const es::CaptureAbility& r) {
    v("isSupportCaptureCardInfo", r.isSupportCaptureCardInfo);
    v("isSupportCaptureIDInfo", r.isSupportCaptureIDInfo);
    v("isSupportCaptureCardRule", r.isSupportCaptureCardRule);
    v("isSupportCapturePresetParam", r.isSupportCapturePresetParam);
    v("isSupportCaptureFingerPrint", r.isSupportCaptureFingerPrint);
    v("isSupportCaptureFace", r.isSupportCaptureFace);
}

template <typename V> void fields(V& v, const es::RFCardCap& r) {
    v("isSupportEMCard", r.isSupportEMCard);
    v("isSupportM1Card", r.isSupportM1Card);
    v("isSupportCPUCard", r.isSupportCPUCard);
    v("isSupportIDCard", r.isSupportIDCard);
}

template <typename V> void fields(V& v, const es::RFCardParam& r) {
    v("enableEMCard", r.enableEMCard);
    v("enableM1Card", r.enableM1Card);
    v("enableCPUCard", r.enableCPUCard);
    v("enableIDCard", r.enableIDCard);
}

template <typename V> void fields(V& v, const es::CaptureRuleInfo& r) {
    v("enableCardNoLenAuto", r.enableCardNoLenAuto);
    v("cardNoLen", r.cardNoLen);
    v("cardTimeout", r.cardTimeout);
}

template <typename V> void fields(V& v, const es::IdentityInfomation& r) {
    v("chnName", r.chnName);
    v("enName", r.enName);
    v("sex", r.sex);
    v("birth", r.birth);
    v("addr", r.addr);
    v("IDCardNo", r.IDCardNo);
    v("issuingAuthority", r.issuingAuthority);
    v("startDate", r.startDate);
    v("endDate", r.endDate);
    v("nation", r.nation);
    v("passNo", r.passNo);
    v("issueNumber", r.issueNumber);
    v("certificateType", r.certificateType);
    v("permanentResidenceCardNo", r.permanentResidenceCardNo);
    v("nationalityOrAreaCode", r.nationalityOrAreaCode);
    v("version", r.version);
    v("receivingAuthorityCode", r.receivingAuthorityCode);
    v("fingerprintList", r.fingerprintList);
    v("pic", r.pic);
}

template <typename V> void fields(V& v, const es::FingerPrintInfomation& r) {
    v("fingerPrintData", r.fingerPrintData);
    // The picture is raw bytes (cut at the first zero byte); its size is what
    // is worth showing, and raw bytes are not valid JSON text.
    v("fingerPrintPicBytes", static_cast<double>(r.fingerPrintPic.size()));
    v("fingerPrintQuality", r.fingerPrintQuality);
}

template <typename V> void fields(V& v, const es::RegionInfo& r) {
    v("height", r.height);
    v("width", r.width);
    v("x", r.x);
    v("y", r.y);
}

template <typename V> void fields(V& v, const es::PointInfo& r) {
    v("x", r.x);
    v("y", r.y);
}

template <typename V> void fields(V& v, const es::FaceFeatureInfo& r) {
    v("region", r.region);
    v("leftEyePoint", r.leftEyePoint);
    v("rightEyePoint", r.rightEyePoint);
    v("leftMouthPoint", r.leftMouthPoint);
    v("rightMouthPoint", r.rightMouthPoint);
    v("noseTipPoint", r.noseTipPoint);
}

template <typename V> void fields(V& v, const es::FaceInformation& r) {
    v("faceTemplate1", r.faceTemplate1);
    v("faceTemplate1Quality", r.faceTemplate1Quality);
    v("faceTemplate2", r.faceTemplate2);
    v("faceTemplate2Quality", r.faceTemplate2Quality);
    v("faceData", r.faceData);
    v("faceDataQuality", r.faceDataQuality);
    v("infraredFaceData", r.infraredFaceData);
    v("infraredFaceDataQuality", r.infraredFaceDataQuality);
    v("faceFeature", r.faceFeature);
}

template <typename V> void fields(V& v, const es::FingerprintInfo& r) {
    v("fingerprintID", r.fingerprintID);
    v("fingerprint", r.fingerprint);
}

template <typename V> void fields(V& v, const es::DataCollectInfomation& r) {
    v("lastCaptureNo", r.lastCaptureNo);
    v("captureNo", r.captureNo);
    v("name", r.name);
    v("employeeNo", r.employeeNo);
    v("IDCardNo", r.IDCardNo);
    v("cardNoList", r.cardNoList);
    v("fingerprintList", r.fingerprintList);
    v("faceFeature", r.faceFeature);
    v("riskDataMark", r.riskDataMark);
}

template <typename V> void fields(V& v, const es::SearchCaptureInfomation& r) {
    v("searchID", r.searchID);
    v("responseStatusStrg", r.responseStatusStrg);
    v("numOfMatches", r.numOfMatches);
    v("totalMatches", r.totalMatches);
    v("faceData", r.faceData);
    v("infraredFaceData", r.infraredFaceData);
    v("dataCollectList", r.dataCollectList);
}

template <typename V> void fields(V& v, const es::offLineRuleItem& r) {
    v("dataType", r.dataType);
    v("enable", r.enable);
    v("uniqueCheck", r.uniqueCheck);
    v("len", r.len);
    v("num", r.num);
    v("fingerprintIDs", r.fingerprintIDs);
}

template <typename V> void fields(V& v, const es::offLineRuleInfomation& r) {
    v("reqAdminRights", r.reqAdminRights);
    v("enableCardNoLenAuto", r.enableCardNoLenAuto);
    v("ruleList", r.ruleList);
}

template <typename V> void fields(V& v, const es::UploadFailedDetailsInfomation& r) {
    v("description", r.description);
}

template <typename V> void fields(V& v, const es::FaceParam& r) {
    v("enable", r.enable);
    v("value", r.value);
}

// ---- the one writer ------------------------------------------------------

namespace {

cJSON* node(bool value) { return cJSON_CreateBool(value ? 1 : 0); }
cJSON* node(int32_t value) { return cJSON_CreateNumber(value); }
cJSON* node(double value) { return cJSON_CreateNumber(value); }
cJSON* node(const std::string& value) { return cJSON_CreateString(value.c_str()); }

template <typename Record>
cJSON* node(const Record& record) {
    return toJson(record).release();
}

template <typename T>
cJSON* node(const std::vector<T>& list) {
    cJSON* array = cJSON_CreateArray();
    for (const T& item : list) cJSON_AddItemToArray(array, node(item));
    return array;
}

struct Writer {
    cJSON* object;
    template <typename T>
    void operator()(const char* key, const T& value) {
        cJSON_AddItemToObject(object, key, node(value));
    }
};

}  // namespace

template <typename Record>
JsonTree toJson(const Record& record) {
    JsonTree object = newObject();
    Writer writer{object.get()};
    fields(writer, record);
    return object;
}

template JsonTree toJson(const es::CaptureAbility&);
template JsonTree toJson(const es::RFCardCap&);
template JsonTree toJson(const es::RFCardParam&);
template JsonTree toJson(const es::CaptureRuleInfo&);
template JsonTree toJson(const es::IdentityInfomation&);
template JsonTree toJson(const es::FingerPrintInfomation&);
template JsonTree toJson(const es::FaceInformation&);
template JsonTree toJson(const es::SearchCaptureInfomation&);
template JsonTree toJson(const es::offLineRuleInfomation&);
template JsonTree toJson(const es::UploadFailedDetailsInfomation&);
template JsonTree toJson(const es::FaceParam&);

}  // namespace stationctl
