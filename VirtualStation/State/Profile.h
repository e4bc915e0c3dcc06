// Reading profiles: the JSON description of the stations a process serves.
#ifndef VSTATION_PROFILE_H
#define VSTATION_PROFILE_H

#include <memory>
#include <string>
#include <vector>

namespace vstation {

struct Station;

// Builds every station of `jsonText`. On failure returns false with `error`
// naming the station and key at fault; `stations` is then left alone.
bool buildStations(const std::string& jsonText, std::vector<std::shared_ptr<Station>>* stations,
                   std::string* error);

// Stations of the built-in profile (which always builds).
std::vector<std::shared_ptr<Station>> defaultStations();

// Text of the built-in profile.
const char* builtInProfileText();

}  // namespace vstation

#endif  // VSTATION_PROFILE_H
