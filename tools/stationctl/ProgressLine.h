// The one line of stderr that shows how a long wait is going, rewritten in
// place ("\r") and cleared when the wait ends. Shown only where a person
// reads it: stderr is a terminal and the output is not JSON.
//
// Thread safety: every member from any thread; the library reports progress
// on its own threads.
#ifndef STATIONCTL_PROGRESSLINE_H
#define STATIONCTL_PROGRESSLINE_H

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>

#include "EnrollmentStation/EnrollmentStation.h"

namespace stationctl {

class Output;

class ProgressLine {
public:
    explicit ProgressLine(const Output& out);
    ~ProgressLine() { clear(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    bool shown() const { return m_enabled; }
    // Replaces the line with `text`.
    void show(const std::string& text);
    // Removes the line, before other output and at the end.
    void clear();

private:
    bool m_enabled;
    std::mutex m_mutex;
    std::size_t m_width = 0;  // of the text on the line now; 0 when none
};

// The library's progress reports of one operation, shown on `line` as
// "<label>: 42%", the last percent kept for the closing words. Reports are
// turned off again (and the line cleared) when it goes.
class PercentProgress {
public:
    PercentProgress(EnrollmentStation::CEnrollmentStation& station, ProgressLine& line, std::string label);
    ~PercentProgress();
    PercentProgress(const PercentProgress&) = delete;
    PercentProgress& operator=(const PercentProgress&) = delete;

    // The last percent reported; -1 before the first report.
    int lastPercent() const { return m_percent.load(); }

private:
    static void onReport(const EnrollmentStation::ProgressReport& report, void* self);

    EnrollmentStation::CEnrollmentStation& m_station;
    ProgressLine& m_line;
    std::string m_label;
    std::atomic<int> m_percent{-1};
};

}  // namespace stationctl

#endif  // STATIONCTL_PROGRESSLINE_H
