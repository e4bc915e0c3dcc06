// A station on the link that stops answering: a peer that takes the
// connection and never replies, one that takes no request in, and a station
// process frozen mid-session.
// Every call waits at most the reply time-out, the link is then given up,
// and a cancel through the library ends a transfer without waiting for the
// station. A session with no call in flight finds a frozen station out by
// its heartbeat within the same time-out, and keeps a healthy one however
// long it idles. The time-out is shortened to kReplyMs for the whole process.
// Also the other way a session ends under a waiting thread: a logout from
// inside one of its own reports.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <future>
#include <iterator>
#include <sstream>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#include <sys/types.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "EnrollmentStation/EnrollmentStation.h"
#include "KestroBase.h"
#include "Link/Socket.h"
#include "Link/Timeouts.h"
#include "ToolRun.h"
#include "ZornNetSDK.h"

namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kReplyMs = 300;
// Scheduling slack on a loaded machine, on top of the time-out.
constexpr milliseconds kMargin{1500};

void setVariable(const char* name, const std::string& value) {
#ifdef _WIN32
    _putenv_s(name, value.c_str());
#else
    setenv(name, value.c_str(), 1);
#endif
}

// Read by the SDK at its first wait on the link, so set before any login.
void shortenReplyTimeout() {
    setVariable("VSTATION_REPLY_TIMEOUT_MS", std::to_string(kReplyMs));
    setVariable("KESTRO_LOG", "off");
}

milliseconds since(Clock::time_point start) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - start);
}

std::pair<std::string, uint16_t> hostAndPort(const std::string& address) {
    const size_t colon = address.rfind(':');
    return {address.substr(0, colon), static_cast<uint16_t>(std::stoi(address.substr(colon + 1)))};
}

int32_t sdkLogin(const std::string& address) {
    const auto [host, port] = hostAndPort(address);
    NET_DVR_USER_LOGIN_INFO info{};
    std::strncpy(info.sDeviceAddress, host.c_str(), sizeof info.sDeviceAddress - 1);
    info.wPort = port;
    std::strcpy(info.sUserName, "admin");
    std::strcpy(info.sPassword, "Station#2026");
    info.byLoginMode = 2;
    NET_DVR_DEVICEINFO_V40 device{};
    return NET_DVR_Login_V40(&info, &device);
}

// A station process and one session to it; id is -1 when either failed.
struct Session {
    StationProcess station;
    int32_t id = -1;
    Session() {
        if (!station.address().empty() && NET_DVR_Init()) id = sdkLogin(station.address());
    }
};

// Opens a search of the offline store whose reports go to `callback`.
int32_t openSearch(int32_t id, fRemoteConfigCallback callback, void* user) {
    char line[] = "POST /OPRAL/AccessControl/OfflineCapture/DataCollections/searchTask?format=json\r\n";
    return NET_DVR_StartRemoteConfig(id, NET_DVR_SEARCH_CAPTURE_DATA, line, sizeof line, callback, user);
}

// Asks an open search for the one record at `position`.
bool askPage(int32_t search, int position) {
    const std::string page = R"({"SearchTaskCond": {"searchID": "S1", "searchResultPosition": )" +
                             std::to_string(position) + R"(, "maxResults": 1}})";
    std::vector<char> bytes(page.begin(), page.end());
    return NET_DVR_SendRemoteConfig(search, NET_DVR_SEND_JSON_DATA, bytes.data(), static_cast<uint32_t>(bytes.size()));
}

// Takes one connection and reads whatever comes, never writing a byte.
class SilentPeer {
public:
    SilentPeer() {
        std::string why;
        m_listener = vstation::link::listenOn("127.0.0.1", 0, &why);
        m_thread = std::thread([this] {
            vstation::link::Socket peer = vstation::link::acceptFrom(m_listener);
            char byte;
            while (peer.valid() && !m_listener.isShut() && peer.receiveAll(&byte, 1)) {
            }
        });
    }
    ~SilentPeer() {
        m_listener.shutdown();
        m_thread.join();
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(vstation::link::localPort(m_listener)); }

private:
    vstation::link::Socket m_listener;
    std::thread m_thread;
};

