// Conversions between the C records and the class's records. The to-C
// conversions allocate with malloc and throw std::bad_alloc when that fails;
// the record they filled stays freeable by its es_..._free function.
#ifndef ENROLLMENTSTATION_CINTERFACE_RECORDS_H
#define ENROLLMENTSTATION_CINTERFACE_RECORDS_H

#include <string>

#include "EnrollmentStation/EnrollmentStation.h"
#include "EnrollmentStation/EnrollmentStationC.h"

namespace EnrollmentStation {
namespace capi {

char* copyText(const std::string& text);

LoginParam fromC(const es_login_param& in);
RFCardParam fromC(const es_rf_card_param& in);
CaptureRuleInfo fromC(const es_capture_rule& in);
offLineRuleInfomation fromC(const es_offline_rule& in);
FaceParam fromC(const es_face_param& in);

void toC(const CaptureAbility& in, es_capture_ability& out);
void toC(const RFCardCap& in, es_rf_card_cap& out);
void toC(const RFCardParam& in, es_rf_card_param& out);
void toC(const IdentityInfomation& in, es_identity& out);
void toC(const FingerPrintInfomation& in, es_fingerprint& out);
void toC(const FaceInformation& in, es_face& out);
void toC(const SearchCaptureInfomation& in, es_search_record& out);
// Consumes `in`: each record's texts are released once copied, so the
// search's pictures are not held three times over.
void toC(std::vector<SearchCaptureInfomation>& in, es_search_result& out);
void toC(const UploadFailedDetailsInfomation& in, es_upload_failed_details& out);
void toC(const FaceParam& in, es_face_param& out);
void toC(const StationStatus& in, es_station_status& out);

// Fills a fresh record with `fill` and hands it to `out` only when every
// allocation succeeded; `out` keeps its size field.
template <class CRecord, class Fill>
void deliver(CRecord& out, Fill&& fill, void (*release)(CRecord*)) {
    CRecord fresh{};
    fresh.size = sizeof(CRecord);
    try {
        fill(fresh);
    } catch (...) {
        release(&fresh);
        throw;
    }
    const auto size = out.size;
    out = fresh;
    out.size = size;
}

}  // namespace capi
}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_CINTERFACE_RECORDS_H
