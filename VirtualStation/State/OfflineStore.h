// OfflineStore: the captured person records of one station, in capture order.
//
// Thread safety: guarded by the station's mutex. A search works on a
// snapshot (the record list as it was when the search began); the store
// copies its list only when it changes while a snapshot is out.
#ifndef VSTATION_OFFLINESTORE_H
#define VSTATION_OFFLINESTORE_H

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "VirtualStation/Vocabulary.h"

struct cJSON;

namespace vstation {

// A stored record; its pictures are shared, never copied per answer.
struct StoredRecord {
    OfflineRecord fields;  // pictures left empty here
    std::shared_ptr<const std::string> facePicture;
    std::shared_ptr<const std::string> infraredPicture;
};

using RecordList = std::vector<std::shared_ptr<const StoredRecord>>;

class OfflineStore {
public:
    OfflineStore();

    // Profile key "offlineRecords" (an array); missing: the built-in people.
    void load(const cJSON* profile);
    // Adds "offlineRecords" to `profile`, pictures included.
    void save(cJSON* profile) const;
    // Deletes every record (the configuration protocol's DELETE).
    void clear();
    size_t size() const;

    void add(std::shared_ptr<const StoredRecord> record);
    void add(const std::vector<std::shared_ptr<const StoredRecord>>& records);
    // The first record with `captureNo`; false when there is none.
    bool replace(int32_t captureNo, std::shared_ptr<const StoredRecord> record);
    bool remove(int32_t captureNo);
    std::shared_ptr<const RecordList> snapshot() const;

private:
    RecordList& writable();

    std::shared_ptr<RecordList> m_records;
};

// A record for the store, its pictures moved into shared storage.
std::shared_ptr<const StoredRecord> storedRecord(OfflineRecord record);

// The people of the built-in store: three records with drawn faces.
std::vector<OfflineRecord> builtInRecords();

// `plan.count` made-up people numbered from `firstNumber` (see
// addGeneratedRecords in StreamControl.h).
RecordList generatedRecords(const GeneratedRecords& plan, size_t firstNumber);

}  // namespace vstation

#endif  // VSTATION_OFFLINESTORE_H
