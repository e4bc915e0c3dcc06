// stationctl: try, script and diagnose an enrollment station from the shell.
#include <CLI/CLI.hpp>

#include <iostream>
#include <string>
#include <vector>

#include "EnrollmentStation/Version.h"

#include "Commands.h"
#include "Failure.h"
#include "LibraryLog.h"
#include "Options.h"
#include "Output.h"

namespace {

const char* const kFooter = R"(Without --station the built-in virtual station (127.0.0.1:8000) is used with
the credentials of its profile. With --station the password comes from
STATIONCTL_PASSWORD, from --password-stdin, or from a prompt without echo.

Exit codes: 0 ok, 1 an operation failed, 2 usage error or unusable input file,
3 login failed, 4 an output file could not be written, 5 clear not confirmed,
130 interrupted.)";

// The command level the parse reached: the program or the last subcommand
// it recognised.
CLI::App* reachedCommand(CLI::App& app) {
    CLI::App* level = &app;
    while (!level->get_subcommands().empty()) level = level->get_subcommands().front();
    return level;
}

// A missing or unknown command at the level the parse reached, said in words
// with the commands that exist there. False when the failure is another one.
bool explainCommand(CLI::App& app) {
    CLI::App* level = reachedCommand(app);
    const std::vector<CLI::App*> commands = level->get_subcommands([](CLI::App*) { return true; });
    if (commands.empty() || !level->get_subcommands().empty()) return false;
    std::string names;
    for (const CLI::App* command : commands) names += (names.empty() ? "" : ", ") + command->get_name();
    std::string where = "stationctl";
    for (const CLI::App* up = level; up->get_parent(); up = up->get_parent()) {
        where.insert(10, " " + up->get_name());
    }
    // A word the parse left over, wherever along the way it was left.
    std::string word;
    for (const CLI::App* up = level; up && word.empty(); up = up->get_parent()) {
        for (const std::string& each : up->remaining()) {
            if (!each.empty() && each[0] != '-') {
                word = each;
                break;
            }
        }
    }
    std::cerr << where << ": " << (word.empty() ? "no command given" : "unknown command \"" + word + "\"")
              << "; the commands are: " << names << " (" << where << " --help for more)" << std::endl;
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    using namespace stationctl;
    CLI::App app("stationctl: drive an enrollment station", "stationctl");
    app.footer(kFooter);
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string("stationctl ") + ENROLLMENTSTATION_VERSION_STRING);
    // Global options may follow the command too; the subcommands made below
    // inherit this.
    app.fallthrough();

    Context context;
    addGlobalOptions(app, context.options);
    addDeviceCommands(app, context);
    addCardCommands(app, context);
    addBiometricCommands(app, context);
    addStoreCommands(app, context);
    addFileCommands(app, context);
    addSessionCommands(app, context);
    addDemoCommand(app, context);

    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& error) {
        const bool aboutCommand =
            dynamic_cast<const CLI::ExtrasError*>(&error) ||
            (dynamic_cast<const CLI::RequiredError*>(&error) &&
             std::string(error.what()).find("ubcommand") != std::string::npos);
        if (aboutCommand && explainCommand(app)) return kExitUsage;
        const int code = app.exit(error);
        return code == 0 ? kExitOk : kExitUsage;
    }
    if (!context.run) {
        std::cerr << app.help() << std::endl;
        return kExitUsage;
    }
    routeLibraryLog(context.options.libraryLog);
    Output out(context.options.json);
    return context.run(context, out);
}
