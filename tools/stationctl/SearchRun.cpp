#include "SearchRun.h"

#include <atomic>
#include <mutex>

#include "Interrupt.h"

namespace stationctl {

namespace {

// What the callback shares with the waiting thread. It lives as long as the
// process: the station may deliver its failure document after the search
// call has returned, and that late call must find the state still there.
struct StreamState {
    std::mutex mutex;
    bool open = false;  // callbacks after the search ended are ignored
    EnrollmentStation::CEnrollmentStation* station = nullptr;
    int limit = 0;
    ProgressLine* line = nullptr;
    std::function<void(const EnrollmentStation::SearchCaptureInfomation&)> onRecord;
    StreamOutcome outcome;
    std::atomic<bool> limitReached{false};
};

StreamState& streamState() {
    static StreamState* state = new StreamState();  // deliberately never freed, see above
    return *state;
}

int onDocument(std::string document, void* userData) {
    StreamState& state = *static_cast<StreamState*>(userData);
    std::lock_guard<std::mutex> lock(state.mutex);
    if (!state.open) return 0;
    using EnrollmentStation::SearchDocumentStatus;
    EnrollmentStation::SearchCaptureInfomation record;
    const SearchDocumentStatus status = EnrollmentStation::CEnrollmentStation::readSearchDocument(document, record);
    const bool hasRecord = status == SearchDocumentStatus::More || status == SearchDocumentStatus::Last;
    if (state.limitReached) {
        // The station stops at its next report; what it sends until then is
        // past the limit and dropped.
    } else if (hasRecord) {
        state.outcome.records.push_back(record);
        if (state.onRecord) {
            state.line->clear();
            state.onRecord(record);
        }
        state.line->show(std::to_string(state.outcome.records.size()) + " of " +
                         std::to_string(record.totalMatches) + " records received");
        if (state.limit > 0 && static_cast<int>(state.outcome.records.size()) >= state.limit) {
            state.limitReached = true;
            // Allowed from inside the callback, and certain to reach this search.
            state.station->stopSearchCaptureData(true);
        }
    } else if (status == SearchDocumentStatus::NoMatch) {
        state.outcome.noMatch = true;
    } else if (status == SearchDocumentStatus::Failed) {
        state.outcome.failed = true;
    }
    return 0;
}

}  // namespace

StreamOutcome runStreamingSearch(
    EnrollmentStation::CEnrollmentStation& station, int limit, ProgressLine& line,
    const std::function<void(const EnrollmentStation::SearchCaptureInfomation&)>& onRecord) {
    StreamState& state = streamState();
    {
        std::lock_guard<std::mutex> lock(state.mutex);
        state.open = true;
        state.station = &station;
        state.limit = limit;
        state.line = &line;
        state.onRecord = onRecord;
        state.outcome = StreamOutcome();
        state.limitReached = false;
    }

    // Ctrl-C reaches the search through the session's cancel (withSession).
    const bool returned = station.searchCaptureData(&onDocument, &state);

    std::lock_guard<std::mutex> lock(state.mutex);
    state.open = false;
    line.clear();
    StreamOutcome outcome = state.outcome;
    outcome.returned = returned;
    outcome.interrupted = interrupted();
    outcome.stopped = state.limitReached && !outcome.interrupted;
    outcome.code = lastError();
    if (!returned || !outcome.code.empty()) outcome.failed = true;
    state.onRecord = nullptr;
    state.station = nullptr;
    state.line = nullptr;
    return outcome;
}

}  // namespace stationctl
