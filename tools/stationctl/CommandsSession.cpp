// release-handle: closing a login handle that another client object of the
// same process left open, through setIsInit of this session's object.
#include <CLI/CLI.hpp>

#include "Commands.h"
#include "BuiltInStation.h"

namespace stationctl {

namespace {

const char* const kCommand = "release-handle";
const char* const kVirtualOnly =
    "release-handle works on the virtual station only: it counts the station's open logins";

std::string handleText(long handle) { return "handle " + std::to_string(handle); }

}  // namespace

int stepReleaseHandle(Session& session, const GlobalOptions& options) {
    Output& out = session.out();
    if (!session.isVirtual()) return out.problem(session.command(), kVirtualOnly, kExitUsage);

    // The other client object: a second login gives a second handle.
    Session other(out, session.command());
    const int opened = other.open(options);
    if (opened != kExitOk) return opened;
    const long mine = session.userId();
    const long theirs = other.userId();
    const int before = virtualOpenLogins();
    out.say("A second client object logged in to the same station: " + handleText(theirs) + " (this session: " +
            handleText(mine) + "). Open logins: " + std::to_string(before) + ".");

    // The flag is this object's own: true keeps this session marked as
    // logged in while the other handle is logged out.
    const bool released = session.call().setIsInit(true, theirs);
    const ErrorPair refused = lastError();
    const int after = virtualOpenLogins();
    if (refused.empty()) {
        other.abandon();
        out.say("setIsInit(true, " + std::to_string(theirs) + ") on this session's object logged " +
                handleText(theirs) + " out. Open logins: " + std::to_string(after) + ".");
        out.say("The second object is let go without logging out: its handle is closed already, so its "
                "logout would fail and leave it marked as logged in, and on an SDK that hands handle "
                "numbers out again it could close a newer session. Its SDK initialisation stays counted "
                "until the process ends, since the library cleans the SDK up only after a logout of its own.");
    }

    // -1 is no handle: the flag is set, nothing is logged out.
    const bool noHandle = session.call().setIsInit(true, -1);
    out.say(std::string("setIsInit(true, -1) answers ") + (noHandle ? "yes" : "no") + ": -1 is no handle.");

    JsonTree result = newObject();
    cJSON_AddNumberToObject(result.get(), "handle", static_cast<double>(mine));
    cJSON_AddNumberToObject(result.get(), "releasedHandle", static_cast<double>(theirs));
    cJSON_AddNumberToObject(result.get(), "openLoginsBefore", before);
    cJSON_AddBoolToObject(result.get(), "released", released && refused.empty() ? 1 : 0);
    cJSON_AddNumberToObject(result.get(), "openLoginsAfter", after);
    cJSON_AddBoolToObject(result.get(), "noHandleAnswer", noHandle ? 1 : 0);

    // setIsInit answers true even when the SDK refused the logout; the
    // last error tells, and the other session then logs out as usual.
    if (!released || !refused.empty()) {
        return out.failure(session.command(), "releasing " + handleText(theirs), refused);
    }
    out.result(kCommand, std::move(result), "Handle release:");
    if (after != before - 1) {
        return out.problem(session.command(),
                           "the station still holds " + std::to_string(after) + " open logins", kExitFailed);
    }
    if (noHandle) return out.problem(session.command(), "setIsInit(true, -1) answered yes", kExitFailed);
    return kExitOk;
}

void addSessionCommands(CLI::App& app, Context& context) {
    // It counts the station's open logins, which only the built-in station tells.
    if (!builtInStationPresent()) return;
    addCommand(app, context, kCommand,
               "open a second session on the virtual station and release its handle through this "
               "session's setIsInit, with the station's open logins before and after",
               [](Context& c, Output& out) {
                   // Refused before any login: a real station cannot be counted.
                   if (!c.options.station.empty()) return out.problem(kCommand, kVirtualOnly, kExitUsage);
                   return withSession(c, out, kCommand,
                                      [&c](Session& s) { return stepReleaseHandle(s, c.options); });
               });
}

}  // namespace stationctl