// Takes one connection and answers its login, then takes nothing more in
// while it keeps sending pings: a station whose reader is stuck while its
// link looks alive, so only the limit on each send can end a request.
class DeafPeer {
public:
    DeafPeer() {
        std::string why;
        m_listener = vstation::link::listenOn("127.0.0.1", 0, &why);
        m_thread = std::thread([this] {
            using vstation::link::Frame;
            using vstation::link::FrameKind;
            vstation::link::Socket peer = vstation::link::acceptFrom(m_listener);
            Frame login;
            std::string why;
            if (!peer.valid() || !vstation::link::readFrame(peer, &login, &why)) return;
            Frame reply;
            reply.kind = FrameKind::Reply;
            const NET_DVR_DEVICEINFO_V40 device{};
            reply.number(0).number(NET_DVR_ERR_NONE).bytes(&device, sizeof device);
            Frame ping;
            ping.kind = FrameKind::Ping;
            if (!vstation::link::writeFrame(peer, reply)) return;
            while (!m_listener.isShut() && vstation::link::writeFrame(peer, ping))
                std::this_thread::sleep_for(milliseconds(kReplyMs / 4));
        });
    }
    ~DeafPeer() {
        m_listener.shutdown();
        m_thread.join();
    }
    std::string address() const { return "127.0.0.1:" + std::to_string(vstation::link::localPort(m_listener)); }

private:
    vstation::link::Socket m_listener;
    std::thread m_thread;
};

#ifndef _WIN32
// Stops a process as a debugger or a hung machine would, and lets it go on
// however the test ends (a stopped process would not act on its stop).
class Frozen {
public:
    // Returns once the process has stopped: the signal alone may still be
    // on its way while the station answers one more call. (The station is a
    // child of this process, so its stop is reported here.)
    explicit Frozen(long long pid) : m_pid(static_cast<pid_t>(pid)) {
        int status = 0;
        if (kill(m_pid, SIGSTOP) == 0) waitpid(m_pid, &status, WUNTRACED);
    }
    ~Frozen() { thaw(); }
    void thaw() {
        if (m_pid > 0) kill(m_pid, SIGCONT);
        m_pid = -1;
    }

private:
    pid_t m_pid;
};

// After a frozen station's link was given up: a later call fails at once
// with the connection error, the session's handles are still released, and
// the station, woken, has lost only that client.
void expectGivenUpThenServedAgain(Session& session, int32_t search, Frozen& frozen) {
    NET_DVR_FACE_PARAM_CFG record{};
    record.dwSize = sizeof record;
    uint32_t returned = 0;
    const auto call = Clock::now();
    EXPECT_FALSE(NET_DVR_GetDVRConfig(session.id, 2505, 1, &record, sizeof record, &returned));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_CONNECT);
    EXPECT_LT(since(call), milliseconds(kReplyMs / 2));
    EXPECT_TRUE(NET_DVR_StopRemoteConfig(search));
    EXPECT_TRUE(NET_DVR_Logout_V30(session.id));

    frozen.thaw();
    const int32_t again = sdkLogin(session.station.address());
    EXPECT_GE(again, 0) << NET_DVR_GetLastError();
    EXPECT_TRUE(NET_DVR_GetDVRConfig(again, 2505, 1, &record, sizeof record, &returned)) << NET_DVR_GetLastError();
    EXPECT_TRUE(NET_DVR_Logout_V30(again));
}

// Set by the first progress report of a transfer.
struct Started {
    std::promise<void> promise;
    std::atomic<bool> told{false};
    static void report(const EnrollmentStation::ProgressReport&, void* user) {
        auto* started = static_cast<Started*>(user);
        if (!started->told.exchange(true)) started->promise.set_value();
    }
};
#endif

// The last status report of a long connection.
struct StatusSeen {
    std::atomic<uint32_t> status{0};
    std::atomic<uint32_t> error{0};
};

void ZORN_CALL onReport(uint32_t type, void* buffer, uint32_t length, void* user) {
    auto* seen = static_cast<StatusSeen*>(user);
    if (type != NET_SDK_CALLBACK_TYPE_STATUS || !buffer || length < 8) return;
    uint32_t words[2];
    std::memcpy(words, buffer, sizeof words);
    seen->error = words[1];
    seen->status = words[0];
}

// Logs its session out from inside the first data report.
struct LogoutFromReport {
    int32_t userId = -1;
    std::atomic<int> reports{0};
    std::atomic<int> logoutResult{-1};
    std::promise<void> loggedOut;
};

