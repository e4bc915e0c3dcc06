#include "Options.h"

#include <CLI/CLI.hpp>

namespace stationctl {

void addGlobalOptions(CLI::App& app, GlobalOptions& options) {
    app.add_option("--station", options.station,
                   "station to drive, HOST[:PORT] (port 8000 when left out); without it, "
                   "the built-in virtual station")
        ->type_name("HOST[:PORT]");
    app.add_option("--user", options.user, "user name (default: admin)");
    app.add_option("--profile", options.profile,
                   "load this profile file into the virtual station first")
        ->type_name("FILE");
    app.add_flag("--json", options.json, "print one JSON document per result");
    app.add_flag("--password-stdin", options.passwordStdin,
                 "read the password from the first line of standard input");
    app.add_option("--library-log", options.libraryLog,
                   "write the library's log lines to stderr or to this file (default: off)")
        ->type_name("stderr|FILE");
    app.add_option("--sdk-log-path", options.sdkLogPath,
                   "hand this log path to the library for the device SDK (the virtual station "
                   "writes no SDK log)")
        ->type_name("PATH");
}

CLI::App* addCommand(CLI::App& app, Context& context, const std::string& name,
                     const std::string& description, std::function<int(Context&, Output&)> body) {
    CLI::App* command = app.add_subcommand(name, description);
    // The body runs after parsing, so a usage error never half-runs a command.
    command->callback([&context, body]() { context.run = body; });
    return command;
}

}  // namespace stationctl
