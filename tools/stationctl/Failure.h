// Exit codes and the words for the library's (main, sub) error codes.
#ifndef STATIONCTL_FAILURE_H
#define STATIONCTL_FAILURE_H

#include <string>

namespace stationctl {

// Exit codes of stationctl (also listed by `stationctl --help`).
enum ExitCode : int {
    kExitOk = 0,
    kExitFailed = 1,       // an operation failed at the station or the SDK
    kExitUsage = 2,        // bad command line or unusable input file
    kExitLogin = 3,        // the station refused the login or could not be reached
    kExitLocalFile = 4,    // an output file or folder could not be written
    kExitDeclined = 5,     // `clear` was not confirmed
    kExitInterrupted = 130 // stopped by Ctrl-C
};

struct ErrorPair {
    int main = 0;
    int sub = 0;
    // A refusal (68, n) in the station's own terms, when its status document
    // said more than the number: "noCardPresented", "no card was presented...".
    std::string subStatusCode;
    std::string errorMsg;
    bool empty() const { return main == 0 && sub == 0; }
};

// Forgets the last error, so a failure that sets none is not blamed on an
// older one (the store is process-wide and never cleared by the library).
void clearLastError();
ErrorPair lastError();

// "69-8200: not logged in"; "68-196609 noCardPresented: no card was
// presented to the reader"; "failed without an error code" for (0, 0).
std::string describe(const ErrorPair& code);

}  // namespace stationctl

#endif  // STATIONCTL_FAILURE_H
