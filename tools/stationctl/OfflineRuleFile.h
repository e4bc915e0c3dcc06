// The offline capture rule as a JSON file, for `offline-rule set FILE`:
//
//   {
//     "reqAdminRights": false,          optional, default false
//     "enableCardNoLenAuto": true,      optional, default false
//     "ruleList": [                     optional, default empty
//       { "dataType": "cardNo",         required, as the station names it
//         "enable": true,               optional, default false
//         "uniqueCheck": false,         optional, default false
//         "len": 0, "num": 1,           optional integers, default 0
//         "fingerprintIDs": [1, 2] }    optional, default empty
//     ]
//   }
//
// Unknown keys and values of the wrong type are refused with their place in
// the file, so that a misspelt key does not silently send a default.
#ifndef STATIONCTL_OFFLINERULEFILE_H
#define STATIONCTL_OFFLINERULEFILE_H

#include <string>

#include "EnrollmentStation/EnrollmentStation.h"

namespace stationctl {

bool parseOfflineRule(const std::string& text, EnrollmentStation::offLineRuleInfomation& rule,
                      std::string& error);
bool readOfflineRuleFile(const std::string& path, EnrollmentStation::offLineRuleInfomation& rule,
                         std::string& error);

}  // namespace stationctl

#endif  // STATIONCTL_OFFLINERULEFILE_H
