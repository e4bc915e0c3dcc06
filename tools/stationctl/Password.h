// Where the password comes from: never the command line.
#ifndef STATIONCTL_PASSWORD_H
#define STATIONCTL_PASSWORD_H

#include <string>

namespace stationctl {

// The environment variable that may carry the password.
constexpr const char* kPasswordVariable = "STATIONCTL_PASSWORD";

// STATIONCTL_PASSWORD when set; else the first line of stdin with
// `fromStdin`; else a prompt on the terminal without echo. False (with
// `error`) when none of these can give one.
bool obtainPassword(const std::string& prompt, bool fromStdin, std::string& password,
                    std::string& error);

}  // namespace stationctl

#endif  // STATIONCTL_PASSWORD_H
