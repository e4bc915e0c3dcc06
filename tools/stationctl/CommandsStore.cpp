// search, offline-rule set FILE, upload-failed, clear.
#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Confirm.h"
#include "Gallery.h"
#include "OfflineRuleFile.h"
#include "Pictures.h"
#include "RecordJson.h"
#include "SearchRun.h"

namespace stationctl {

namespace {

void showRecord(Output& out, const EnrollmentStation::SearchCaptureInfomation& record, std::size_t number) {
    out.result("search", toJson(record), "Record " + std::to_string(number) + ":");
}

int writeGallery(Session& session, const std::string& path,
                 const std::vector<EnrollmentStation::SearchCaptureInfomation>& records) {
    std::string error;
    if (!writeFile(path, renderGallery(records, session.name()), error)) {
        return session.out().problem("search", error, kExitLocalFile);
    }
    session.out().say("Gallery of " + std::to_string(records.size()) + " records written to " + path);
    return kExitOk;
}

std::string count(std::size_t n) { return std::to_string(n) + (n == 1 ? " record" : " records"); }

// What both forms do once the search has ended: the gallery of what
// arrived (also after Ctrl-C or a failure part-way; a search that failed
// before any record leaves no page), then how it ended.
int finishSearch(Session& session, const SearchOptions& options, const StreamOutcome& outcome) {
    Output& out = session.out();
    const std::size_t received = outcome.records.size();
    int result = kExitOk;
    if (!options.html.empty() && (received > 0 || !outcome.failed || outcome.interrupted)) {
        result = writeGallery(session, options.html, outcome.records);
    }
    if (outcome.interrupted) {
        out.say("Interrupted: " + count(received) + " received before the search stopped");
        return kExitInterrupted;
    }
    if (outcome.failed) {
        return out.failure("search", "searching the offline store failed after " + count(received), outcome.code);
    }
    if (outcome.stopped) {
        out.say("Stopped after " + count(received));
    } else {
        out.say(count(received) + " in the offline store");
    }
    return result;
}

// The list form runs as the callback form too (SearchRun.h): its records are
// the ones the library's list form would return, yet they can be counted as
// they arrive and kept when Ctrl-C ends the search, where the list form
// would leave nothing. They are printed once the search has ended.
int listSearch(Session& session, const SearchOptions& options) {
    ProgressLine line(session.out());
    const StreamOutcome outcome = runStreamingSearch(session.call(), 0, line, nullptr);
    for (std::size_t i = 0; i < outcome.records.size(); ++i) {
        showRecord(session.out(), outcome.records[i], i + 1);
    }
    return finishSearch(session, options, outcome);
}

int streamSearch(Session& session, const SearchOptions& options) {
    Output& out = session.out();
    ProgressLine line(out);
    std::size_t shown = 0;
    const StreamOutcome outcome =
        runStreamingSearch(session.call(), options.limit, line,
                           [&](const EnrollmentStation::SearchCaptureInfomation& record) {
                               showRecord(out, record, ++shown);
                           });
    return finishSearch(session, options, outcome);
}

}  // namespace

int stepSearch(Session& session, const SearchOptions& options) {
    return options.stream ? streamSearch(session, options) : listSearch(session, options);
}

int stepOfflineRule(Session& session, EnrollmentStation::offLineRuleInfomation rule) {
    if (!session.call().setOfflineCaptureRule(rule)) return session.fail("setting the offline capture rule");
    session.out().result("offline-rule", toJson(rule), "Offline capture rule set:");
    return kExitOk;
}

int stepUploadFailed(Session& session) {
    EnrollmentStation::UploadFailedDetailsInfomation details;
    if (!session.call().getUploadFailedDetails(details)) return session.fail("reading the upload-failed details");
    session.out().result("upload-failed", toJson(details), "Upload-failed details:");
    return kExitOk;
}

int stepClear(Session& session) {
    if (!session.call().clearEnrollmentStationData()) return session.fail("clearing the offline store");
    JsonTree result = newObject();
    cJSON_AddBoolToObject(result.get(), "cleared", 1);
    session.out().result("clear", std::move(result));
    return kExitOk;
}

void addStoreCommands(CLI::App& app, Context& context) {
    auto search = std::make_shared<SearchOptions>();
    CLI::App* searchCommand = addCommand(app, context, "search", "list the people in the offline store",
                                         [search](Context& c, Output& out) {
                                             return withSession(c, out, "search", [search](Session& s) {
                                                 return stepSearch(s, *search);
                                             });
                                         });
    searchCommand->add_flag("--stream", search->stream,
                            "receive the records one by one as the station sends them (Ctrl-C stops)");
    searchCommand->add_option("--limit", search->limit, "with --stream: stop after this many records")
        ->check(atLeast(1))
        ->needs("--stream");
    searchCommand->add_option("--html", search->html,
                              "write a self-contained HTML page of the people found")
        ->type_name("FILE");

    CLI::App* offlineRule = app.add_subcommand("offline-rule", "set what the station captures offline");
    offlineRule->require_subcommand(1);
    auto ruleFile = std::make_shared<std::string>();
    CLI::App* set = addCommand(*offlineRule, context, "set", "set the offline capture rule from a JSON file",
                               [ruleFile](Context& c, Output& out) {
                                   EnrollmentStation::offLineRuleInfomation rule;
                                   std::string error;
                                   if (!readOfflineRuleFile(*ruleFile, rule, error)) {
                                       return out.problem("offline-rule", error, kExitUsage);
                                   }
                                   return withSession(c, out, "offline-rule", [rule](Session& s) {
                                       return stepOfflineRule(s, rule);
                                   });
                               });
    set->add_option("FILE", *ruleFile, "rule file (format: see docs/stationctl.md)")->required();
    set->footer(
        "FILE holds {\"reqAdminRights\": bool, \"enableCardNoLenAuto\": bool, \"ruleList\": [{\"dataType\": text, "
        "\"enable\": bool, \"uniqueCheck\": bool, \"len\": n, \"num\": n, \"fingerprintIDs\": [n, ...]}]}; "
        "every key but dataType may be left out.");

    addCommand(app, context, "upload-failed", "show which uploads of captured records failed",
               [](Context& c, Output& out) { return withSession(c, out, "upload-failed", stepUploadFailed); });

    auto yes = std::make_shared<bool>(false);
    CLI::App* clear = addCommand(app, context, "clear", "delete every captured record of the offline store",
                                 [yes](Context& c, Output& out) {
                                     if (!*yes) {
                                         const Answer answer = confirm("Delete every captured record on the station?");
                                         if (answer == Answer::NoTerminal) {
                                             return out.problem("clear", "refusing to clear without a terminal to "
                                                                         "confirm on; pass --yes", kExitDeclined);
                                         }
                                         if (answer == Answer::No) {
                                             return out.problem("clear", "not confirmed; nothing was deleted",
                                                                kExitDeclined);
                                         }
                                     }
                                     return withSession(c, out, "clear", stepClear);
                                 });
    clear->add_flag("--yes,-y", *yes, "do not ask for confirmation");
}

}  // namespace stationctl
