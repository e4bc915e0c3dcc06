#include "StationControl.h"

#include "VirtualStation/Control.h"
#include "ZornNetSDK.h"

extern "C" {

void vst_reset(void) {
    vstation::reset();
    vstation::setPacing(false);
}

int vst_open_handles(void) { return vstation::openHandles().total(); }

void vst_fail_next(const char* call, int32_t error) { vstation::failNext(call, error); }

void vst_silent_search_after(int records) {
    vstation::StreamScript script;
    script.ending = vstation::StreamEnding::Silent;
    script.records = records;
    vstation::scriptStream(NET_DVR_SEARCH_CAPTURE_DATA, script);
}

void vst_failed_search_after(int records, int32_t error) {
    vstation::StreamScript script;
    script.ending = vstation::StreamEnding::Failed;
    script.records = records;
    script.error = error;
    vstation::scriptStream(NET_DVR_SEARCH_CAPTURE_DATA, script);
}

void vst_silent_fingerprint(void) {
    vstation::StreamScript script;
    script.ending = vstation::StreamEnding::Silent;
    script.records = 0;
    vstation::scriptStream(NET_DVR_CAPTURE_FINGERPRINT_INFO, script);
}

void vst_fill_store(int count, int picture_bytes, int fingerprints) {
    vstation::clearOfflineRecords();
    vstation::GeneratedRecords plan;
    plan.count = static_cast<size_t>(count);
    plan.facePictureBytes = static_cast<size_t>(picture_bytes);
    plan.infraredPictureBytes = static_cast<size_t>(picture_bytes);
    plan.fingerprints = fingerprints;
    vstation::addGeneratedRecords(plan);
}

void vst_present_card(const char* card_no) { vstation::presentCard(card_no); }

}  // extern "C"
