#include "ProgressLine.h"

#include <cstdio>

#include "Output.h"
#include "Terminal.h"

namespace stationctl {

ProgressLine::ProgressLine(const Output& out) : m_enabled(!out.json() && stderrIsTerminal()) {}

// Blanks rather than an erase sequence: every console understands them.
void ProgressLine::show(const std::string& text) {
    if (!m_enabled) return;
    std::lock_guard<std::mutex> lock(m_mutex);
    const std::string padding(m_width > text.size() ? m_width - text.size() : 0, ' ');
    std::fprintf(stderr, "\r%s%s", text.c_str(), padding.c_str());
    std::fflush(stderr);
    m_width = text.size();
}

void ProgressLine::clear() {
    if (!m_enabled) return;
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_width == 0) return;
    std::fprintf(stderr, "\r%s\r", std::string(m_width, ' ').c_str());
    std::fflush(stderr);
    m_width = 0;
}

PercentProgress::PercentProgress(EnrollmentStation::CEnrollmentStation& station, ProgressLine& line,
                                 std::string label)
    : m_station(station), m_line(line), m_label(std::move(label)) {
    m_station.setProgressCallback(&PercentProgress::onReport, this);
}

// The library calls no more once the operation has returned, so turning the
// reports off here leaves no call that could reach a destroyed object.
PercentProgress::~PercentProgress() {
    m_station.setProgressCallback(nullptr, nullptr);
    m_line.clear();
}

void PercentProgress::onReport(const EnrollmentStation::ProgressReport& report, void* self) {
    PercentProgress& progress = *static_cast<PercentProgress*>(self);
    progress.m_percent = report.percent;
    progress.m_line.show(progress.m_label + ": " + std::to_string(report.percent) + "%");
}

}  // namespace stationctl
