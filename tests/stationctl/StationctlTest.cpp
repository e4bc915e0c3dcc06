// stationctl as a user meets it: exit codes, words for failures, JSON
// documents, the gallery page, confirmation and Ctrl-C. Scenarios come from
// profile files for the built-in station inside the stationctl process; a
// named station is a station process of the test's own.
#include <gtest/gtest.h>

#include <cjson/cJSON.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <thread>

#include "OwnedJsonTree.h"
#include "ToolRun.h"

namespace {

const char* kPng1x1 =
    "iVBORw0KGgoAAAANSUhEUgAAAAEAAAABCAYAAAAfFcSJAAAADUlEQVR42mNk+M9QDwADhgGAWjR9awAAAABJRU5ErkJggg==";

// One station at the default address with a second account, nothing at the
// readers, and the offline records given.
std::string profile(const std::string& offlineRecords) {
    return std::string(R"({"stations":[{"address":"127.0.0.1","port":8000,
        "accounts":[{"userName":"admin","password":"Station#2026"},{"userName":"clerk","password":"Clerk#2026"}],
        "cards":[],"identityCard":null,"offlineRecords":)") +
           offlineRecords + "}]}";
}

std::string twoRecords() {
    return std::string(R"([{"captureNo":7,"lastCaptureNo":6,"name":"Ana <b>Lima</b> & co","employeeNo":"E7",
        "IDCardNo":"ID-7","cardNoList":["C1","C2"],"riskDataMark":true,
        "fingerprints":[{"fingerprintID":1,"fingerprint":"AQID"},{"fingerprintID":2,"fingerprint":"AQID"}],
        "facePicture":")") +
           kPng1x1 + R"(","infraredPicture":")" + kPng1x1 + R"("},
        {"captureNo":8,"lastCaptureNo":7,"name":"No Picture","employeeNo":"E8",
         "facePicture":"","infraredPicture":""}])";
}

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + what.size())) ++n;
    return n;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

using support::JsonTree;

// Every stdout line must be one JSON document.
std::vector<JsonTree> documents(const std::string& out) {
    std::vector<JsonTree> docs;
    std::istringstream lines(out);
    std::string line;
    while (std::getline(lines, line)) {
        JsonTree doc(cJSON_Parse(line.c_str()));
        EXPECT_TRUE(doc) << "not a JSON document: " << line.substr(0, 200);
        if (doc) docs.push_back(std::move(doc));
    }
    return docs;
}

const cJSON* at(const cJSON* node, std::initializer_list<const char*> path) {
    for (const char* key : path) node = cJSON_GetObjectItemCaseSensitive(node, key);
    return node;
}

std::string textAt(const cJSON* node, std::initializer_list<const char*> path) {
    const cJSON* item = at(node, path);
    return cJSON_IsString(item) ? item->valuestring : "<missing>";
}

// Enough records that a paced search (20 ms a page) is still running when
// a signal comes.
std::string manyRecords() {
    std::string records = "[";
    for (int i = 1; i <= 400; ++i) {
        records += (i > 1 ? "," : "") + std::string("{\"captureNo\":") + std::to_string(i) +
                   ",\"name\":\"P" + std::to_string(i) + "\"}";
    }
    return records + "]";
}

// The progress line is shown only on a terminal; these tests give the tool a
// pseudo-terminal, which Windows has not.
#ifdef _WIN32
#define SKIP_WITHOUT_PSEUDO_TERMINAL() GTEST_SKIP() << "needs a pseudo-terminal"
#else
#define SKIP_WITHOUT_PSEUDO_TERMINAL() (void)0
#endif

// Waits up to 20 s until the tool's terminal shows `text`.
bool terminalShows(ToolProcess& tool, const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (tool.terminalSoFar().find(text) == std::string::npos) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return true;
}

ToolResult runOnTerminal(const std::vector<std::string>& args, std::map<std::string, std::string> env = {}) {
    return ToolProcess(args, std::move(env), {}, STATIONCTL_PATH, true).wait();
}

}  // namespace

