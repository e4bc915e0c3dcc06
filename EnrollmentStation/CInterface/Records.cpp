#include "CInterface/Records.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace EnrollmentStation {
namespace capi {

namespace {

std::string textOrEmpty(const char* text) { return text != nullptr ? text : std::string(); }

// A zeroed array of `count` elements; NULL for none.
template <class T>
T* allocArray(size_t count) {
    if (count == 0) return nullptr;
    void* block = std::calloc(count, sizeof(T));
    if (block == nullptr) throw std::bad_alloc();
    return static_cast<T*>(block);
}

// Texts into a zeroed array: a throw leaves the copies made so far freeable.
char** copyTexts(const std::vector<std::string>& texts, size_t& count) {
    char** array = allocArray<char*>(texts.size());
    count = texts.size();
    for (size_t i = 0; i < texts.size(); ++i) array[i] = copyText(texts[i]);
    return array;
}

es_face_feature toC(const FaceFeatureInfo& in) {
    auto point = [](const PointInfo& p) { return es_point{p.x, p.y}; };
    return es_face_feature{es_region{in.region.height, in.region.width, in.region.x, in.region.y},
                           point(in.leftEyePoint),   point(in.rightEyePoint), point(in.leftMouthPoint),
                           point(in.rightMouthPoint), point(in.noseTipPoint)};
}

void toC(const DataCollectInfomation& in, es_data_collect& out) {
    out.last_capture_no = in.lastCaptureNo;
    out.capture_no = in.captureNo;
    out.face_feature = toC(in.faceFeature);
    out.risk_data_mark = in.riskDataMark ? 1 : 0;
    out.name = copyText(in.name);
    out.employee_no = copyText(in.employeeNo);
    out.id_card_no = copyText(in.IDCardNo);
    out.card_nos = copyTexts(in.cardNoList, out.card_no_count);
    out.fingerprints = allocArray<es_fingerprint_info>(in.fingerprintList.size());
    out.fingerprint_count = in.fingerprintList.size();
    for (size_t i = 0; i < in.fingerprintList.size(); ++i) {
        out.fingerprints[i].id = in.fingerprintList[i].fingerprintID;
        out.fingerprints[i].fingerprint = copyText(in.fingerprintList[i].fingerprint);
    }
}

void freeTexts(char** texts, size_t count) {
    for (size_t i = 0; texts != nullptr && i < count; ++i) std::free(texts[i]);
    std::free(texts);
}

void freeDataCollect(es_data_collect& record) {
    std::free(record.name);
    std::free(record.employee_no);
    std::free(record.id_card_no);
    freeTexts(record.card_nos, record.card_no_count);
    for (size_t i = 0; record.fingerprints != nullptr && i < record.fingerprint_count; ++i) {
        std::free(record.fingerprints[i].fingerprint);
    }
    std::free(record.fingerprints);
}

// Zeroes everything after the size field, so a second free finds nothing.
template <class CRecord>
void clearKeepingSize(CRecord* record) {
    const auto size = record->size;
    *record = CRecord{};
    record->size = size;
}

}  // namespace

char* copyText(const std::string& text) {
    char* copy = static_cast<char*>(std::malloc(text.size() + 1));
    if (copy == nullptr) throw std::bad_alloc();
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

LoginParam fromC(const es_login_param& in) {
    return LoginParam{textOrEmpty(in.address), textOrEmpty(in.port), textOrEmpty(in.user),
                      textOrEmpty(in.password)};
}

RFCardParam fromC(const es_rf_card_param& in) {
    RFCardParam out;
    out.enableM1Card = in.m1_card != 0;
    out.enableCPUCard = in.cpu_card != 0;
    out.enableIDCard = in.id_card != 0;
    out.enableEMCard = in.em_card != 0;
    return out;
}

CaptureRuleInfo fromC(const es_capture_rule& in) {
    CaptureRuleInfo out;
    out.enableCardNoLenAuto = in.card_no_len_auto != 0;
    out.cardNoLen = in.card_no_len;
    out.cardTimeout = in.card_timeout;
    return out;
}

offLineRuleInfomation fromC(const es_offline_rule& in) {
    offLineRuleInfomation out;
    out.reqAdminRights = in.req_admin_rights != 0;
    out.enableCardNoLenAuto = in.card_no_len_auto != 0;
    for (size_t i = 0; in.items != nullptr && i < in.item_count; ++i) {
        const es_offline_rule_item& item = in.items[i];
        offLineRuleItem rule;
        rule.dataType = textOrEmpty(item.data_type);
        rule.enable = item.enable != 0;
        rule.uniqueCheck = item.unique_check != 0;
        rule.len = item.len;
        rule.num = item.num;
        if (item.fingerprint_ids != nullptr) {
            rule.fingerprintIDs.assign(item.fingerprint_ids, item.fingerprint_ids + item.fingerprint_id_count);
        }
        out.ruleList.push_back(rule);
    }
    return out;
}

FaceParam fromC(const es_face_param& in) {
    FaceParam out;
    out.enable = in.enable != 0;
    out.value = in.value;
    return out;
}

void toC(const CaptureAbility& in, es_capture_ability& out) {
    out.card = in.isSupportCaptureCardInfo;
    out.id_card = in.isSupportCaptureIDInfo;
    out.card_rule = in.isSupportCaptureCardRule;
    out.preset_param = in.isSupportCapturePresetParam;
    out.fingerprint = in.isSupportCaptureFingerPrint;
    out.face = in.isSupportCaptureFace;
}

void toC(const RFCardCap& in, es_rf_card_cap& out) {
    out.em_card = in.isSupportEMCard;
    out.m1_card = in.isSupportM1Card;
    out.cpu_card = in.isSupportCPUCard;
    out.id_card = in.isSupportIDCard;
}

void toC(const RFCardParam& in, es_rf_card_param& out) {
    out.m1_card = in.enableM1Card;
    out.cpu_card = in.enableCPUCard;
    out.id_card = in.enableIDCard;
    out.em_card = in.enableEMCard;
}

void toC(const IdentityInfomation& in, es_identity& out) {
    deliver(out, [&](es_identity& c) {
        c.nation = in.nation;
        c.chn_name = copyText(in.chnName);
        c.en_name = copyText(in.enName);
        c.sex = copyText(in.sex);
        c.birth = copyText(in.birth);
        c.addr = copyText(in.addr);
        c.id_card_no = copyText(in.IDCardNo);
        c.issuing_authority = copyText(in.issuingAuthority);
        c.start_date = copyText(in.startDate);
        c.end_date = copyText(in.endDate);
        c.pass_no = copyText(in.passNo);
        c.issue_number = copyText(in.issueNumber);
        c.certificate_type = copyText(in.certificateType);
        c.permanent_residence_card_no = copyText(in.permanentResidenceCardNo);
        c.nationality_or_area_code = copyText(in.nationalityOrAreaCode);
        c.version = copyText(in.version);
        c.receiving_authority_code = copyText(in.receivingAuthorityCode);
        c.fingerprints = copyTexts(in.fingerprintList, c.fingerprint_count);
        c.pic = copyText(in.pic);
    }, es_identity_free);
}

void toC(const FingerPrintInfomation& in, es_fingerprint& out) {
    deliver(out, [&](es_fingerprint& c) {
        c.quality = in.fingerPrintQuality;
        c.data = copyText(in.fingerPrintData);
        c.pic = allocArray<unsigned char>(in.fingerPrintPic.size());
        c.pic_length = in.fingerPrintPic.size();
        if (c.pic_length != 0) std::memcpy(c.pic, in.fingerPrintPic.data(), c.pic_length);
    }, es_fingerprint_free);
}

void toC(const FaceInformation& in, es_face& out) {
    deliver(out, [&](es_face& c) {
        c.template1_quality = in.faceTemplate1Quality;
        c.template2_quality = in.faceTemplate2Quality;
        c.face_data_quality = in.faceDataQuality;
        c.infrared_face_data_quality = in.infraredFaceDataQuality;
        c.feature = toC(in.faceFeature);
        c.template1 = copyText(in.faceTemplate1);
        c.template2 = copyText(in.faceTemplate2);
        c.face_data = copyText(in.faceData);
        c.infrared_face_data = copyText(in.infraredFaceData);
    }, es_face_free);
}

void toC(const SearchCaptureInfomation& in, es_search_record& out) {
    deliver(out, [&](es_search_record& c) {
        c.num_of_matches = in.numOfMatches;
        c.total_matches = in.totalMatches;
        c.face_data = copyText(in.faceData);
        c.infrared_face_data = copyText(in.infraredFaceData);
        c.search_id = copyText(in.searchID);
        c.response_status = copyText(in.responseStatusStrg);
        c.data_collects = allocArray<es_data_collect>(in.dataCollectList.size());
        c.data_collect_count = in.dataCollectList.size();
        for (size_t i = 0; i < in.dataCollectList.size(); ++i) toC(in.dataCollectList[i], c.data_collects[i]);
    }, es_search_record_free);
}

void toC(std::vector<SearchCaptureInfomation>& in, es_search_result& out) {
    deliver(out, [&](es_search_result& c) {
        c.records = allocArray<es_search_record>(in.size());
        c.count = in.size();
        for (size_t i = 0; i < in.size(); ++i) {
            c.records[i].size = sizeof(es_search_record);
            toC(in[i], c.records[i]);
            in[i] = SearchCaptureInfomation();
        }
    }, es_search_result_free);
}

void toC(const UploadFailedDetailsInfomation& in, es_upload_failed_details& out) {
    deliver(out, [&](es_upload_failed_details& c) { c.description = copyText(in.description); },
            es_upload_failed_details_free);
}

void toC(const FaceParam& in, es_face_param& out) {
    out.enable = in.enable;
    out.value = in.value;
}

void toC(const StationStatus& in, es_station_status& out) {
    deliver(out, [&](es_station_status& c) {
        c.status_code = in.statusCode;
        c.error_code = in.errorCode;
        c.try_times = in.tryTimes;
        c.request_url = copyText(in.requestURL);
        c.status_string = copyText(in.statusString);
        c.sub_status_code = copyText(in.subStatusCode);
        c.error_msg = copyText(in.errorMsg);
    }, es_station_status_free);
}

}  // namespace capi
}  // namespace EnrollmentStation

