// The es_ functions: each checks its arguments, calls the class and converts
// the records. The class does the work; nothing here talks to the station.
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "CInterface/CallStatus.h"
#include "CInterface/Records.h"
#include "KestroBase.h"

using EnrollmentStation::CEnrollmentStation;
using EnrollmentStation::capi::refused;
using EnrollmentStation::capi::run;
using EnrollmentStation::capi::runUncoded;
using EnrollmentStation::capi::sized;
using EnrollmentStation::capi::toC;
using EnrollmentStation::capi::fromC;

namespace {

// Hands the class's search documents to the C callback. It belongs to the
// station, not to one call, because the failure document may come after
// es_search has returned; the lock keeps the pair consistent while the next
// search replaces it.
class SearchRelay {
public:
    void set(es_search_callback callback, void* userData) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_callback = callback;
        m_userData = userData;
    }

    static int forward(std::string document, void* relay) {
        SearchRelay& self = *static_cast<SearchRelay*>(relay);
        es_search_callback callback = nullptr;
        void* userData = nullptr;
        {
            std::lock_guard<std::mutex> lock(self.m_mutex);
            callback = self.m_callback;
            userData = self.m_userData;
        }
        if (callback != nullptr) callback(document.c_str(), document.size(), userData);
        return 0;
    }

private:
    std::mutex m_mutex;
    es_search_callback m_callback = nullptr;
    void* m_userData = nullptr;
};

// Hands the class's progress reports to the C callback; set on the
// station's one thread, before the operation it reports on.
class ProgressRelay {
public:
    void set(es_progress_callback callback, void* userData) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_callback = callback;
        m_userData = userData;
    }

    static void forward(const EnrollmentStation::ProgressReport& report, void* relay) {
        ProgressRelay& self = *static_cast<ProgressRelay*>(relay);
        std::lock_guard<std::mutex> lock(self.m_mutex);
        if (self.m_callback != nullptr) {
            self.m_callback(static_cast<int>(report.operation), report.percent, self.m_userData);
        }
    }

private:
    std::mutex m_mutex;
    es_progress_callback m_callback = nullptr;
    void* m_userData = nullptr;
};

es_status invalid() { return refused(ES_SUB_INVALID_ARGUMENT); }

}  // namespace

struct es_station {
    CEnrollmentStation station;
    SearchRelay relay;
    ProgressRelay progress;
};

namespace {

// An operation that fills a record: the class's record is converted only when
// the call succeeded, so a failure leaves the caller's record as it was.
template <class CppRecord, class CRecord>
es_status readRecord(es_station* s, CRecord* out, bool (CEnrollmentStation::*method)(CppRecord&)) {
    if (s == nullptr || !sized(out)) return invalid();
    return run([&] {
        CppRecord record;
        const bool ok = (s->station.*method)(record);
        if (ok) toC(record, *out);
        return ok;
    });
}

// An operation that hands a record to the station.
template <class CppRecord, class CRecord>
es_status writeRecord(es_station* s, const CRecord* in, bool (CEnrollmentStation::*method)(CppRecord&)) {
    if (s == nullptr || !sized(in)) return invalid();
    return run([&] {
        CppRecord record = fromC(*in);
        return (s->station.*method)(record);
    });
}

}  // namespace