TEST(Stationctl, UsageErrorsExitWithTwo) {
    ScratchDir dir;
    const std::string typo = dir.file("typo.json", R"({"ruleList":[{"dataType":"name","enabled":true}]})");
    const std::vector<std::vector<std::string>> usages = {
        {},
        {"card", "--no-such-option"},
        {"--station", "127.0.0.1:70000", "card"},
        {"face-param", "set", "--value", "300"},
        {"offline-rule", "set", dir.path() + "/missing.json"},
        {"--profile", dir.path() + "/missing.json", "card"},
        {"upload", dir.path() + "/missing.bin"},
        {"face", "--save", dir.path() + "/missing-dir"},
    };
    for (const auto& args : usages) {
        const ToolResult run = runTool(args);
        EXPECT_EQ(run.exitCode, 2) << (args.empty() ? "(no arguments)" : args[0]) << "\n" << run.err;
        EXPECT_FALSE(run.err.empty());
    }
    // A misspelt key of the rule file is named, not silently defaulted.
    const ToolResult run = runTool({"offline-rule", "set", typo});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("rule.ruleList[0]: unknown key \"enabled\""), std::string::npos) << run.err;
}

TEST(Stationctl, CommandLineReadsAsAPersonWritesIt) {
    // Global options after the command, and from the environment.
    const ToolResult after = runTool({"card", "--json"});
    EXPECT_EQ(after.exitCode, 0) << after.err;
    EXPECT_EQ(documents(after.out).size(), 1u) << after.out;
    const ToolResult fromEnvironment =
        runTool({"card"}, {{"STATIONCTL_STATION", "127.0.0.1"}, {"STATIONCTL_PASSWORD", "wrong"}});
    EXPECT_EQ(fromEnvironment.exitCode, 3) << "the named station asks for the password";

    const ToolResult version = runTool({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out.rfind("stationctl ", 0), 0u) << version.out;

    // Missing and unknown commands are named, with the ones that exist.
    const struct {
        std::vector<std::string> args;
        const char* said;
    } wrongCommands[] = {
        {{}, "stationctl: no command given; the commands are: info, "},
        {{"help"}, "stationctl: unknown command \"help\"; the commands are: info, "},
        {{"card-rule", "get"}, "stationctl card-rule: unknown command \"get\"; the commands are: set "},
    };
    for (const auto& wrong : wrongCommands) {
        const ToolResult run = runTool(wrong.args);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_NE(run.err.find(wrong.said), std::string::npos) << run.err;
    }

    // Input that would be ignored or defaulted is refused, in plain words.
    ScratchDir dir;
    const struct {
        std::vector<std::string> args;
        const char* said;
    } refused[] = {
        {{"card-rule", "set", "--length", "-1"}, "--length: must be a whole number of 0 or more"},
        {{"search", "--limit", "2"}, "--limit requires --stream"},
        {{"--station", "", "card"}, "--station: must not be empty"},
        {{"--user", "", "card"}, "--user"},
        {{"--library-log", dir.path() + "/missing/log", "card"}, "cannot open"},
    };
    for (const auto& wrong : refused) {
        const ToolResult run = runTool(wrong.args);
        EXPECT_EQ(run.exitCode, 2) << wrong.said;
        EXPECT_NE(run.err.find(wrong.said), std::string::npos) << run.err;
        EXPECT_LT(run.err.size(), 300u) << run.err;
    }

    // An output file that cannot be written is exit 4, before the transfer.
    const ToolResult download = runTool({"download", dir.path() + "/missing/file"});
    EXPECT_EQ(download.exitCode, 4) << download.err;
}

TEST(Stationctl, LoginFailuresExitWithThreeAndTheSdkWords) {
    StationProcess station;
    ASSERT_FALSE(station.address().empty());
    const ToolResult wrong =
        runTool({"--station", station.address(), "card"}, {{"STATIONCTL_PASSWORD", "not-the-password"}});
    EXPECT_EQ(wrong.exitCode, 3);
    EXPECT_NE(wrong.err.find("failed: 50-1: SDK error 1: "), std::string::npos) << wrong.err;
    EXPECT_EQ(wrong.err.find("not-the-password"), std::string::npos) << "the password was printed";
    EXPECT_EQ(wrong.out.find("not-the-password"), std::string::npos) << "the password was printed";

    const ToolResult json = runTool({"--json", "--station", station.address(), "card"}, {{"STATIONCTL_PASSWORD", "nope"}});
    EXPECT_EQ(json.exitCode, 3);
    auto docs = documents(json.out);
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_TRUE(cJSON_IsFalse(at(docs[0].get(), {"ok"})));
    EXPECT_EQ(at(docs[0].get(), {"error", "main"})->valueint, 50);
    EXPECT_EQ(at(docs[0].get(), {"error", "sub"})->valueint, 1);

    const ToolResult nowhere = runTool({"--station", "127.0.0.9:8000", "card"}, {{"STATIONCTL_PASSWORD", "x"}});
    EXPECT_EQ(nowhere.exitCode, 3);
    EXPECT_NE(nowhere.err.find("50-7: SDK error 7: "), std::string::npos) << nowhere.err;

    // With a real station named and no way to ask, there is no password.
    const ToolResult noPassword = runTool({"--station", "127.0.0.1", "card"});
    EXPECT_EQ(noPassword.exitCode, 2);
    EXPECT_NE(noPassword.err.find("STATIONCTL_PASSWORD"), std::string::npos);

    // The virtual station's accounts come from its profile.
    ScratchDir dir;
    const std::string file = dir.file("p.json", profile("[]"));
    EXPECT_EQ(runTool({"--profile", file, "--user", "clerk", "upload-failed"}).exitCode, 0);
    EXPECT_EQ(runTool({"--profile", file, "--user", "nobody", "upload-failed"}).exitCode, 2);
}

TEST(Stationctl, NamedStationTakesThePasswordFromOutsideTheCommandLine) {
    StationProcess station;
    ASSERT_FALSE(station.address().empty());
    const ToolResult fromEnvironment =
        runTool({"--station", station.address(), "card"}, {{"STATIONCTL_PASSWORD", "Station#2026"}});
    EXPECT_EQ(fromEnvironment.exitCode, 0) << fromEnvironment.err;
    EXPECT_NE(fromEnvironment.out.find("cardNo: 3053140519"), std::string::npos);

    const ToolResult fromStdin =
        runTool({"--station", station.address(), "--password-stdin", "card"}, {}, "Station#2026\n");
    EXPECT_EQ(fromStdin.exitCode, 0) << fromStdin.err;
    EXPECT_EQ(runTool({"--station", station.address(), "--password-stdin", "card"}).exitCode, 2) << "empty stdin";
}

TEST(Stationctl, FilesTravelBothWays) {
    ScratchDir dir;
    const std::string fetched = dir.path() + "/station-file.txt";
    const ToolResult download = runTool({"--json", "download", fetched});
    ASSERT_EQ(download.exitCode, 0) << download.err;
    auto docs = documents(download.out);
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(static_cast<std::size_t>(at(docs[0].get(), {"result", "bytes"})->valueint), readFile(fetched).size());
    EXPECT_FALSE(readFile(fetched).empty());

    const ToolResult upload = runTool({"upload", dir.file("mine.txt", "hello station\n")});
    EXPECT_EQ(upload.exitCode, 0) << upload.err;
    EXPECT_NE(upload.out.find("bytes: 14"), std::string::npos) << upload.out;
}

TEST(Stationctl, OperationFailuresNameTheCodePair) {
    ScratchDir dir;
    const std::string file = dir.file("p.json", profile("[]"));
    const ToolResult card = runTool({"--profile", file, "card"});
    EXPECT_EQ(card.exitCode, 1);
    // The station's own words for its refusal, beside the code pair.
    EXPECT_NE(card.err.find("reading the card failed: 68-196609 noCardPresented: no card was presented to the reader"),
              std::string::npos)
        << card.err;

    const ToolResult idCard = runTool({"--json", "--profile", file, "id-card"});
    EXPECT_EQ(idCard.exitCode, 1);
    auto docs = documents(idCard.out);
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(textAt(docs[0].get(), {"command"}), "id-card");
    EXPECT_EQ(at(docs[0].get(), {"error", "main"})->valueint, 68);
    EXPECT_EQ(textAt(docs[0].get(), {"error", "subStatusCode"}), "noIDCardPresented");
    EXPECT_EQ(textAt(docs[0].get(), {"error", "errorMsg"}), "no identity card lies on the reader");
    EXPECT_EQ(textAt(docs[0].get(), {"error", "text"}),
              "68-196611 noIDCardPresented: no identity card lies on the reader");

    // A rule the station does not accept.
    const std::string rule = dir.file("rule.json", R"({"ruleList":[{"dataType":"shoeSize","enable":true}]})");
    const ToolResult refused = runTool({"offline-rule", "set", rule});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.err.find(": 68-"), std::string::npos) << refused.err;
}

