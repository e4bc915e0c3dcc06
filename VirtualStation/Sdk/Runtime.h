// Process-wide state of the virtual SDK: init count, stations, login
// sessions, faults, the call log, handle counts and the per-thread last error.
//
// Every NET_DVR_* entry starts with `enter`, which logs the call and answers
// any fault scripted for it.
//
// Thread safety: all members may be called from any thread; the runtime takes
// its own lock and never calls out while holding it.
#ifndef VSTATION_RUNTIME_H
#define VSTATION_RUNTIME_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "VirtualStation/Vocabulary.h"

namespace vstation {

struct Station;

enum class HandleKind { Login, LongConnection, Upload, Download };

class Runtime {
public:
    static Runtime& instance();

    // Records the call (scalars, a copy of `record`, `text`) and checks the
    // scripted faults. Returns 0 when the call may go on, otherwise the error
    // number it must fail with. Fails with NET_DVR_ERR_NOT_INITIALISED when
    // the SDK is not initialised, except for the calls that need no init
    // (NET_DVR_Init, NET_DVR_GetLastError).
    int32_t enter(const char* call, std::initializer_list<int64_t> args,
                  const void* record = nullptr, size_t recordSize = 0,
                  const std::string& text = std::string());

    // The station behind a login handle, or null for an unknown handle.
    std::shared_ptr<Station> stationOf(int32_t userId);

    // Handle counting for every kind of handle the SDK hands out; the
    // families call these when they open and close connections and transfers.
    int32_t nextHandle(HandleKind kind);
    void opened(HandleKind kind);
    void closed(HandleKind kind);

    bool pacing() const;

    // Called, outside the runtime lock, when a login session ends (its
    // handle) and when the process's SDK state goes away (-1: NET_DVR_Cleanup
    // back to zero, reset()). Families close their connections and transfers
    // there; the counts of those kinds are zeroed after a -1 teardown anyway.
    using TeardownHook = std::function<void(int32_t userId)>;
    int addTeardownHook(TeardownHook hook);
    void removeTeardownHook(int id);

    // ---- plumbing of the session entries and the control API ---------------
    void init();
    // NET_DVR_ERR_NOT_INITIALISED when the count is already zero.
    int32_t cleanup();
    int initCount() const;
    // True once stations were loaded (a profile, reset(), or a control call
    // naming a station). Until then logins go over the link.
    bool hasStations() const;
    // The station answering at address:port, or null.
    std::shared_ptr<Station> findStation(const std::string& address, uint16_t port) const;
    // A new login handle on `station`, or -1 when no more sessions fit.
    int32_t openSession(std::shared_ptr<Station> station);
    bool closeSession(int32_t userId);

    // Replaces the stations; live sessions keep the ones they logged in to.
    void replaceStations(std::vector<std::shared_ptr<Station>> stations);
    void reset(std::vector<std::shared_ptr<Station>> stations);

    void failNext(const std::string& call, int32_t error, int times);
    void failAlways(const std::string& call, int32_t error);
    void clearFaults();
    // Appends the call faults not yet used up, by call name.
    void listFaults(std::vector<ArmedFault>* faults) const;
    std::vector<CallRecord> callLog() const;
    std::vector<CallRecord> callLogSince(uint64_t* position) const;
    void clearCallLog();
    HandleCounts openHandles() const;
    void setPacing(bool on);

    Runtime(const Runtime&) = delete;
    Runtime& operator=(const Runtime&) = delete;

private:
    Runtime();
    ~Runtime();
    void teardown(int32_t userId);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Per-thread last error of the SDK, as NET_DVR_GetLastError reports it.
void setLastError(int32_t error);
int32_t lastError();

// Sugar for entries: `return failWith(NET_DVR_ERR_X);` sets the last error and
// returns 0 (a failed BOOL call); failHandle returns -1 (a failed handle).
inline int32_t failWith(int32_t error) {
    setLastError(error);
    return 0;
}
inline int32_t failHandle(int32_t error) {
    setLastError(error);
    return -1;
}

}  // namespace vstation

#endif  // VSTATION_RUNTIME_H
