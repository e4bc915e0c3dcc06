// The virtual station built into the SDK stand-in. It exists only when the SDK
// in use is that stand-in, so stationctl looks for it at run time and offers
// what needs it (runs without --station, release-handle, the demo's clearing
// of the store) only when it is there. Single-threaded: called from main's
// thread only.
#ifndef STATIONCTL_BUILTINSTATION_H
#define STATIONCTL_BUILTINSTATION_H

#include <string>

namespace stationctl {

// Whether the SDK in use has a built-in virtual station; the first call looks.
bool builtInStationPresent();
// Why there is none, for a message (the loader's own words).
std::string builtInStationAbsence();

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

}  // namespace stationctl

#endif  // STATIONCTL_BUILTINSTATION_H
