// Options every subcommand shares, and the context a subcommand runs in.
#ifndef STATIONCTL_OPTIONS_H
#define STATIONCTL_OPTIONS_H

#include <functional>
#include <string>

namespace CLI {
class App;
class Validator;
}

namespace stationctl {

struct GlobalOptions {
    std::string station;      // HOST[:PORT]; empty: the built-in virtual station
    std::string user;         // empty: "admin", or the virtual station's first account
    std::string profile;      // profile file for the virtual station
    bool json = false;        // one JSON document per result on stdout
    bool passwordStdin = false;
    std::string libraryLog;   // "stderr" or a file; empty: the library's log is off
    std::string sdkLogPath;   // handed to the library for the SDK's own log; empty: not set
    int timeout = 0;          // seconds a streaming operation waits for each report; 0: no limit
};

class Output;

// What the parsed command line asks for: the options and the chosen
// subcommand's body, which runs after parsing and returns the exit code.
struct Context {
    GlobalOptions options;
    std::function<int(Context&, Output&)> run;
};

// Adds --station, --user, --profile, --json, --password-stdin, --library-log,
// --sdk-log-path.
void addGlobalOptions(CLI::App& app, GlobalOptions& options);

// A whole number of at least `minimum`, refused in those words (the parser's
// own range check would print the type's limits).
CLI::Validator atLeast(int minimum);

// Registers a subcommand whose body is `body`; returns it for its own options.
CLI::App* addCommand(CLI::App& app, Context& context, const std::string& name,
                     const std::string& description, std::function<int(Context&, Output&)> body);

}  // namespace stationctl

#endif  // STATIONCTL_OPTIONS_H
