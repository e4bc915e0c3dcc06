// The control of the built-in virtual station, as a module that stationctl
// loads at run time (BuiltInStation.cpp). The module links the virtual
// station's control API; with any other SDK it fails to load, and stationctl
// then works without a built-in station. The only code that talks to the
// virtual station. Plain C names, so the loader finds them on every system.
#ifndef STATIONCTL_VIRTUALSTATIONHOST_H
#define STATIONCTL_VIRTUALSTATIONHOST_H

#include <cstddef>

extern "C" {

// Loads a profile (JSON text) into the virtual station. 1 on success;
// otherwise 0 with the reason in `error` (cut to `errorSize`, terminated).
typedef int (*StationctlLoadProfile)(const char* text, char* error, size_t errorSize);
// The built-in profile's text; valid until the module is unloaded.
typedef const char* (*StationctlDefaultProfile)(void);
// Login handles the virtual station holds open in this process.
typedef int (*StationctlOpenLogins)(void);

}

#define STATIONCTL_LOAD_PROFILE "stationctl_vstation_load_profile"
#define STATIONCTL_DEFAULT_PROFILE "stationctl_vstation_default_profile"
#define STATIONCTL_OPEN_LOGINS "stationctl_vstation_open_logins"

#endif  // STATIONCTL_VIRTUALSTATIONHOST_H