void ZORN_CALL logoutOnFirstData(uint32_t type, void*, uint32_t, void* user) {
    auto* state = static_cast<LogoutFromReport*>(user);
    if (type != NET_SDK_CALLBACK_TYPE_DATA || state->reports++ != 0) return;
    state->logoutResult = NET_DVR_Logout_V30(state->userId);
    state->loggedOut.set_value();
}

}  // namespace

TEST(UnansweredCall, APeerThatNeverAnswersFailsTheLoginWithinTheTimeout) {
    shortenReplyTimeout();
    SilentPeer peer;
    ASSERT_TRUE(NET_DVR_Init());
    const auto start = Clock::now();
    EXPECT_EQ(sdkLogin(peer.address()), -1);
    const milliseconds took = since(start);
    RecordProperty("loginMs", static_cast<int>(took.count()));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_TIMEOUT);
    EXPECT_GE(took, milliseconds(kReplyMs - 50));
    EXPECT_LT(took, milliseconds(kReplyMs) + kMargin);
    NET_DVR_Cleanup();
}

TEST(UnansweredCall, ARequestTheStationTakesNothingOfFailsWithinTheTimeout) {
    shortenReplyTimeout();
    DeafPeer peer;
    ASSERT_TRUE(NET_DVR_Init());
    const int32_t id = sdkLogin(peer.address());
    ASSERT_GE(id, 0) << NET_DVR_GetLastError();
    // A file larger than the connection holds.
    ScratchDir dir;
    std::string file = dir.file("large.bin", std::string(16u << 20, 'x'));
    const auto start = Clock::now();
    EXPECT_EQ(NET_DVR_UploadFile_V40(id, NET_DVR_UPLOAD_FILE_TYPE, nullptr, 0, &file[0], nullptr, 0), -1);
    RecordProperty("sendMs", static_cast<int>(since(start).count()));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_TIMEOUT);
    // Each wait for room is limited, not the whole send: the peer's buffers
    // still take bytes for a few rounds before none move.
    EXPECT_LT(since(start), milliseconds(10 * kReplyMs) + kMargin);
    EXPECT_TRUE(NET_DVR_Logout_V30(id));
    NET_DVR_Cleanup();
}

TEST(UnansweredCall, AFrozenStationFailsTheCallInFlightAndGivesUpTheLink) {
#ifdef _WIN32
    GTEST_SKIP() << "a process cannot be stopped and continued with a signal on Windows";
#else
    shortenReplyTimeout();
    Session session;
    auto& station = session.station;
    const int32_t id = session.id;
    ASSERT_GE(id, 0) << NET_DVR_GetLastError();
    StatusSeen seen;
    const int32_t search = openSearch(id, onReport, &seen);
    ASSERT_GE(search, 0) << NET_DVR_GetLastError();
    Frozen frozen(station.pid());
    char page[] = "{}";
    const auto start = Clock::now();
    EXPECT_FALSE(NET_DVR_SendRemoteConfig(search, NET_DVR_SEND_JSON_DATA, page, sizeof page - 1));
    const milliseconds took = since(start);
    RecordProperty("callMs", static_cast<int>(took.count()));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_TIMEOUT);
    EXPECT_GE(took, milliseconds(kReplyMs - 50));
    EXPECT_LT(took, milliseconds(kReplyMs) + kMargin);

    // The open search ends as a device failure does, with the time-out.
    const auto deadline = Clock::now() + kMargin;
    while (seen.status == 0 && Clock::now() < deadline) std::this_thread::sleep_for(milliseconds(5));
    EXPECT_EQ(seen.status.load(), NET_SDK_CALLBACK_STATUS_FAILED);
    EXPECT_EQ(seen.error.load(), static_cast<uint32_t>(NET_DVR_ERR_TIMEOUT));

    expectGivenUpThenServedAgain(session, search, frozen);
    NET_DVR_Cleanup();
    EXPECT_EQ(station.stop().exitCode, 0);
#endif
}

