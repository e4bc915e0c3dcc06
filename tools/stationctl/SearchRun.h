// The record-by-record search: records as they arrive, a progress line, and
// a clean stop on Ctrl-C or after a number of records.
#ifndef STATIONCTL_SEARCHRUN_H
#define STATIONCTL_SEARCHRUN_H

#include <functional>
#include <string>
#include <vector>

#include "EnrollmentStation/EnrollmentStation.h"
#include "Failure.h"

namespace stationctl {

struct StreamOutcome {
    std::vector<EnrollmentStation::SearchCaptureInfomation> records;
    bool returned = false;     // searchCaptureData returned true
    bool interrupted = false;  // stopped by Ctrl-C
    bool stopped = false;      // stopped after the record limit
    bool noMatch = false;      // the station found nothing
    bool failed = false;       // the station reported failure, or a code was set
    ErrorPair code;
};

// Runs the callback form of the search on `station` (logged in). Each record
// is handed to `onRecord` (on the SDK's thread, one at a time) as it arrives.
// `limit` > 0 asks the station to stop after that many records. With
// `progress`, a live count is kept on stderr.
StreamOutcome runStreamingSearch(
    EnrollmentStation::CEnrollmentStation& station, int limit, bool progress,
    const std::function<void(const EnrollmentStation::SearchCaptureInfomation&)>& onRecord);

}  // namespace stationctl

#endif  // STATIONCTL_SEARCHRUN_H
