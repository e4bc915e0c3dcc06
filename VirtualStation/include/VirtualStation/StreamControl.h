// Control of the virtual station's long connections: live collections
// (commands 2504, 2510) and the offline store search (2554). Each connection
// reports on a thread of its own. A station's samples and records live with
// the station (reset() brings back the profile's or the built-in ones);
// scripts apply to the next connection of their command on any station and
// are dropped when the SDK state goes away.
//
// Thread safety: every function may be called from any thread.
#ifndef VSTATION_STREAM_CONTROL_H
#define VSTATION_STREAM_CONTROL_H

#include "VirtualStation/Vocabulary.h"

struct cJSON;

namespace vstation {

// The built-in samples (drawn face and infrared face, ridge image).
VSTATION_API FingerprintSample builtInFingerprintSample();
VSTATION_API FaceSample builtInFaceSample();
// False when no station answers at address:port.
VSTATION_API bool setFingerprintSample(const FingerprintSample& sample,
                                       const std::string& address = "127.0.0.1", uint16_t port = 8000);
VSTATION_API bool setFaceSample(const FaceSample& sample, const std::string& address = "127.0.0.1",
                                uint16_t port = 8000);

// Appends records to the store, in order.
VSTATION_API bool addOfflineRecords(const std::vector<OfflineRecord>& records,
                                    const std::string& address = "127.0.0.1", uint16_t port = 8000);
// Appends made-up people (see GeneratedRecords).
VSTATION_API bool addGeneratedRecords(const GeneratedRecords& plan, const std::string& address = "127.0.0.1",
                                      uint16_t port = 8000);
// The store's records in order, pictures included.
VSTATION_API bool offlineRecords(std::vector<OfflineRecord>* records, const std::string& address = "127.0.0.1", uint16_t port = 8000);
// A new JSON object holding `record` (its pictures aside) as profiles and
// --data folders spell it; the caller owns it (cJSON_Delete).
VSTATION_API cJSON* savedRecordJson(const OfflineRecord& record);
// Replaces or removes the first record whose captureNo is `captureNo`; false
// when the station or the record is not there.
VSTATION_API bool replaceOfflineRecord(int32_t captureNo, const OfflineRecord& record,
                                       const std::string& address = "127.0.0.1", uint16_t port = 8000);
VSTATION_API bool removeOfflineRecord(int32_t captureNo, const std::string& address = "127.0.0.1",
                                      uint16_t port = 8000);
VSTATION_API bool clearOfflineRecords(const std::string& address = "127.0.0.1", uint16_t port = 8000);
// -1 when no station answers at address:port.
VSTATION_API long offlineRecordCount(const std::string& address = "127.0.0.1", uint16_t port = 8000);

// `command` is 2504, 2510 or 2554 (false otherwise). A second script for the
// same command waits behind the first.
VSTATION_API bool scriptStream(uint32_t command, const StreamScript& script);
VSTATION_API void clearStreamScripts();

}  // namespace vstation

#endif  // VSTATION_STREAM_CONTROL_H
