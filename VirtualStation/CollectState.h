// CollectState: fingerprint and face samples for live collections of one station.
#ifndef VSTATION_COLLECTSTATE_H
#define VSTATION_COLLECTSTATE_H

struct cJSON;

namespace vstation {

struct CollectState {
    // Reads this family's keys from the station's profile object (null: none),
    // falling back to built-in samples for keys that are absent.
    void load(const cJSON* /*profile*/) {}
};

}  // namespace vstation

#endif  // VSTATION_COLLECTSTATE_H