TEST(Stationctl, JsonPrintsOneDocumentPerResult) {
    const ToolResult info = runTool({"--json", "info"});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    auto docs = documents(info.out);
    ASSERT_EQ(docs.size(), 1u);
    const cJSON* doc = docs[0].get();
    EXPECT_EQ(textAt(doc, {"command"}), "info");
    EXPECT_TRUE(cJSON_IsTrue(at(doc, {"ok"})));
    EXPECT_TRUE(cJSON_IsNumber(at(doc, {"result", "handle"})));
    EXPECT_EQ(at(doc, {"result", "languageType"})->valueint, 1);
    EXPECT_TRUE(cJSON_IsBool(at(doc, {"result", "capabilities", "isSupportCaptureFace"})));
    EXPECT_TRUE(cJSON_IsBool(at(doc, {"result", "rfCardCapability", "isSupportEMCard"})));

    // Both search forms give the same records, one document each, in order.
    ScratchDir dir;
    const std::string file = dir.file("p.json", profile(twoRecords()));
    for (const char* form : {"", "--stream"}) {
        std::vector<std::string> args = {"--json", "--profile", file, "search"};
        if (*form) args.push_back(form);
        const ToolResult search = runTool(args);
        ASSERT_EQ(search.exitCode, 0) << form << search.err;
        docs = documents(search.out);
        ASSERT_EQ(docs.size(), 2u) << form;
        const cJSON* first = cJSON_GetArrayItem(at(docs[0].get(), {"result", "dataCollectList"}), 0);
        const cJSON* second = cJSON_GetArrayItem(at(docs[1].get(), {"result", "dataCollectList"}), 0);
        EXPECT_EQ(textAt(first, {"name"}), "Ana <b>Lima</b> & co") << form;
        EXPECT_EQ(textAt(cJSON_GetArrayItem(at(first, {"fingerprintList"}), 0), {"fingerprint"}), "010203");
        EXPECT_EQ(textAt(second, {"name"}), "No Picture") << form;
        EXPECT_EQ(textAt(docs[1].get(), {"result", "responseStatusStrg"}), "OK") << form;
    }
}