TEST(UnansweredCall, ACancelEndsADownloadFromAFrozenStationPromptly) {
#ifdef _WIN32
    GTEST_SKIP() << "a process cannot be stopped and continued with a signal on Windows";
#else
    shortenReplyTimeout();
    // The station starts with a 16 MiB file kept from an earlier run rather
    // than one uploaded here: the upload's reply has only kReplyMs to come,
    // too little for a sanitizer build on a loaded machine.
    ScratchDir dir;
    dir.file("file", std::string(16u << 20, 'x'));
    StationProcess station({"--data", dir.path()}, {{"VSTATION_PACING", "1"}});  // a 16 MiB transfer takes some 250 ms
    ASSERT_FALSE(station.address().empty());
    const auto [host, port] = hostAndPort(station.address());

    EnrollmentStation::CEnrollmentStation client;
    long id = -1;
    ASSERT_TRUE(client.initEnrollmentStation({host, std::to_string(port), "admin", "Station#2026"}, id));

    Started started;
    client.setProgressCallback(Started::report, &started);
    auto download = std::async(std::launch::async, [&] { return client.downloadFile(dir.path() + "/fetched.bin"); });
    ASSERT_EQ(started.promise.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);

    Frozen frozen(station.pid());
    const auto start = Clock::now();
    EXPECT_TRUE(client.cancelCurrentOperation());
    ASSERT_EQ(download.wait_for(milliseconds(kReplyMs) + kMargin), std::future_status::ready);
    EXPECT_FALSE(download.get());
    const Kestro::Base::Error::ErrorCode code = Kestro::Base::Error::GetLastError();
    EXPECT_EQ(std::make_pair(code.iMainCode, code.iSubCode), std::make_pair(69, 8207));
    RecordProperty("cancelMs", static_cast<int>(since(start).count()));
    EXPECT_LT(since(start), milliseconds(kReplyMs) + kMargin);

    frozen.thaw();
    EXPECT_TRUE(client.uninitEnrollmentStation());
    EXPECT_EQ(station.stop().exitCode, 0);
#endif
}

// A search open and waiting for its next report, no call in flight: the
// station freezes. Only the heartbeat can find that out.
TEST(QuietLink, AStationFrozenUnderAWaitingSearchEndsItWithinTheTimeout) {
#ifdef _WIN32
    GTEST_SKIP() << "a process cannot be stopped and continued with a signal on Windows";
#else
    shortenReplyTimeout();
    Session session;
    auto& station = session.station;
    const int32_t id = session.id;
    ASSERT_GE(id, 0) << NET_DVR_GetLastError();
    StatusSeen seen;
    const int32_t search = openSearch(id, onReport, &seen);
    ASSERT_GE(search, 0) << NET_DVR_GetLastError();

    Frozen frozen(station.pid());
    const auto start = Clock::now();
    while (seen.status == 0 && since(start) < milliseconds(kReplyMs) + kMargin) std::this_thread::sleep_for(milliseconds(5));
    const milliseconds took = since(start);
    RecordProperty("noticedMs", static_cast<int>(took.count()));
    EXPECT_EQ(seen.status.load(), NET_SDK_CALLBACK_STATUS_FAILED);
    EXPECT_EQ(seen.error.load(), static_cast<uint32_t>(NET_DVR_ERR_TIMEOUT));
    // The last answer came at most a ping interval (a third) before the
    // freeze; the link waits the whole time-out from there.
    EXPECT_GE(took, milliseconds(kReplyMs / 2));
    EXPECT_LT(took, milliseconds(kReplyMs) + kMargin);

    expectGivenUpThenServedAgain(session, search, frozen);
    NET_DVR_Cleanup();
    EXPECT_EQ(station.stop().exitCode, 0);
#endif
}

// No false alarm: a session that asks nothing for many heartbeat intervals
// keeps its link and its open search.
TEST(QuietLink, AnIdleSessionToAHealthyStationStaysUp) {
    shortenReplyTimeout();
    Session session;
    auto& station = session.station;
    const int32_t id = session.id;
    ASSERT_GE(id, 0) << NET_DVR_GetLastError();
    StatusSeen seen;
    const int32_t search = openSearch(id, onReport, &seen);
    ASSERT_GE(search, 0) << NET_DVR_GetLastError();

    std::this_thread::sleep_for(milliseconds(8 * kReplyMs));  // some 24 pings
    EXPECT_EQ(seen.status.load(), 0u) << "error " << seen.error.load();
    EXPECT_TRUE(askPage(search, 0)) << NET_DVR_GetLastError();
    EXPECT_TRUE(NET_DVR_StopRemoteConfig(search));
    EXPECT_TRUE(NET_DVR_Logout_V30(id));
    NET_DVR_Cleanup();
    EXPECT_EQ(station.stop().exitCode, 0);
}

