// ConfigState: configuration-protocol state (capabilities, RF card settings, cards, identity card, rules) of one station.
#ifndef VSTATION_CONFIGSTATE_H
#define VSTATION_CONFIGSTATE_H

struct cJSON;

namespace vstation {

struct ConfigState {
    // Reads this family's keys from the station's profile object (null: none),
    // falling back to built-in samples for keys that are absent.
    void load(const cJSON* /*profile*/) {}
};

}  // namespace vstation

#endif  // VSTATION_CONFIGSTATE_H