using EnrollmentStation::capi::clearKeepingSize;

extern "C" {

void es_text_free(char* text) { std::free(text); }

void es_identity_free(es_identity* c) {
    if (c == nullptr) return;
    char* texts[] = {c->chn_name, c->en_name, c->sex, c->birth, c->addr, c->id_card_no,
                     c->issuing_authority, c->start_date, c->end_date, c->pass_no, c->issue_number,
                     c->certificate_type, c->permanent_residence_card_no, c->nationality_or_area_code,
                     c->version, c->receiving_authority_code, c->pic};
    for (char* text : texts) std::free(text);
    EnrollmentStation::capi::freeTexts(c->fingerprints, c->fingerprint_count);
    clearKeepingSize(c);
}

void es_fingerprint_free(es_fingerprint* c) {
    if (c == nullptr) return;
    std::free(c->data);
    std::free(c->pic);
    clearKeepingSize(c);
}

void es_face_free(es_face* c) {
    if (c == nullptr) return;
    std::free(c->template1);
    std::free(c->template2);
    std::free(c->face_data);
    std::free(c->infrared_face_data);
    clearKeepingSize(c);
}

void es_search_record_free(es_search_record* c) {
    if (c == nullptr) return;
    std::free(c->face_data);
    std::free(c->infrared_face_data);
    std::free(c->search_id);
    std::free(c->response_status);
    for (size_t i = 0; c->data_collects != nullptr && i < c->data_collect_count; ++i) {
        EnrollmentStation::capi::freeDataCollect(c->data_collects[i]);
    }
    std::free(c->data_collects);
    clearKeepingSize(c);
}

void es_search_result_free(es_search_result* c) {
    if (c == nullptr) return;
    for (size_t i = 0; c->records != nullptr && i < c->count; ++i) es_search_record_free(&c->records[i]);
    std::free(c->records);
    clearKeepingSize(c);
}

void es_upload_failed_details_free(es_upload_failed_details* c) {
    if (c == nullptr) return;
    std::free(c->description);
    clearKeepingSize(c);
}

void es_station_status_free(es_station_status* c) {
    if (c == nullptr) return;
    std::free(c->request_url);
    std::free(c->status_string);
    std::free(c->sub_status_code);
    std::free(c->error_msg);
    clearKeepingSize(c);
}

}  // extern "C"
