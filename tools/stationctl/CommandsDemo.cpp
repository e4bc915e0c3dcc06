// demo: one narrated enrollment session that runs every operation once.
#include <CLI/CLI.hpp>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "Commands.h"
#include "Pictures.h"
#include "RecordJson.h"

namespace stationctl {

namespace {

namespace fs = std::filesystem;

// The rule the demo sets: capture name, numbers, cards, two fingerprints and
// the face, each checked for uniqueness where that makes sense.
EnrollmentStation::offLineRuleInfomation demoRule() {
    EnrollmentStation::offLineRuleInfomation rule;
    rule.reqAdminRights = false;
    rule.enableCardNoLenAuto = true;
    rule.ruleList = {
        {"name", true, false, 32, 1, {}},
        {"employeeNo", true, true, 16, 1, {}},
        {"IDCardNo", true, true, 18, 1, {}},
        {"cardNo", true, true, 20, 2, {}},
        {"fingerprint", true, false, 0, 2, {1, 2}},
        {"face", true, false, 0, 1, {}},
    };
    return rule;
}

// The library's list form: the whole store in one call. The search command
// runs the callback form even for a list (SearchRun.h), so this is where the
// demo shows the list form itself.
int stepListForm(Session& session) {
    std::vector<EnrollmentStation::SearchCaptureInfomation> records;
    if (!session.call().searchCaptureData(records)) return session.fail("searching the offline store");
    for (std::size_t i = 0; i < records.size(); ++i) {
        session.out().result("search", toJson(records[i]), "Record " + std::to_string(i + 1) + ":");
    }
    session.out().say(std::to_string(records.size()) + " records in the offline store, in one list");
    return kExitOk;
}

std::string readAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Uploads a small file of its own and downloads the station's file back.
int fileRoundTrip(Session& session) {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path dir = fs::temp_directory_path() / ("stationctl-demo-" + std::to_string(stamp));
    std::error_code ignored;
    fs::create_directories(dir, ignored);
    const fs::path sent = dir / "upload.txt";
    const fs::path received = dir / "download.bin";
    std::string error;
    int result = kExitOk;
    if (!writeFile(sent.string(), "enrollment station demo file\n", error)) {
        result = session.out().problem("demo", error, kExitLocalFile);
    } else {
        result = stepUpload(session, sent.string());
        const int download = stepDownload(session, received.string());
        if (result == kExitOk) result = download;
        if (download == kExitOk) {
            session.out().say(readAll(sent) == readAll(received)
                                  ? "The downloaded file is the one uploaded."
                                  : "The station's download file differs from the upload (it keeps its own).");
        }
    }
    fs::remove_all(dir, ignored);
    return result;
}

int runDemo(Session& session, const GlobalOptions& options) {
    Output& out = session.out();
    int result = kExitOk;
    // A failing step is reported and the tour goes on: the demo shows as
    // much of the station as works.
    auto step = [&](const std::string& title, const std::function<int()>& body) {
        out.say("\n== " + title);
        const int code = body();
        if (result == kExitOk) result = code;
    };

    out.say("Logged in to " + session.name() + ", session handle " + std::to_string(session.userId()) + ".");
    step("What the station can do", [&] { return stepInfo(session); });
    step("RF card types the reader reads", [&] { return stepRfCardGet(session); });
    step("Turning every RF card type on", [&] { return stepRfCardSet(session, {"on", "on", "on", "on"}); });
    step("Card rule: detect the length, 10 s time-out",
         [&] { return stepCardRule(session, EnrollmentStation::CaptureRuleInfo{true, 0, 10}); });
    step("Reading the presented card", [&] { return stepCard(session); });
    step("Reading the identity card", [&] { return stepIdCard(session); });
    step("Collecting a fingerprint", [&] { return stepFingerprint(session); });
    step("Collecting a face", [&] { return stepFace(session, std::string()); });
    step("Face parameters", [&] { return stepFaceParamGet(session); });
    step("Turning the face switch on with value 80", [&] { return stepFaceParamSet(session, "on", 80); });
    step("Setting the offline capture rule", [&] { return stepOfflineRule(session, demoRule()); });
    step("Searching the offline store as one list", [&] { return stepListForm(session); });
    step("Searching record by record, stopping after two",
         [&] { return stepSearch(session, SearchOptions{true, std::string(), 2}); });
    step("Upload-failed details", [&] { return stepUploadFailed(session); });
    step("File transfer round trip", [&] { return fileRoundTrip(session); });
    if (session.isVirtual()) {
        step("Releasing a handle another client object left open (virtual station only)",
             [&] { return stepReleaseHandle(session, options); });
        step("Clearing the offline store (virtual station only)", [&] { return stepClear(session); });
        step("Searching the cleared store", [&] { return stepSearch(session, SearchOptions{}); });
    } else {
        out.say("\n== Releasing a second session's handle: skipped on a real station (its open logins "
                "cannot be counted).");
        out.say("\n== Clearing the offline store: skipped on a real station (use `stationctl clear`).");
    }
    out.say("\n== Logging out");
    return result;
}

}  // namespace

void addDemoCommand(CLI::App& app, Context& context) {
    addCommand(app, context, "demo",
               "a narrated enrollment session that runs every operation; on the virtual station it "
               "clears the offline store last",
               [](Context& c, Output& out) {
                   out.say(c.options.station.empty() ? "Demo on the built-in virtual station."
                                                     : "Demo on " + c.options.station + ".");
                   const int result = withSession(c, out, "demo", [&c](Session& s) { return runDemo(s, c.options); });
                   out.say(result == kExitOk ? "Logged out. Demo complete." : "Demo finished with failures.");
                   return result;
               });
}

}  // namespace stationctl