TEST(Stationctl, GalleryShowsEveryRecordInOneSelfContainedPage) {
    ScratchDir dir;
    const std::string file = dir.file("p.json", profile(twoRecords()));
    for (const char* form : {"", "--stream"}) {
        const std::string page = dir.path() + "/gallery" + form + ".html";
        std::vector<std::string> args = {"--profile", file, "search", "--html", page};
        if (*form) args.push_back(form);
        const ToolResult run = runTool(args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const std::string html = readFile(page);
        EXPECT_EQ(count(html, "<article class=\"person"), 2u) << form;
        EXPECT_EQ(count(html, "src=\"data:image/png;base64,"), 2u);
        EXPECT_EQ(count(html, "class=\"missing"), 2u);  // the second record has no pictures
        EXPECT_NE(html.find("Ana &lt;b&gt;Lima&lt;/b&gt; &amp; co"), std::string::npos);
        EXPECT_EQ(html.find("<b>Lima</b>"), std::string::npos);
        EXPECT_NE(html.find("data-field=\"employeeNo\">E7<"), std::string::npos);
        EXPECT_NE(html.find("data-field=\"IDCardNo\">ID-7<"), std::string::npos);
        EXPECT_NE(html.find("data-field=\"cardNoList\">C1, C2<"), std::string::npos);
        EXPECT_NE(html.find("data-field=\"fingerprints\">2<"), std::string::npos);
        EXPECT_NE(html.find("data-capture-no=\"7\""), std::string::npos);
        EXPECT_EQ(count(html, "class=\"mark risk\""), 1u);
        EXPECT_EQ(html.find("http:"), std::string::npos);
        EXPECT_EQ(html.find("https:"), std::string::npos);
    }
    const ToolResult unwritable = runTool({"search", "--html", dir.path() + "/no/such/dir/page.html"});
    EXPECT_EQ(unwritable.exitCode, 4);
}

TEST(Stationctl, EmptyStoreIsNoFailure) {
    ScratchDir dir;
    const std::string file = dir.file("p.json", profile("[]"));
    for (const char* form : {"", "--stream"}) {
        std::vector<std::string> args = {"--profile", file, "search"};
        if (*form) args.push_back(form);
        const ToolResult run = runTool(args);
        EXPECT_EQ(run.exitCode, 0) << form << run.err;
        EXPECT_NE(run.err.find("0 records in the offline store"), std::string::npos) << run.err;
    }
}

TEST(Stationctl, ClearAsksUnlessYes) {
    const ToolResult refused = runTool({"clear"});
    EXPECT_EQ(refused.exitCode, 5);
    EXPECT_NE(refused.err.find("--yes"), std::string::npos);
    EXPECT_EQ(refused.out.find("cleared"), std::string::npos);

    const ToolResult cleared = runTool({"clear", "--yes"});
    EXPECT_EQ(cleared.exitCode, 0) << cleared.err;
    EXPECT_NE(cleared.out.find("cleared: yes"), std::string::npos);
}

TEST(Stationctl, FaceSaveWritesPicturesByTheirType) {
    ScratchDir dir;
    const ToolResult run = runTool({"face", "--save", dir.path()});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    for (const char* name : {"/face.png", "/infrared.png"}) {
        const std::string bytes = readFile(dir.path() + name);
        ASSERT_GT(bytes.size(), 8u) << name;
        EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8)) << name;
    }
}

