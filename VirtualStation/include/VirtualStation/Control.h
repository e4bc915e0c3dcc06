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

#include <cstddef>
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

// ==== file transfer =========================================================
// The station keeps one file: a download of type 40 returns it, an upload of
// type 56 replaces it. A transfer advances by one chunk per state query.

enum class TransferKind { Upload, Download };

// The next transfer of `kind` answers "running" (2) to its first `afterPolls`
// state queries, however far it got, and `state` to the one after; it ends
// there and leaves no partial file. `state` is 3 (failed), 4 (aborted) or any
// value other than 1 and 2 (false, and nothing armed, for 1 and 2). A second
// call before that transfer starts replaces the first. Dropped when the SDK
// state goes away (reset(), the last NET_DVR_Cleanup).
VSTATION_API bool failTransferAt(TransferKind kind, int32_t state, int afterPolls = 0);
// Bytes a transfer copies per state query, for transfers started afterwards;
// 0 restores the default (1 MiB). Restored with the SDK state, as above.
VSTATION_API void setTransferChunkSize(size_t bytes);
// The file of the station at address:port. False when there is no such
// station or the station's disk refuses.
VSTATION_API bool setStationFile(const std::string& bytes, const std::string& address = "127.0.0.1",
                                 uint16_t port = 8000);
VSTATION_API bool stationFile(std::string* bytes, const std::string& address = "127.0.0.1",
                              uint16_t port = 8000);
// ==== end file transfer =====================================================

// ==== configuration protocol =================================================
// One-shot requests (NET_DVR_STDXMLConfig) and the ability document
// (NET_DVR_GetDeviceAbility). What is scripted here applies to whichever
// station is asked next, in the order scripted, and is dropped when the SDK
// state goes away (reset(), the last NET_DVR_Cleanup). A scripted answer
// replaces the station's own and changes none of its state.

// `requestLine` is matched exactly, "\r\n" included; "" matches every line
// that has no script of its own. `times` answers are queued.
// The reply body `body`, followed by a zero byte.
VSTATION_API void scriptReply(const std::string& requestLine, const std::string& body, int times = 1);
// The request fails with `statusJson` in the status buffer (zero-terminated).
VSTATION_API void scriptStatus(const std::string& requestLine, const std::string& statusJson, int times = 1);
// `bytes` copied verbatim, no zero byte added, into the reply buffer (the
// request succeeds) or, with `intoStatusBuffer`, the status buffer (it
// fails). Bytes that fill the buffer exactly are kept; more fail with
// NET_DVR_ERR_BUFFER_SMALL.
VSTATION_API void scriptRawReply(const std::string& requestLine, const std::string& bytes,
                                 bool intoStatusBuffer = false, int times = 1);
// The next ability document(s): `bytes`, zero-terminated unless `raw`.
VSTATION_API void scriptAbility(const std::string& bytes, bool raw = false, int times = 1);
VSTATION_API void clearScripts();

// Holds a card to the reader: the next card capture of any station reads it,
// before the profile's cards ("EMCard", "M1Card", "CPUCard" or "IDCard"; a
// type the reader has not enabled is refused with a status document).
VSTATION_API void presentCard(const std::string& cardNo, const std::string& cardType = "M1Card");

// What a station's configuration requests have left behind.
struct RFCardSetting {
    std::string cardType;
    bool enabled = false;
};
struct ConfigSnapshot {
    std::vector<RFCardSetting> rfCards;  // the offered card types, in the station's order
    bool enableCardNoLenAuto = false;    // the card capture rule
    int32_t cardNoLen = 0;
    int32_t cardTimeout = 0;
    std::string offlineRule;  // compact JSON of the last accepted "RuleInfo" object; "" before any
    size_t storedRecords = 0;  // records in the offline store
};
// False when no station answers at address:port.
VSTATION_API bool configState(ConfigSnapshot* snapshot, const std::string& address = "127.0.0.1",
                              uint16_t port = 8000);
// ==== end configuration protocol =============================================

}  // namespace vstation

#endif  // VSTATION_CONTROL_H
