#include "StationTest.h"

#include <algorithm>

#include "KestroBase.h"
#include "KestroBase/LogSink.h"
#include "VirtualStation/StationControl.h"

namespace estest {

namespace {

// The sink outlives every fixture; the lines are shared with the SDK's
// callback threads, which may log while a test reads.
struct Capture {
    std::mutex mutex;
    std::vector<LogLine> lines;
};

Capture& capture() {
    static Capture instance;
    return instance;
}

}  // namespace

EnrollmentStation::LoginParam defaultLogin() {
    EnrollmentStation::LoginParam param;
    param.deviceAddress = DefaultStation::kAddress;
    param.port = DefaultStation::kPort;
    param.userName = DefaultStation::kUser;
    param.password = DefaultStation::kPassword;
    return param;
}

std::string profileWith(const std::string& extraKeys) {
    return std::string(R"({"stations": [{"address": ")") + DefaultStation::kAddress +
           R"(", "port": )" + DefaultStation::kPort + R"(, "accounts": [{"userName": ")" +
           DefaultStation::kUser + R"(", "password": ")" + DefaultStation::kPassword + R"("}], )" +
           extraKeys + "}]}";
}

int callCount(const std::string& call) {
    const std::vector<vstation::CallRecord> log = vstation::callLog();
    return static_cast<int>(std::count_if(log.begin(), log.end(),
                                          [&](const vstation::CallRecord& r) { return r.call == call; }));
}

void StationTest::SetUp() {
    vstation::reset();
    vstation::setPacing(false);
    clearLog();
    kestro_standin::setLogLevel(3);
    kestro_standin::setLogSink([](int level, const std::string& module, const std::string& text) {
        Capture& c = capture();
        std::lock_guard<std::mutex> lock(c.mutex);
        c.lines.push_back(LogLine{level, module, text});
    });
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(0, 0));
}

void StationTest::TearDown() {
    kestro_standin::setLogSink(nullptr);
    kestro_standin::setLogLevel(5);
}

bool StationTest::login(EnrollmentStation::CEnrollmentStation& station, long* id) {
    long userId = -1;
    const bool ok = station.initEnrollmentStation(defaultLogin(), userId);
    if (id != nullptr) {
        *id = userId;
    }
    return ok;
}

std::pair<int, int> StationTest::lastError() const {
    const Kestro::Base::Error::ErrorCode code = Kestro::Base::Error::GetLastError();
    return {code.iMainCode, code.iSubCode};
}

std::vector<LogLine> StationTest::logRecords() const {
    Capture& c = capture();
    std::lock_guard<std::mutex> lock(c.mutex);
    return c.lines;
}

std::vector<std::string> StationTest::logLines(int level) const {
    std::vector<std::string> texts;
    for (const LogLine& line : logRecords()) {
        if (level < 0 || line.level == level) {
            texts.push_back(line.text);
        }
    }
    return texts;
}

bool StationTest::logged(const std::string& substring) const {
    for (const LogLine& line : logRecords()) {
        if (line.text.find(substring) != std::string::npos ||
            line.module.find(substring) != std::string::npos) {
            return true;
        }
    }
    return false;
}

void StationTest::clearLog() {
    Capture& c = capture();
    std::lock_guard<std::mutex> lock(c.mutex);
    c.lines.clear();
}

}  // namespace estest
