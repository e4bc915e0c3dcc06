// stationctl: try, script and diagnose an enrollment station from the shell.
#include <CLI/CLI.hpp>

#include <iostream>

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

}  // namespace

int main(int argc, char** argv) {
    using namespace stationctl;
    CLI::App app("stationctl: drive an enrollment station", "stationctl");
    app.footer(kFooter);
    app.require_subcommand(1);

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
