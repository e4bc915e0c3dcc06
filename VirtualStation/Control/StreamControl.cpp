// Control API of the long connections: samples, offline records, scripted
// endings; and the pacing and ending helpers the jobs share.
#include <deque>
#include <map>
#include <mutex>
#include <utility>

#include "State/CollectState.h"
#include "State/OfflineRecordJson.h"
#include "State/OfflineStore.h"
#include "Sdk/Runtime.h"
#include "State/Station.h"
#include "Jobs/StreamJobs.h"
#include "VirtualStation/StreamControl.h"

namespace vstation {

namespace {

// Scripts wait per command; the last clean-up and reset() drop them.
class StreamScripts {
public:
    static StreamScripts& instance() {
        static StreamScripts* const scripts = new StreamScripts();
        return *scripts;
    }

    void push(uint32_t command, const StreamScript& script) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting[command].push_back(script);
    }

    StreamScript take(uint32_t command) {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_waiting.find(command);
        if (it == m_waiting.end() || it->second.empty()) return StreamScript();
        StreamScript script = it->second.front();
        it->second.pop_front();
        return script;
    }

    void clear() {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting.clear();
    }

    void list(std::vector<ArmedFault>* faults) {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (const auto& command : m_waiting) {
            for (const StreamScript& script : command.second) {
                ArmedFault fault;
                fault.kind = ArmedKind::StreamEnding;
                fault.command = command.first;
                fault.ending = script.ending;
                fault.error = script.error;
                fault.reportDelayMs = script.reportDelayMs;
                fault.remaining = 1;
                faults->push_back(fault);
            }
        }
    }

private:
    StreamScripts() {
        Runtime::instance().addTeardownHook([this](int32_t userId) {
            if (userId == -1) clear();
        });
    }

    std::mutex m_mutex;
    std::map<uint32_t, std::deque<StreamScript>> m_waiting;
};

bool streamCommand(uint32_t command) {
    return command == NET_DVR_CAPTURE_FINGERPRINT_INFO || command == NET_DVR_CAPTURE_FACE_INFO ||
           command == NET_DVR_SEARCH_CAPTURE_DATA;
}

}  // namespace

StreamScript takeStreamScript(uint32_t command) { return StreamScripts::instance().take(command); }

void listStreamScripts(std::vector<ArmedFault>* faults) { StreamScripts::instance().list(faults); }

std::chrono::milliseconds paced(std::chrono::milliseconds wanted) {
    return Runtime::instance().pacing() ? wanted : std::chrono::milliseconds(0);
}

bool endingReport(const StreamScript& script, Report* report) {
    switch (script.ending) {
    case StreamEnding::Normal:
    case StreamEnding::Finished:
        *report = statusReport(NET_SDK_CALLBACK_STATUS_SUCCESS, 0, script.statusLength ? script.statusLength : 4);
        return true;
    case StreamEnding::Failed:
        *report = statusReport(NET_SDK_CALLBACK_STATUS_FAILED, script.error,
                               script.statusLength ? script.statusLength : 8);
        return true;
    case StreamEnding::Exception:
        *report = statusReport(NET_SDK_CALLBACK_STATUS_EXCEPTION, script.error,
                               script.statusLength ? script.statusLength : 20);
        return true;
    default:
        return false;
    }
}

FingerprintSample builtInFingerprintSample() { return defaultFingerprintSample(); }

FaceSample builtInFaceSample() { return defaultFaceSample(); }

bool setFingerprintSample(const FingerprintSample& sample, const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return false;
    auto shared = std::make_shared<const FingerprintSample>(sample);
    std::lock_guard<std::mutex> lock(station->mutex);
    station->collect.finger = std::move(shared);
    return true;
}

bool setFaceSample(const FaceSample& sample, const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return false;
    auto shared = std::make_shared<const FaceSample>(sample);
    std::lock_guard<std::mutex> lock(station->mutex);
    station->collect.face = std::move(shared);
    return true;
}

bool addOfflineRecords(const std::vector<OfflineRecord>& records, const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return false;
    RecordList stored;
    stored.reserve(records.size());
    for (const OfflineRecord& record : records) stored.push_back(storedRecord(record));
    std::lock_guard<std::mutex> lock(station->mutex);
    station->store.add(stored);
    return true;
}

bool addGeneratedRecords(const GeneratedRecords& plan, const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return false;
    size_t first = 0;
    {
        std::lock_guard<std::mutex> lock(station->mutex);
        first = station->store.size();
    }
    const RecordList records = generatedRecords(plan, first);
    std::lock_guard<std::mutex> lock(station->mutex);
    station->store.add(records);
    return true;
}

cJSON* savedRecordJson(const OfflineRecord& record) { return offlineRecordJson(record, kSavedRecordKeys); }

bool offlineRecords(std::vector<OfflineRecord>* records, const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station || !records) return false;
    std::shared_ptr<const RecordList> list;
    {
        std::lock_guard<std::mutex> lock(station->mutex);
        list = station->store.snapshot();
    }
    records->clear();
    records->reserve(list->size());
    for (const auto& stored : *list) {
        OfflineRecord record = stored->fields;
        if (stored->facePicture) record.facePicture = *stored->facePicture;
        if (stored->infraredPicture) record.infraredPicture = *stored->infraredPicture;
        records->push_back(std::move(record));
    }
    return true;
}

bool replaceOfflineRecord(int32_t captureNo, const OfflineRecord& record, const std::string& address,
                          uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return false;
    auto stored = storedRecord(record);
    std::lock_guard<std::mutex> lock(station->mutex);
    return station->store.replace(captureNo, std::move(stored));
}

bool removeOfflineRecord(int32_t captureNo, const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return false;
    std::lock_guard<std::mutex> lock(station->mutex);
    return station->store.remove(captureNo);
}

bool clearOfflineRecords(const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return false;
    std::lock_guard<std::mutex> lock(station->mutex);
    station->store.clear();
    return true;
}

long offlineRecordCount(const std::string& address, uint16_t port) {
    auto station = Runtime::instance().findStation(address, port);
    if (!station) return -1;
    std::lock_guard<std::mutex> lock(station->mutex);
    return static_cast<long>(station->store.size());
}

bool scriptStream(uint32_t command, const StreamScript& script) {
    if (!streamCommand(command)) return false;
    StreamScripts::instance().push(command, script);
    return true;
}

void clearStreamScripts() { StreamScripts::instance().clear(); }

}  // namespace vstation
