// One login to the station named on the command line (or to the built-in
// virtual station), logged out again on every path.
#ifndef STATIONCTL_SESSION_H
#define STATIONCTL_SESSION_H

#include <string>

#include "EnrollmentStation/EnrollmentStation.h"
#include "Options.h"
#include "Output.h"

namespace stationctl {

class Session {
public:
    Session(Output& out, std::string command) : m_out(out), m_command(std::move(command)) {}
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // Works out address and credentials and logs in; the profile, if any,
    // is loaded already (withSession). Returns kExitOk, kExitUsage (bad
    // --station, no password) or kExitLogin, having reported the failure.
    int open(const GlobalOptions& options);

    // Logs out; returns kExitOk or kExitFailed (reported).
    int close();

    // Lets the session go without logging out, for a handle that another
    // object released already: a second logout of it would fail, and on an
    // SDK that hands numbers out again it could close a newer session.
    void abandon() { m_open = false; }

    // The station, with the last error cleared, for exactly one call: a
    // failure that sets no code is then not blamed on an older one.
    EnrollmentStation::CEnrollmentStation& call();
    // Reports the failure of the last call() and returns kExitFailed.
    int fail(const std::string& what);
    // The last error, with the station's words when it refused the request.
    ErrorPair error() const;
    // Ends the operation running on this session; any thread.
    bool cancel() { return m_station.cancelCurrentOperation(); }

    long userId() const { return m_userId; }
    // "127.0.0.1:8000 (virtual station)" or "HOST:PORT".
    const std::string& name() const { return m_name; }
    bool isVirtual() const { return m_virtual; }
    Output& out() { return m_out; }
    const std::string& command() const { return m_command; }

private:
    Output& m_out;
    std::string m_command;
    EnrollmentStation::CEnrollmentStation m_station;
    long m_userId = -1;
    bool m_open = false;
    bool m_virtual = false;
    std::string m_name;
};

}  // namespace stationctl

#endif  // STATIONCTL_SESSION_H
