// Offline store search: the list form, the callback form and its stop.
#include <atomic>
#include <deque>
#include <utility>

#include "BaseSDK/SearchProc.h"
#include "Common/Protocol/JSONStruct/Messages.h"
#include "EnrollmentOperator.h"
#include "EnrollmentStation/EnrollmentStation.h"
#include "LastError.h"
#include "RecordConversion.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kSearchRequestLine =
    "POST /OPRAL/AccessControl/OfflineCapture/DataCollections/searchTask?format=json\r\n";

protocol::BatchPassThroughReq searchRequest() {
    protocol::BatchPassThroughReq request;
    request.m_nCommand = NET_DVR_SEARCH_CAPTURE_DATA;
    request.m_strCondBuffer = kSearchRequestLine;
    return request;
}

}  // namespace

bool CEnrollmentOperator::searchCaptureData(std::vector<protocol::SearchCaptureData>& records) {
    if (!requireSession(m_lUserID)) return false;
    const std::shared_ptr<CSearchProc> process = CSearchProc::create(static_cast<int32_t>(m_lUserID), searchRequest());
    // Each document is read on the report thread as soon as it is made and
    // then dropped: it is read while still in the cache, no thread is woken
    // for it, and a search never holds all its documents and all its records
    // at once. The records wait in a deque, which never moves them as it
    // grows (a message's move is not noexcept, so a growing vector would
    // copy); the reader is done with it once the job has ended.
    std::deque<protocol::SearchCaptureData> read;
    process->setResultReader([&read](ReturnList& documents) {
        for (protocol::BatchReturnData& document : documents) {
            protocol::SearchCaptureData record;
            if (protocol::TParseJSONStr(record, document.m_strOutBuffer)) read.push_back(std::move(record));
        }
    });
    if (!runStreamJob(process)) return false;
    records.reserve(records.size() + read.size());
    for (protocol::SearchCaptureData& record : read) records.push_back(std::move(record));
    return true;
}

bool CEnrollmentOperator::searchCaptureData(SearchCallback callback, void* userData) {
    if (!requireSession(m_lUserID)) return false;
    const std::shared_ptr<CSearchProc> process =
        CSearchProc::create(static_cast<int32_t>(m_lUserID), searchRequest(), callback, userData);
    // Published atomically, so a stop from any thread sees either the old
    // process or the new one, complete.
    std::atomic_store(&m_searchProc, process);
    return runStreamJob(process);
}

void CEnrollmentOperator::stopSearchCaptureData(const bool&) {
    if (!requireSession(m_lUserID)) return;
    if (const std::shared_ptr<CSearchProc> process = std::atomic_load(&m_searchProc)) {
        process->requestStop();
    }
}

bool CEnrollmentStation::searchCaptureData(std::vector<SearchCaptureInfomation>& results) {
    std::vector<protocol::SearchCaptureData> records;
    if (!m_pOperator->searchCaptureData(records) || records.empty()) return false;
    results.reserve(results.size() + records.size());
    for (protocol::SearchCaptureData& record : records) {
        SearchCaptureInfomation info;
        if (readInto(std::move(record), info)) results.push_back(std::move(info));
    }
    return true;
}

SearchDocumentStatus CEnrollmentStation::readSearchDocument(const std::string& document,
                                                            SearchCaptureInfomation& record) {
    protocol::SearchCaptureData data;
    if (!protocol::TParseJSONStr(data, document)) return SearchDocumentStatus::Unreadable;
    const std::string& status = data.m_stSearchTaskCond.m_strResponseStatusStrg;
    if (status == kSearchNoMatch) return SearchDocumentStatus::NoMatch;
    if (status == kSearchFailed) return SearchDocumentStatus::Failed;
    const bool last = status == kSearchLast;
    if (!last && status != kSearchMore) return SearchDocumentStatus::Unreadable;
    SearchCaptureInfomation read;
    if (!readInto(std::move(data), read)) return SearchDocumentStatus::Unreadable;
    record = std::move(read);
    return last ? SearchDocumentStatus::Last : SearchDocumentStatus::More;
}

bool CEnrollmentStation::searchCaptureData(SearchCallback callback, void* userData) {
    return m_pOperator->searchCaptureData(callback, userData);
}

void CEnrollmentStation::stopSearchCaptureData(const bool& stop) {
    m_pOperator->stopSearchCaptureData(stop);
}

}  // namespace EnrollmentStation
