// The virtual station that serves stationctl when no real station is named.
// The only place that uses the virtual station's control API.
#ifndef STATIONCTL_VIRTUALSTATIONHOST_H
#define STATIONCTL_VIRTUALSTATIONHOST_H

#include <string>

namespace stationctl {

// Where and as whom to log in to the virtual station.
struct VirtualAccount {
    std::string address;
    std::string port;
    std::string userName;
    std::string password;
};

// Loads a profile file into the virtual station. On failure `error` says why.
bool loadVirtualProfile(const std::string& path, std::string& error);

// The first station of the profile in use (the built-in one unless a file was
// loaded), with the account named `userName`, or its first account when empty.
bool virtualAccount(const std::string& userName, VirtualAccount& account, std::string& error);

// Login handles the virtual station holds open in this process.
int virtualOpenLogins();

// The words for an SDK error number. The virtual station's table describes the
// SDK's own numbers, so it serves real stations as well.
std::string sdkErrorText(int error);

}  // namespace stationctl

#endif  // STATIONCTL_VIRTUALSTATIONHOST_H
