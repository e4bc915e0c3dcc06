// search, offline-rule set FILE, upload-failed, clear.
#include <CLI/CLI.hpp>

#include "Commands.h"
#include "Confirm.h"
#include "Gallery.h"
#include "OfflineRuleFile.h"
#include "Pictures.h"
#include "RecordJson.h"
#include "SearchRun.h"
#include "Terminal.h"

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

int listSearch(Session& session, const SearchOptions& options) {
    std::vector<EnrollmentStation::SearchCaptureInfomation> records;
    if (!session.call().searchCaptureData(records)) {
        // An empty store answers false without a code.
        const ErrorPair code = lastError();
        if (!code.empty()) return session.fail("searching the offline store");
    }
    for (std::size_t i = 0; i < records.size(); ++i) showRecord(session.out(), records[i], i + 1);
    session.out().say(count(records.size()) + " in the offline store");
    return options.html.empty() ? kExitOk : writeGallery(session, options.html, records);
}

int streamSearch(Session& session, const SearchOptions& options) {
    Output& out = session.out();
    std::size_t shown = 0;
    const StreamOutcome outcome =
        runStreamingSearch(session.call(), options.limit, stderrIsTerminal(),
                           [&](const EnrollmentStation::SearchCaptureInfomation& record) {
                               showRecord(out, record, ++shown);
                           });
    int result = kExitOk;
    if (!options.html.empty()) result = writeGallery(session, options.html, outcome.records);
    if (outcome.interrupted) {
        out.say("Interrupted: " + count(outcome.records.size()) + " arrived before the search stopped");
        return kExitInterrupted;
    }
    if (outcome.failed) {
        return out.failure("search", "searching the offline store failed after " + count(outcome.records.size()),
                           outcome.code);
    }
    if (outcome.stopped) {
        out.say("Stopped after " + count(outcome.records.size()));
    } else {
        out.say(count(outcome.records.size()) + " in the offline store");
    }
    return result;
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
