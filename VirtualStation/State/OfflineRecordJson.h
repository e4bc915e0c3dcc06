// An offline record as a JSON object, in either of the two spellings the
// station uses: the device's, in its search answers, and the saved one, in
// profiles and --data folders. The members are the same; only their names
// differ, so one writer serves both with the names as a parameter.
#ifndef VSTATION_OFFLINERECORDJSON_H
#define VSTATION_OFFLINERECORDJSON_H

#include "VirtualStation/Vocabulary.h"

struct cJSON;

namespace vstation {

// The member names that differ between the two spellings.
struct OfflineRecordKeys {
    const char* cardNoList;
    const char* fingerprints;
    const char* faceFeature;
    const char* region;
    const char* leftEye;
    const char* rightEye;
    const char* leftMouth;
    const char* rightMouth;
    const char* noseTip;
};

// As the device answers a search.
extern const OfflineRecordKeys kAnsweredRecordKeys;
// As profiles are written and the state is saved; saved folders are read
// back with these names, so they must not change.
extern const OfflineRecordKeys kSavedRecordKeys;

// A new object holding `record` (its pictures aside) under `keys`; the
// caller owns it.
cJSON* offlineRecordJson(const OfflineRecord& record, const OfflineRecordKeys& keys);

}  // namespace vstation

#endif  // VSTATION_OFFLINERECORDJSON_H