extern "C" {

es_status es_station_create(es_station** station) {
    if (station == nullptr) return invalid();
    return run([&] {
        *station = new es_station();
        return true;
    });
}

void es_station_destroy(es_station* station) { delete station; }

es_status es_login(es_station* s, const es_login_param* param, int32_t* userId) {
    if (s == nullptr || !sized(param) || userId == nullptr) return invalid();
    return run([&] {
        long id = -1;
        const bool ok = s->station.initEnrollmentStation(fromC(*param), id);
        if (ok) *userId = static_cast<int32_t>(id);
        return ok;
    });
}

es_status es_logout(es_station* s) {
    if (s == nullptr) return invalid();
    return run([&] { return s->station.uninitEnrollmentStation(); });
}

es_status es_is_init(es_station* s, int* init) {
    if (s == nullptr || init == nullptr) return invalid();
    return run([&] {
        *init = s->station.isInit() ? 1 : 0;
        return true;
    });
}

es_status es_set_is_init(es_station* s, int init, int32_t userId) {
    if (s == nullptr) return invalid();
    return run([&] { return s->station.setIsInit(init != 0, userId); });
}

es_status es_set_sdk_log_path(es_station* s, const char* path) {
    if (s == nullptr || path == nullptr) return invalid();
    return run([&] {
        s->station.setSDKLogPath(path);
        return true;
    });
}

es_status es_get_capture_ability(es_station* s, es_capture_ability* ability) {
    return readRecord(s, ability, &CEnrollmentStation::getDevCability);
}

es_status es_get_rf_card_cap(es_station* s, es_rf_card_cap* cap) {
    return readRecord(s, cap, &CEnrollmentStation::getRFCardCacheCap);
}

es_status es_get_rf_card_param(es_station* s, es_rf_card_param* param) {
    return readRecord(s, param, &CEnrollmentStation::getRFCardParam);
}

es_status es_capture_id_card(es_station* s, es_identity* identity) {
    return readRecord(s, identity, &CEnrollmentStation::captureIDCardInfo);
}

es_status es_capture_fingerprint(es_station* s, es_fingerprint* fingerprint) {
    return readRecord(s, fingerprint, &CEnrollmentStation::captureFingerInfo);
}

es_status es_capture_face(es_station* s, es_face* face) {
    return readRecord(s, face, &CEnrollmentStation::captureFaceInfo);
}

es_status es_search_list(es_station* s, es_search_result* result) {
    return readRecord<std::vector<EnrollmentStation::SearchCaptureInfomation>>(
        s, result, &CEnrollmentStation::searchCaptureData);
}

es_status es_get_upload_failed_details(es_station* s, es_upload_failed_details* details) {
    return readRecord(s, details, &CEnrollmentStation::getUploadFailedDetails);
}

es_status es_get_face_param(es_station* s, es_face_param* param) {
    return readRecord(s, param, &CEnrollmentStation::getFaceParam);
}

es_status es_set_rf_card_param(es_station* s, const es_rf_card_param* param) {
    return writeRecord(s, param, &CEnrollmentStation::setRFCardParam);
}

es_status es_set_capture_card_rule(es_station* s, const es_capture_rule* rule) {
    return writeRecord(s, rule, &CEnrollmentStation::setCaptureCardRule);
}

es_status es_set_offline_capture_rule(es_station* s, const es_offline_rule* rule) {
    return writeRecord(s, rule, &CEnrollmentStation::setOfflineCaptureRule);
}

es_status es_set_face_param(es_station* s, const es_face_param* param) {
    return writeRecord(s, param, &CEnrollmentStation::setFaceParam);
}

es_status es_capture_card(es_station* s, char** cardNo) {
    if (s == nullptr || cardNo == nullptr) return invalid();
    return run([&] {
        std::string text;
        const bool ok = s->station.captureCardInfo(text);
        if (ok) *cardNo = EnrollmentStation::capi::copyText(text);
        return ok;
    });
}

es_status es_search(es_station* s, es_search_callback callback, void* userData) {
    if (s == nullptr || callback == nullptr) return invalid();
    return run([&] {
        s->relay.set(callback, userData);
        // The class calls back only with a user pointer; the relay is one.
        return s->station.searchCaptureData(&SearchRelay::forward, &s->relay);
    }, EnrollmentStation::capi::finishedWithCode);
}

using EnrollmentStation::SearchDocumentStatus;
static_assert(static_cast<int>(SearchDocumentStatus::More) == ES_SEARCH_MORE &&
                  static_cast<int>(SearchDocumentStatus::Last) == ES_SEARCH_LAST &&
                  static_cast<int>(SearchDocumentStatus::NoMatch) == ES_SEARCH_NO_MATCH &&
                  static_cast<int>(SearchDocumentStatus::Failed) == ES_SEARCH_FAILED &&
                  static_cast<int>(SearchDocumentStatus::Unreadable) == ES_SEARCH_UNREADABLE,
              "the C values name the same statuses");

es_status es_read_search_document(const char* document, size_t length, int* documentStatus,
                                  es_search_record* record) {
    if (document == nullptr || documentStatus == nullptr || !sized(record)) return invalid();
    return runUncoded([&] {
        EnrollmentStation::SearchCaptureInfomation read;
        const auto status = CEnrollmentStation::readSearchDocument(std::string(document, length), read);
        if (status == SearchDocumentStatus::More || status == SearchDocumentStatus::Last) {
            toC(read, *record);
        }
        *documentStatus = static_cast<int>(status);
        return true;
    });
}

es_status es_stop_search(es_station* s) {
    if (s == nullptr) return invalid();
    return run([&] {
        s->station.stopSearchCaptureData(true);
        return Kestro::Base::Error::GetLastError().iMainCode == 0;  // its one failure: no session
    });
}

es_status es_clear_station_data(es_station* s) {
    if (s == nullptr) return invalid();
    return run([&] { return s->station.clearEnrollmentStationData(); });
}

es_status es_get_device_language(es_station* s, int* language) {
    if (s == nullptr || language == nullptr) return invalid();
    return run([&] {
        int type = 0;
        const bool ok = s->station.getDeviceLanguageType(type);
        if (ok) *language = type;
        return ok;
    });
}

es_status es_upload_file(es_station* s, const char* localPath) {
    if (s == nullptr || localPath == nullptr) return invalid();
    return run([&] { return s->station.uploadFile(localPath); });
}

es_status es_download_file(es_station* s, const char* localPath) {
    if (s == nullptr || localPath == nullptr) return invalid();
    return run([&] { return s->station.downloadFile(localPath); });
}

// Neither records a code, and a cancel comes from another thread: neither
// may clear the code of the call it ends.
es_status es_cancel_current_operation(es_station* s) {
    if (s == nullptr) return invalid();
    return runUncoded([&] { return s->station.cancelCurrentOperation(); });
}

es_status es_set_stream_timeout(es_station* s, int milliseconds) {
    if (s == nullptr) return invalid();
    return runUncoded([&] {
        s->station.setStreamTimeout(milliseconds);
        return true;
    });
}

using EnrollmentStation::ProgressOperation;
static_assert(static_cast<int>(ProgressOperation::FaceCapture) == ES_PROGRESS_FACE_CAPTURE &&
                  static_cast<int>(ProgressOperation::Upload) == ES_PROGRESS_UPLOAD &&
                  static_cast<int>(ProgressOperation::Download) == ES_PROGRESS_DOWNLOAD,
              "the C values name the same operations");

es_status es_set_progress_callback(es_station* s, es_progress_callback callback, void* userData) {
    if (s == nullptr) return invalid();
    return runUncoded([&] {
        s->progress.set(callback, userData);
        if (callback == nullptr) {
            s->station.setProgressCallback(nullptr, nullptr);
        } else {
            s->station.setProgressCallback(&ProgressRelay::forward, &s->progress);
        }
        return true;
    });
}

es_status es_get_last_station_status(es_station* s, es_station_status* status) {
    if (s == nullptr || !sized(status)) return invalid();
    return runUncoded([&] {
        EnrollmentStation::StationStatus read;
        const bool ok = s->station.getLastStationStatus(read);
        if (ok) toC(read, *status);
        return ok;
    });
}

}  // extern "C"
