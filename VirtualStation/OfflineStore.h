// OfflineStore: the offline capture records of one station.
#ifndef VSTATION_OFFLINESTORE_H
#define VSTATION_OFFLINESTORE_H

#include <cstddef>

struct cJSON;

namespace vstation {

struct OfflineStore {
    // Reads the station's records from its profile object (null: none),
    // falling back to built-in samples when the key is absent.
    void load(const cJSON* /*profile*/) {}
    // Deletes every record (the configuration protocol's DELETE).
    void clear() {}
    size_t size() const { return 0; }
};

}  // namespace vstation

#endif  // VSTATION_OFFLINESTORE_H