#ifdef __linux__
namespace {

// CPU time of this process and of the station's, in ms, and the bytes the
// station has taken in on its connections (`ss` of iproute2; -1 without it).
struct Usage {
    double selfMs = 0;
    double stationMs = 0;
    long long stationReceived = -1;
};

Usage usageNow(const StationProcess& station) {
    Usage usage;
    rusage self{};
    getrusage(RUSAGE_SELF, &self);
    usage.selfMs = (self.ru_utime.tv_sec + self.ru_stime.tv_sec) * 1e3 + (self.ru_utime.tv_usec + self.ru_stime.tv_usec) / 1e3;
    std::ifstream stat("/proc/" + std::to_string(station.pid()) + "/stat");
    std::string text((std::istreambuf_iterator<char>(stat)), std::istreambuf_iterator<char>());
    std::istringstream fields(text.substr(text.rfind(')') + 2));
    std::string field;
    double ticks = 0;
    for (int i = 3; i <= 15 && fields >> field; ++i)
        if (i >= 14) ticks += std::stod(field);  // utime, stime
    usage.stationMs = ticks * 1e3 / static_cast<double>(sysconf(_SC_CLK_TCK));
    const std::string command = "ss -tinH state established '( sport = :" +
                                std::to_string(hostAndPort(station.address()).second) + " )' 2>/dev/null";
    if (FILE* ss = popen(command.c_str(), "r")) {
        std::string out;
        char buffer[4096];
        for (size_t n; (n = fread(buffer, 1, sizeof buffer, ss)) > 0;) out.append(buffer, n);
        pclose(ss);
        for (size_t at = out.find("bytes_received:"); at != std::string::npos; at = out.find("bytes_received:", at + 1))
            usage.stationReceived = std::max(usage.stationReceived, 0LL) + std::atoll(out.c_str() + at + 15);
    }
    return usage;
}

}  // namespace

// The figures of docs/virtual-station.md: a session left idle for
// ES_IDLE_SECONDS (default 30) at the time-out this process was started
// with. Disabled: it takes its time.
// A report callback that keeps the report thread longer than the time-out
// (an application writing each record away) holds up the pings, not the
// station: the station's answers must get their time from the ping that was
// sent late, not from the last frame before the callback.
struct SlowFirstData {
    std::atomic<int> data{0};
    std::atomic<uint32_t> status{0};
};
void ZORN_CALL onReportSlowly(uint32_t type, void* buffer, uint32_t length, void* user) {
    auto* seen = static_cast<SlowFirstData*>(user);
    if (type == NET_SDK_CALLBACK_TYPE_DATA) {
        if (seen->data++ == 0) std::this_thread::sleep_for(milliseconds(3 * kReplyMs));
    } else if (type == NET_SDK_CALLBACK_TYPE_STATUS && buffer && length >= 4) {
        uint32_t status = 0;
        std::memcpy(&status, buffer, sizeof status);
        seen->status = status;
    }
}

TEST(QuietLink, AReportCallbackLongerThanTheTimeoutDoesNotLoseTheLink) {
    shortenReplyTimeout();
    Session session;
    auto& station = session.station;
    const int32_t id = session.id;
    ASSERT_GE(id, 0) << NET_DVR_GetLastError();
    SlowFirstData seen;
    const int32_t search = openSearch(id, onReportSlowly, &seen);
    ASSERT_GE(search, 0) << NET_DVR_GetLastError();
    ASSERT_TRUE(askPage(search, 0)) << NET_DVR_GetLastError();
    const auto start = Clock::now();
    while (seen.data == 0 && since(start) < kMargin) std::this_thread::sleep_for(milliseconds(5));
    ASSERT_EQ(seen.data.load(), 1);
    // The callback sleeps three time-outs; then one more for the late ping's answer.
    std::this_thread::sleep_for(milliseconds(5 * kReplyMs));
    EXPECT_EQ(seen.status.load(), 0u);
    EXPECT_TRUE(askPage(search, 1)) << NET_DVR_GetLastError();
    EXPECT_TRUE(NET_DVR_StopRemoteConfig(search));
    EXPECT_TRUE(NET_DVR_Logout_V30(id));
    NET_DVR_Cleanup();
    EXPECT_EQ(station.stop().exitCode, 0);
}

