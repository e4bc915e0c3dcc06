// Control API of the virtual station (the stand-in device network SDK).
//
// Tests and tools use it beside the NET_DVR_* calls: load a profile (the
// stations, their accounts and contents), script faults, read the call log,
// count open handles. It is not part of the SDK's interface; a client built
// for real stations never calls it.
//
// Thread safety: every function may be called from any thread.
#ifndef VSTATION_CONTROL_H
#define VSTATION_CONTROL_H

#include <cstdint>
#include <string>
#include <vector>

#if defined(_WIN32)
#  if defined(VSTATION_BUILD)
#    define VSTATION_API __declspec(dllexport)
#  else
#    define VSTATION_API __declspec(dllimport)
#  endif
#else
#  define VSTATION_API __attribute__((visibility("default")))
#endif

namespace vstation {

// One NET_DVR_* call as the SDK received it.
struct CallRecord {
    std::string call;               // function name, e.g. "NET_DVR_Login_V40"
    std::vector<int64_t> args;      // scalar arguments in order (handles, commands, sizes)
    std::vector<uint8_t> record;    // copy of the main record handed in, if any
    std::string text;               // texts handed in (request line + body, path, page)
};

// Handles that are open now, by kind.
struct HandleCounts {
    int logins = 0;
    int longConnections = 0;
    int uploads = 0;
    int downloads = 0;
    int total() const { return logins + longConnections + uploads + downloads; }
};

// ---- profile and state ----------------------------------------------------
// Replaces every station with those of `jsonText` (format: docs/virtual-station.md).
// On failure nothing changes and `error` says why.
VSTATION_API bool loadProfile(const std::string& jsonText, std::string* error = nullptr);
VSTATION_API bool loadProfileFile(const std::string& path, std::string* error = nullptr);
// The built-in profile: one station at 127.0.0.1:8000.
VSTATION_API std::string defaultProfile();
// Back to the state of a freshly loaded SDK: built-in profile, fresh station
// state, no sessions, init count 0, no faults, empty call log. Pacing is kept.
VSTATION_API void reset();

// ---- faults ---------------------------------------------------------------
// The next `times` calls of `call` (a NET_DVR_* name) fail with `error`.
VSTATION_API void failNext(const std::string& call, int32_t error, int times = 1);
// Every call of `call` fails with `error` until clearFaults().
VSTATION_API void failAlways(const std::string& call, int32_t error);
VSTATION_API void clearFaults();

// ---- observation ----------------------------------------------------------
VSTATION_API std::vector<CallRecord> callLog();
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

#endif  // VSTATION_CONTROL_H
