#include "Options.h"

#include <CLI/CLI.hpp>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstdio>
#include <cstring>

namespace stationctl {

namespace {

// An empty value is refused rather than taken for "not given".
const CLI::Validator kNotEmpty(
    [](std::string& value) { return value.empty() ? std::string("must not be empty") : std::string(); },
    "", "not empty");

// The log file is opened for appending here, so a path that cannot be
// written is named now instead of losing the log quietly.
const CLI::Validator kLogDestination(
    [](std::string& value) {
        if (value.empty()) return std::string("must not be empty");
        if (value == "stderr" || value == "stdout" || value == "off") return std::string();
        if (std::FILE* file = std::fopen(value.c_str(), "a")) {
            std::fclose(file);
            return std::string();
        }
        return "cannot open " + value + " for writing: " + std::strerror(errno);
    },
    "", "writable");

}  // namespace

void addGlobalOptions(CLI::App& app, GlobalOptions& options) {
    app.add_option("--station", options.station,
                   "station to drive, HOST[:PORT] (port 8000 when left out); without it, "
                   "the built-in virtual station")
        ->type_name("HOST[:PORT]")
        ->envname("STATIONCTL_STATION")
        ->check(kNotEmpty);
    app.add_option("--user", options.user, "user name (default: admin)")
        ->envname("STATIONCTL_USER")
        ->check(kNotEmpty);
    app.add_option("--profile", options.profile,
                   "load this profile file into the virtual station first")
        ->type_name("FILE");
    app.add_flag("--json", options.json, "print one JSON document per result");
    app.add_flag("--password-stdin", options.passwordStdin,
                 "read the password from the first line of standard input");
    app.add_option("--library-log", options.libraryLog,
                   "write the library's log lines to stderr or to this file (default: off)")
        ->type_name("stderr|FILE")
        ->check(kLogDestination);
    app.add_option("--sdk-log-path", options.sdkLogPath,
                   "hand this log path to the library for the device SDK (the virtual station "
                   "writes no SDK log)")
        ->type_name("PATH");
    app.add_option("--timeout", options.timeout,
                   "give up a fingerprint, face or search when the station sends nothing for this "
                   "many seconds (default: wait as long as it takes)")
        ->type_name("SECONDS")
        ->check(atLeast(0));
}

CLI::Validator atLeast(int minimum) {
    return CLI::Validator(
        [minimum](std::string& value) {
            const std::string wanted = "must be a whole number of " + std::to_string(minimum) + " or more";
            char* end = nullptr;
            errno = 0;
            const long number = std::strtol(value.c_str(), &end, 10);
            if (value.empty() || *end != '\0' || errno == ERANGE || number < minimum || number > INT_MAX) {
                return wanted;
            }
            return std::string();
        },
        "", "at least " + std::to_string(minimum));
}

CLI::App* addCommand(CLI::App& app, Context& context, const std::string& name,
                     const std::string& description, std::function<int(Context&, Output&)> body) {
    CLI::App* command = app.add_subcommand(name, description);
    // The body runs after parsing, so a usage error never half-runs a command.
    command->callback([&context, body]() { context.run = body; });
    return command;
}

}  // namespace stationctl
