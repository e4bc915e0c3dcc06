// One simulated enrollment station: who may log in, and its live state.
//
// Thread safety: the identity fields are fixed once the profile is loaded;
// `mutex` guards every family's live state below it.
#ifndef VSTATION_STATION_H
#define VSTATION_STATION_H

#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

#include "State/CollectState.h"
#include "State/ConfigState.h"
#include "State/DeviceState.h"
#include "State/OfflineStore.h"

struct cJSON;

namespace vstation {

struct Account {
    std::string userName;
    std::string password;
};

struct Station {
    // Builds the station from one element of the profile's "stations" array.
    // Returns false, with `error` set, when the core keys are wrong; every
    // family then loads its own keys, falling back to built-in samples.
    bool load(const cJSON* profile, std::string* error);

    std::string address;
    uint16_t port = 0;
    std::vector<Account> accounts;
    uint8_t languageMask = 1;
    std::string serialNumber;

    std::mutex mutex;
    ConfigState config;    // configuration protocol: capabilities, RF card, cards, identity card, rules
    OfflineStore store;    // offline capture records
    CollectState collect;  // fingerprint and face samples for the live collections
    DeviceState device;    // face parameters, files
};

}  // namespace vstation

#endif  // VSTATION_STATION_H
