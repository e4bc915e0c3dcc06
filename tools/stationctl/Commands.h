// The subcommands. Each family registers its commands and exposes its steps,
// the bodies that run against an open session, so that `demo` runs the very
// same code as the single commands.
#ifndef STATIONCTL_COMMANDS_H
#define STATIONCTL_COMMANDS_H

#include <functional>
#include <string>

#include "EnrollmentStation/EnrollmentStation.h"
#include "Options.h"
#include "Session.h"

namespace stationctl {

// Logs in, runs `step`, logs out. The first failure decides the exit code.
int withSession(Context& context, Output& out, const std::string& command,
                const std::function<int(Session&)>& step);

// ---- device: info, rf-card, face-param -----------------------------------
void addDeviceCommands(CLI::App& app, Context& context);
int stepInfo(Session& session);
int stepRfCardGet(Session& session);
// Each of em, m1, cpu, id is "on", "off" or empty (keep the current value).
struct RfCardChange {
    std::string em, m1, cpu, id;
};
int stepRfCardSet(Session& session, const RfCardChange& change);
int stepFaceParamGet(Session& session);
// enable is "on", "off" or empty; value < 0 keeps the current value.
int stepFaceParamSet(Session& session, const std::string& enable, int value);

// ---- cards: card, card-rule, id-card ---------------------------------------
void addCardCommands(CLI::App& app, Context& context);
int stepCard(Session& session);
int stepCardRule(Session& session, EnrollmentStation::CaptureRuleInfo rule);
int stepIdCard(Session& session);

// ---- biometrics: fingerprint, face ----------------------------------------
void addBiometricCommands(CLI::App& app, Context& context);
int stepFingerprint(Session& session);
// saveDir empty: pictures are not written.
int stepFace(Session& session, const std::string& saveDir);

// ---- offline store: search, offline-rule, upload-failed, clear -------------
void addStoreCommands(CLI::App& app, Context& context);
struct SearchOptions {
    bool stream = false;   // the record-by-record (callback) form
    std::string html;      // gallery file, empty for none
    int limit = 0;         // stream form: stop after this many records (0: all)
};
int stepSearch(Session& session, const SearchOptions& options);
int stepOfflineRule(Session& session, EnrollmentStation::offLineRuleInfomation rule);
int stepUploadFailed(Session& session);
int stepClear(Session& session);

// ---- files: upload, download ------------------------------------------------
void addFileCommands(CLI::App& app, Context& context);
int stepUpload(Session& session, const std::string& path);
int stepDownload(Session& session, const std::string& path);

// ---- session: release-handle --------------------------------------------------
void addSessionCommands(CLI::App& app, Context& context);
// Virtual station only: opens a second session with `options` and releases
// its handle through `session`'s setIsInit, counting the open logins.
int stepReleaseHandle(Session& session, const GlobalOptions& options);

// ---- demo --------------------------------------------------------------------
void addDemoCommand(CLI::App& app, Context& context);

}  // namespace stationctl

#endif  // STATIONCTL_COMMANDS_H
