#include "Session.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <exception>
#include <limits>
#include <thread>

#include "Endpoint.h"
#include "Interrupt.h"
#include "Failure.h"
#include "Password.h"
#include "BuiltInStation.h"

namespace stationctl {

namespace {
constexpr const char* kDefaultUser = "admin";

std::string noBuiltInStation() {
    return "the device SDK in use has no built-in virtual station (" + builtInStationAbsence() +
           "); name a station with --station";
}
}  // namespace

int Session::open(const GlobalOptions& options) {
    std::string error;
    EnrollmentStation::LoginParam login;
    if (options.station.empty()) {
        if (!builtInStationPresent()) return m_out.problem(m_command, noBuiltInStation(), kExitUsage);
        // The virtual station's credentials are in its profile: no prompt.
        VirtualAccount account;
        if (!virtualAccount(options.user, account, error)) {
            return m_out.problem(m_command, error, kExitUsage);
        }
        login = {account.address, account.port, account.userName, account.password};
        m_virtual = true;
        m_name = account.address + ":" + account.port + " (virtual station)";
    } else {
        Endpoint endpoint;
        if (!parseEndpoint(options.station, endpoint, error)) {
            return m_out.problem(m_command, error, kExitUsage);
        }
        login.deviceAddress = endpoint.host;
        login.port = endpoint.port;
        login.userName = options.user.empty() ? kDefaultUser : options.user;
        const std::string prompt = "Password for " + login.userName + "@" + options.station + ": ";
        if (!obtainPassword(prompt, options.passwordStdin, login.password, error)) {
            return m_out.problem(m_command, error, kExitUsage);
        }
        m_name = endpoint.host + ":" + endpoint.port;
    }
    if (login.password.empty()) {
        return m_out.problem(m_command, "the password is empty", kExitUsage);
    }

    // The library only keeps the path for the SDK; it goes with the logout.
    if (!options.sdkLogPath.empty()) m_station.setSDKLogPath(options.sdkLogPath);
    if (options.timeout > 0) {
        constexpr int kLongestSeconds = std::numeric_limits<int>::max() / 1000;
        m_station.setStreamTimeout(std::min(options.timeout, kLongestSeconds) * 1000);
    }

    const std::string what = "logging in to " + m_name + " as " + login.userName;
    bool loggedIn = false;
    try {
        clearLastError();
        loggedIn = m_station.initEnrollmentStation(login, m_userId);
    } catch (const std::exception& exception) {
        return m_out.problem(m_command, what + " failed: " + exception.what(), kExitLogin);
    }
    if (!loggedIn) return m_out.failure(m_command, what + " failed", Session::error(), kExitLogin);
    m_open = true;
    return kExitOk;
}

int Session::close() {
    if (!m_open) return kExitOk;
    m_open = false;
    if (!call().uninitEnrollmentStation()) return fail("logging out");
    return kExitOk;
}

Session::~Session() {
    if (m_open) m_station.uninitEnrollmentStation();
}

EnrollmentStation::CEnrollmentStation& Session::call() {
    clearLastError();
    return m_station;
}

int Session::fail(const std::string& what) {
    return m_out.failure(m_command, what + " failed", error(), kExitFailed);
}

ErrorPair Session::error() const {
    ErrorPair code = lastError();
    // The document is kept until the next refusal: only one that matches the
    // code is this failure's.
    EnrollmentStation::StationStatus status;
    if (code.main == 68 && m_station.getLastStationStatus(status) &&
        static_cast<int>(status.errorCode) == code.sub) {
        code.subStatusCode = status.subStatusCode;
        code.errorMsg = status.errorMsg;
    }
    return code;
}

}  // namespace stationctl

#include "Commands.h"

namespace stationctl {

int withSession(Context& context, Output& out, const std::string& command,
                const std::function<int(Session&)>& step) {
    // Loaded once per run: loading replaces the stations, so a second
    // session of the same run must find them as the first one left them.
    std::string error;
    if (!context.options.profile.empty()) {
        // A named station is left to the SDK: the virtual station must not
        // take its address over, or a station process there is never reached.
        if (!context.options.station.empty()) {
            return out.problem(command, "--profile configures the built-in virtual station; it cannot "
                                        "be combined with --station", kExitUsage);
        }
        if (!builtInStationPresent()) return out.problem(command, noBuiltInStation(), kExitUsage);
        if (!loadVirtualProfile(context.options.profile, error)) return out.problem(command, error, kExitUsage);
    }
    Session session(out, command);
    const int opened = session.open(context.options);
    if (opened != kExitOk) return opened;
    int result = kExitOk;
    {
        // Ctrl-C cancels what the session waits for, from a thread of its
        // own rather than the signal handler; an operation started after it
        // is cancelled as well, so the command ends soon.
        InterruptGuard interrupts;
        std::atomic<bool> running{true};
        std::thread watcher([&]() {
            while (running) {
                if (interrupted()) session.cancel();
                std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        });
        result = step(session);
        running = false;
        watcher.join();
        if (interrupted() && result != kExitInterrupted) {
            out.say("Interrupted: " + command + " was cancelled by Ctrl-C");
            result = kExitInterrupted;
        }
    }
    const int closed = session.close();
    return result != kExitOk ? result : closed;
}

}  // namespace stationctl