TEST(QuietLink, DISABLED_AnIdleSessionCostsNextToNothing) {
    const char* set = std::getenv("ES_IDLE_SECONDS");
    const int seconds = set && std::atoi(set) > 0 ? std::atoi(set) : 30;
    Session session;
    auto& station = session.station;
    const int32_t id = session.id;
    ASSERT_GE(id, 0) << NET_DVR_GetLastError();
    const Usage before = usageNow(station);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    const Usage after = usageNow(station);
    const double clientMs = after.selfMs - before.selfMs;
    const double stationMs = after.stationMs - before.stationMs;
    RecordProperty("timeoutMs", static_cast<int>(vstation::link::linkTimeout().count()));
    RecordProperty("clientCpuUs", static_cast<int>(clientMs * 1000));
    RecordProperty("stationCpuUs", static_cast<int>(stationMs * 1000));
    if (before.stationReceived >= 0 && after.stationReceived >= 0) {
        // A ping goes a third of the time-out after the last answer; a ping
        // frame is 5 bytes.
        const long long pings = (after.stationReceived - before.stationReceived) / 5;
        const long long interval = vstation::link::heartbeatInterval().count();
        RecordProperty("pings", static_cast<int>(pings));
        EXPECT_GE(pings, seconds * 1000 / interval / 2);
        EXPECT_LE(pings, seconds * 1000 / interval + 1);
    }
    EXPECT_LT(clientMs, seconds * 10.0);  // under 1 % of a core
    EXPECT_LT(stationMs, seconds * 10.0);
    EXPECT_TRUE(NET_DVR_Logout_V30(id));
    NET_DVR_Cleanup();
    EXPECT_EQ(station.stop().exitCode, 0);
}
#endif

// The link ends after the callback returns, not under it (the sanitizer
// builds see any touch of a link already freed).
TEST(SessionEnd, ALogoutFromInsideAReportEndsTheSessionAndTheLinkAfterIt) {
    Session session;
    LogoutFromReport state;
    state.userId = session.id;
    ASSERT_GE(state.userId, 0) << NET_DVR_GetLastError();
    StatusSeen other;  // another search of the session, waiting
    ASSERT_GE(openSearch(state.userId, onReport, &other), 0) << NET_DVR_GetLastError();
    const int32_t search = openSearch(state.userId, logoutOnFirstData, &state);
    ASSERT_GE(search, 0) << NET_DVR_GetLastError();
    ASSERT_TRUE(askPage(search, 0));
    ASSERT_EQ(state.loggedOut.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(state.logoutResult.load(), 1);
    // The other search is closed as by a stop: no report after the logout.
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(other.status.load(), 0u) << "error " << other.error.load();

    // The session and its handles are gone; the station serves the next one.
    EXPECT_FALSE(askPage(search, 0));
    EXPECT_FALSE(NET_DVR_Logout_V30(state.userId));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_USER_ID);
    const int32_t next = sdkLogin(session.station.address());
    ASSERT_GE(next, 0) << NET_DVR_GetLastError();
    EXPECT_TRUE(NET_DVR_Logout_V30(next));
    NET_DVR_Cleanup();
}

// A logout closes the session's long connections as a stop does: their
// callbacks hear nothing more, not a failure of a link that was not lost.
TEST(SessionEnd, ALogoutClosesTheSessionsSearchesWithoutAReport) {
    Session session;
    ASSERT_GE(session.id, 0) << NET_DVR_GetLastError();
    StatusSeen first, second;
    ASSERT_GE(openSearch(session.id, onReport, &first), 0) << NET_DVR_GetLastError();
    ASSERT_GE(openSearch(session.id, onReport, &second), 0) << NET_DVR_GetLastError();
    EXPECT_TRUE(NET_DVR_Logout_V30(session.id));
    std::this_thread::sleep_for(milliseconds(200));
    EXPECT_EQ(first.status.load(), 0u) << "error " << first.error.load();
    EXPECT_EQ(second.status.load(), 0u) << "error " << second.error.load();
    NET_DVR_Cleanup();
}