TEST(Stationctl, SettingsRoundTrip) {
    const ToolResult rf = runTool({"rf-card", "set", "--cpu", "on", "--em", "off"});
    ASSERT_EQ(rf.exitCode, 0) << rf.err;
    EXPECT_NE(rf.out.find("enableCPUCard: yes"), std::string::npos);
    EXPECT_NE(rf.out.find("enableEMCard: no"), std::string::npos);
    EXPECT_NE(rf.out.find("enableM1Card: yes"), std::string::npos) << "an unnamed type changed";

    const ToolResult face = runTool({"face-param", "set", "--enable", "off", "--value", "7"});
    ASSERT_EQ(face.exitCode, 0) << face.err;
    EXPECT_NE(face.out.find("enable: no\n  value: 7"), std::string::npos) << face.out;

    ScratchDir dir;
    const std::string rule = dir.file("rule.json", R"({"enableCardNoLenAuto":true,"ruleList":[
        {"dataType":"cardNo","enable":true,"uniqueCheck":true,"len":16,"num":2},
        {"dataType":"fingerprint","enable":true,"num":2,"fingerprintIDs":[1,2]}]})");
    const ToolResult set = runTool({"--json", "offline-rule", "set", rule});
    ASSERT_EQ(set.exitCode, 0) << set.err;
    auto docs = documents(set.out);
    ASSERT_EQ(docs.size(), 1u);
    const cJSON* second = cJSON_GetArrayItem(at(docs[0].get(), {"result", "ruleList"}), 1);
    EXPECT_EQ(cJSON_GetArraySize(at(second, {"fingerprintIDs"})), 2);
}

TEST(Stationctl, StreamingSearchStopsAtItsLimit) {
    const ToolResult run = runTool({"search", "--stream", "--limit", "1"});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(count(run.out, "Record "), 1u) << run.out;
    EXPECT_NE(run.err.find("Stopped after 1 record"), std::string::npos);
}

