// The search as stationctl runs it, in both of its forms: the library's
// callback form, each document read with readSearchDocument (so a record is
// exactly what the list form would have returned), a count of records on
// the progress line, and a clean stop on Ctrl-C or after a number of
// records that keeps what arrived.
#ifndef STATIONCTL_SEARCHRUN_H
#define STATIONCTL_SEARCHRUN_H

#include <functional>
#include <string>
#include <vector>

#include "EnrollmentStation/EnrollmentStation.h"
#include "Failure.h"
#include "ProgressLine.h"

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
// is handed to `onRecord`, if any (on the SDK's thread, one at a time), as it
// arrives. `limit` > 0 asks the station to stop after that many records.
// `line` shows "N of M records received" while it runs; it is clear on return.
StreamOutcome runStreamingSearch(
    EnrollmentStation::CEnrollmentStation& station, int limit, ProgressLine& line,
    const std::function<void(const EnrollmentStation::SearchCaptureInfomation&)>& onRecord);

}  // namespace stationctl

#endif  // STATIONCTL_SEARCHRUN_H
