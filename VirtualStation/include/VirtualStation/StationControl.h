// Control of the virtual station as a whole: its profile, scripted call
// failures, the call log, open handles and pacing.
//
// Tests and tools use it beside the NET_DVR_* calls; a client built for real
// stations never calls it.
//
// Thread safety: every function may be called from any thread.
#ifndef VSTATION_STATION_CONTROL_H
#define VSTATION_STATION_CONTROL_H

#include "VirtualStation/Vocabulary.h"

namespace vstation {

// ---- profile and state ----------------------------------------------------
// Replaces every station with those of `jsonText` (format: docs/virtual-station.md).
// On failure nothing changes and `error` says why.
VSTATION_API bool loadProfile(const std::string& jsonText, std::string* error = nullptr);
VSTATION_API bool loadProfileFile(const std::string& path, std::string* error = nullptr);
// The built-in profile: one station at 127.0.0.1:8000.
VSTATION_API std::string defaultProfile();
// What clients (and a person at the station) change on the station at
// address:port, as keys of its profile object: "rfCard", "captureRule",
// "offlineRule", "faceParam", "offlineRecords" (pictures included), in
// compact JSON. A profile with these keys brings the station back as it was;
// its file is read apart with stationFile. False when no station answers there.
VSTATION_API bool stationState(std::string* json, const std::string& address = "127.0.0.1", uint16_t port = 8000);
// Back to the state of a freshly loaded SDK: built-in profile, fresh station
// state, no sessions, init count 0, no faults, empty call log. Pacing is kept.
VSTATION_API void reset();

// ---- faults ---------------------------------------------------------------
// The next `times` calls of `call` (a NET_DVR_* name) fail with `error`.
VSTATION_API void failNext(const std::string& call, int32_t error, int times = 1);
// Every call of `call` fails with `error` until clearFaults().
VSTATION_API void failAlways(const std::string& call, int32_t error);
VSTATION_API void clearFaults();
// Every fault switched on and not yet used up, however it was switched on:
// call faults (failNext, failAlways), scripted configuration answers
// (ConfigControl.h) and scripted stream endings (StreamControl.h), each in
// the order it will be used.
VSTATION_API std::vector<ArmedFault> armedFaults();

// ---- observation ----------------------------------------------------------
VSTATION_API std::vector<CallRecord> callLog();
// The calls logged after `*position` (a count of calls since the last
// clear; 0 at first), and `*position` moved past them. The log keeps the
// last 100000 calls; older ones are skipped. A position from before a clear
// starts again at 0.
VSTATION_API std::vector<CallRecord> callLogSince(uint64_t* position);
VSTATION_API void clearCallLog();
VSTATION_API HandleCounts openHandles();
// Balance of NET_DVR_Init over NET_DVR_Cleanup calls.
VSTATION_API int initCount();
// What an SDK error number means, in words.
VSTATION_API const char* errorText(int32_t error);

// ---- pacing ---------------------------------------------------------------
// With pacing on (the default) the station takes the time a person at the
// reader would; tests turn it off. VSTATION_PACING=0 in the environment
// starts the process with pacing off.
VSTATION_API void setPacing(bool on);
VSTATION_API bool pacing();

}  // namespace vstation

#endif  // VSTATION_STATION_CONTROL_H