TEST(Stationctl, CtrlCStopsStreamingSearchAndKeepsWhatArrived) {
    ScratchDir dir;
    const std::string file = dir.file("p.json", profile(manyRecords()));
    const std::string page = dir.path() + "/arrived.html";
    ToolProcess tool({"--profile", file, "search", "--stream", "--html", page}, {{"VSTATION_PACING", "1"}});
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (tool.outSoFar().find("Record 2:") == std::string::npos && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    tool.interrupt();
    const ToolResult run = tool.wait(20);
    EXPECT_EQ(run.exitCode, 130) << run.err;
    EXPECT_NE(run.err.find("Interrupted: "), std::string::npos) << run.err;
    EXPECT_GE(count(run.out, "Record "), 2u);
    EXPECT_LT(count(run.out, "Record "), 400u);
    // The gallery holds exactly what arrived.
    std::ifstream in(page);
    const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(count(html, "<article class=\"person"), count(run.out, "Record "));
}

TEST(Stationctl, ProgressIsOneLineOnATerminalAndNothingElsewhere) {
    SKIP_WITHOUT_PSEUDO_TERMINAL();
    ScratchDir dir;
    const std::string file = dir.file("p.json", profile(twoRecords()));
    // The line is rewritten in place and blanked before the closing words;
    // stdout carries the records only.
    const ToolResult search = runOnTerminal({"--profile", file, "search"});
    ASSERT_EQ(search.exitCode, 0) << search.err;
    EXPECT_NE(search.err.find("\r1 of 2 records received\r2 of 2 records received\r" + std::string(23, ' ') +
                              "\r2 records in the offline store\n"),
              std::string::npos)
        << search.err;
    EXPECT_EQ(search.out.find('\r'), std::string::npos);
    EXPECT_EQ(count(search.out, "Record "), 2u);

    const std::string fetched = dir.path() + "/fetched.txt";
    const ToolResult download = runOnTerminal({"download", fetched});
    ASSERT_EQ(download.exitCode, 0) << download.err;
    EXPECT_NE(download.err.find("\rDownloading: 100%\r"), std::string::npos) << download.err;

    // The station's capture progress, in order, then the line blanked.
    const ToolResult face = runOnTerminal({"face"});
    ASSERT_EQ(face.exitCode, 0) << face.err;
    const std::size_t first = face.err.find("\rFace capture: 20%");
    const std::size_t last = face.err.find("\rFace capture: 100%\r" + std::string(18, ' ') + "\r");
    EXPECT_NE(first, std::string::npos) << face.err;
    EXPECT_NE(last, std::string::npos) << face.err;
    EXPECT_LT(first, last);

    // Piped, or JSON on a terminal: no progress at all.
    for (const ToolResult& quiet :
         {runTool({"--profile", file, "search"}), runTool({"download", fetched}), runTool({"face"}),
          runOnTerminal({"--json", "--profile", file, "search"}), runOnTerminal({"--json", "download", fetched}),
          runOnTerminal({"--json", "face"})}) {
        EXPECT_EQ(quiet.exitCode, 0) << quiet.err;
        EXPECT_EQ(quiet.err.find('\r'), std::string::npos) << quiet.err;
        EXPECT_EQ(quiet.err.find("received"), std::string::npos) << quiet.err;
    }
}

TEST(Stationctl, CtrlCStopsListSearchAndWritesWhatArrived) {
    SKIP_WITHOUT_PSEUDO_TERMINAL();
    ScratchDir dir;
    const std::string file = dir.file("p.json", profile(manyRecords()));
    const std::string page = dir.path() + "/arrived.html";
    ToolProcess tool({"--profile", file, "search", "--html", page}, {{"VSTATION_PACING", "1"}}, {}, STATIONCTL_PATH,
                     true);
    ASSERT_TRUE(terminalShows(tool, "2 of 400 records received"));
    tool.interrupt();
    const ToolResult run = tool.wait(20);
    EXPECT_EQ(run.exitCode, 130) << run.err;
    const std::string words = "Interrupted: ";
    const std::size_t at = run.err.find(words);
    ASSERT_NE(at, std::string::npos) << run.err;
    const std::size_t received = std::stoul(run.err.substr(at + words.size()));
    EXPECT_NE(run.err.find(" records received before the search stopped", at), std::string::npos) << run.err;
    EXPECT_GE(received, 2u);
    EXPECT_LT(received, 400u);
    // Printed and kept: exactly what arrived.
    EXPECT_EQ(count(run.out, "Record "), received);
    EXPECT_EQ(count(readFile(page), "<article class=\"person"), received);
}

TEST(Stationctl, CtrlCEndsATransferAndSaysHowFarItGot) {
    SKIP_WITHOUT_PSEUDO_TERMINAL();
    // A sparse file: large enough that a paced upload (about 16 ms a
    // mebibyte) runs for most of a second, cheap to make.
    ScratchDir dir;
    const std::string big = dir.file("big.bin", "");
    std::filesystem::resize_file(big, 48u << 20);
    ToolProcess tool({"upload", big}, {{"VSTATION_PACING", "1"}}, {}, STATIONCTL_PATH, true);
    ASSERT_TRUE(terminalShows(tool, "Uploading: "));
    tool.interrupt();
    const ToolResult run = tool.wait(20);
    EXPECT_EQ(run.exitCode, 130) << run.err;
    EXPECT_NE(run.err.find("Interrupted: upload cancelled with "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("% of the file sent\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("Uploaded"), std::string::npos);
    EXPECT_EQ(run.err.find("failed"), std::string::npos) << run.err;
}

TEST(Stationctl, CtrlCEndsAFaceCaptureAndSaysHowFarItGot) {
    SKIP_WITHOUT_PSEUDO_TERMINAL();
    // Paced, the camera takes a second and a half.
    ToolProcess tool({"face"}, {{"VSTATION_PACING", "1"}}, {}, STATIONCTL_PATH, true);
    ASSERT_TRUE(terminalShows(tool, "Face capture: 20%"));
    tool.interrupt();
    const ToolResult run = tool.wait(20);
    EXPECT_EQ(run.exitCode, 130) << run.err;
    EXPECT_NE(run.err.find("Interrupted: face capture cancelled at "), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("%; no face was received\n"), std::string::npos) << run.err;
    EXPECT_EQ(run.out.find("Face:"), std::string::npos);
}

TEST(Stationctl, ReleaseHandleClosesTheOtherSessionOnly) {
    // Exit 0 also says that this session's own logout still worked after
    // the release, i.e. the right handle went.
    const ToolResult text = runTool({"release-handle"});
    ASSERT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.out.find("Handle release:\n  handle: 0\n  releasedHandle: 1\n  openLoginsBefore: 2\n"
                            "  released: yes\n  openLoginsAfter: 1\n  noHandleAnswer: no\n"),
              std::string::npos)
        << text.out;
    // Narration goes to stderr, in text mode as with --json.
    EXPECT_NE(text.err.find("let go without logging out"), std::string::npos) << text.err;
    EXPECT_EQ(text.out.find("let go without logging out"), std::string::npos) << text.out;

    const ToolResult json = runTool({"--json", "release-handle"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    auto docs = documents(json.out);
    ASSERT_EQ(docs.size(), 1u);
    EXPECT_EQ(textAt(docs[0].get(), {"command"}), "release-handle");
    EXPECT_TRUE(cJSON_IsTrue(at(docs[0].get(), {"result", "released"})));
    EXPECT_NE(json.err.find("let go without logging out"), std::string::npos) << "narration goes to stderr";

    const ToolResult real = runTool({"--station", "127.0.0.1", "release-handle"}, {{"STATIONCTL_PASSWORD", "x"}});
    EXPECT_EQ(real.exitCode, 2);
    EXPECT_NE(real.err.find("virtual station only"), std::string::npos) << real.err;
}

TEST(Stationctl, DemoRunsEveryOperation) {
    // The SDK log path is only kept for the SDK: nothing writes it here.
    ScratchDir dir;
    const std::string sdkLog = dir.path() + "/sdk.log";
    const ToolResult text = runTool({"--sdk-log-path", sdkLog, "demo"});
    EXPECT_EQ(text.exitCode, 0) << text.err;
    EXPECT_NE(text.err.find("Logged out. Demo complete."), std::string::npos);
    EXPECT_FALSE(std::ifstream(sdkLog).good());
    for (const char* shown : {"Releasing a handle another client object left open", "Open logins: 2.",
                              "logged handle 1 out. Open logins: 1.", "setIsInit(true, -1) answers no"}) {
        EXPECT_NE(text.err.find(shown), std::string::npos) << shown << "\n" << text.err;
    }

    const ToolResult json = runTool({"--json", "demo"});
    ASSERT_EQ(json.exitCode, 0) << json.err;
    std::set<std::string> commands;
    for (const JsonTree& doc : documents(json.out)) {
        EXPECT_TRUE(cJSON_IsTrue(at(doc.get(), {"ok"}))) << textAt(doc.get(), {"command"});
        commands.insert(textAt(doc.get(), {"command"}));
    }
    const std::set<std::string> expected = {"info",  "rf-card", "card-rule", "card",         "id-card",
                                            "fingerprint", "face", "face-param", "offline-rule", "search",
                                            "upload-failed", "upload", "download", "release-handle", "clear"};
    EXPECT_EQ(commands, expected);
}
