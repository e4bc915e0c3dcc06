// File transfers: the table of open transfers and the chunked copy.
#include "Jobs/FileTransfer.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <thread>
#include <vector>

#include "State/DeviceState.h"
#include "State/LocalFiles.h"
#include "Sdk/Runtime.h"
#include "State/ScratchFolder.h"
#include "State/Station.h"
#include "ZornNetSDK.h"

namespace vstation {

namespace {

constexpr size_t kDefaultChunk = size_t{1} << 20;
// With pacing on, a chunk takes about as long as on a 64 MiB/s link.
constexpr uint64_t kPacedBytesPerSecond = uint64_t{64} << 20;

int kindIndex(TransferKind kind) { return kind == TransferKind::Upload ? 0 : 1; }

HandleKind handleKind(TransferKind kind) {
    return kind == TransferKind::Upload ? HandleKind::Upload : HandleKind::Download;
}

void pace(size_t bytes) {
    if (!Runtime::instance().pacing()) return;
    const auto micros = std::max<uint64_t>(1000, bytes * 1000000 / kPacedBytesPerSecond);
    std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

}  // namespace

// One transfer: a source open for reading, a temporary sink, and where the
// sink goes when the copy is complete.
class Transfer {
public:
    Transfer(TransferKind kind, int32_t userId, std::shared_ptr<Station> station, FilePtr source,
             uint64_t size, FilePtr sink, std::string sinkPath, std::string target,
             std::shared_ptr<const StoredFile> storedSource = nullptr)
        : m_kind(kind),
          m_userId(userId),
          m_station(std::move(station)),
          m_storedSource(std::move(storedSource)),
          m_source(std::move(source)),
          m_total(size),
          m_sink(std::move(sink)),
          m_sinkPath(std::move(sinkPath)),
          m_target(std::move(target)) {}

    ~Transfer() { drop(); }

    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    TransferKind kind() const { return m_kind; }
    int32_t userId() const { return m_userId; }
    const Station* station() const { return m_station.get(); }

    // Before the transfer is visible to anyone else.
    void configure(size_t chunk, int32_t faultState, int faultAfterPolls, bool faultArmed) {
        m_chunk = chunk;
        m_faultState = faultState;
        m_faultAfterPolls = faultAfterPolls;
        m_faultArmed = faultArmed;
    }

    int32_t poll(uint32_t* progress) {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_state == NET_DVR_TRANSFER_RUNNING) step();
        *progress = m_progress;
        return m_state;
    }

    // Closed by the caller or swept away: a running transfer leaves nothing behind.
    void end() {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (m_state == NET_DVR_TRANSFER_RUNNING) m_state = NET_DVR_TRANSFER_ABORTED;
        drop();
    }

private:
    void step() {
        ++m_polls;
        if (m_faultArmed && m_polls > m_faultAfterPolls) {
            fail(m_faultState);
            return;
        }
        const size_t want = static_cast<size_t>(std::min<uint64_t>(m_chunk, m_total - m_copied));
        if (want > 0) {
            if (m_buffer.size() < want) m_buffer.resize(want);
            if (std::fread(m_buffer.data(), 1, want, m_source.get()) != want ||
                std::fwrite(m_buffer.data(), 1, want, m_sink.get()) != want) {
                fail(NET_DVR_TRANSFER_FAILED);
                return;
            }
            m_copied += want;
            pace(want);
        }
        // An armed fault holds the transfer at "running" until it fires.
        if (m_copied == m_total && !m_faultArmed) {
            if (!publish()) {
                fail(NET_DVR_TRANSFER_FAILED);
                return;
            }
            m_state = NET_DVR_TRANSFER_DONE;
            m_progress = 100;
            return;
        }
        m_progress = m_total == 0 ? 99 : static_cast<uint32_t>(std::min<uint64_t>(99, m_copied * 100 / m_total));
    }

    // The complete copy takes its place: the station's file for an upload,
    // the target path for a download.
    bool publish() {
        m_source.reset();
        const bool flushed = std::fclose(m_sink.release()) == 0;
        if (!flushed) return false;
        if (m_kind == TransferKind::Upload) {
            auto stored = std::make_shared<const StoredFile>(m_sinkPath, m_total);
            m_sinkPath.clear();  // the stored file owns it now
            std::lock_guard<std::mutex> lock(m_station->mutex);
            m_station->device.replaceFile(std::move(stored));
            return true;
        }
        if (!moveReplacing(m_sinkPath, m_target)) return false;
        m_sinkPath.clear();
        return true;
    }

    void fail(int32_t state) {
        drop();
        m_state = state;
    }

    // Closes both ends and removes an unfinished copy.
    void drop() {
        m_source.reset();
        m_sink.reset();
        if (!m_sinkPath.empty()) {
            removeFile(m_sinkPath);
            m_sinkPath.clear();
        }
        std::vector<char>().swap(m_buffer);
    }

    const TransferKind m_kind;
    const int32_t m_userId;
    const std::shared_ptr<Station> m_station;

    std::mutex m_mutex;
    // A download holds the station's file until it has closed it: a file
    // still open cannot be removed everywhere.
    std::shared_ptr<const StoredFile> m_storedSource;
    FilePtr m_source;
    uint64_t m_total;
    uint64_t m_copied = 0;
    FilePtr m_sink;
    std::string m_sinkPath;  // empty once published or dropped
    std::string m_target;    // download target; unused for uploads
    std::vector<char> m_buffer;
    size_t m_chunk = kDefaultChunk;
    int m_polls = 0;
    int32_t m_state = NET_DVR_TRANSFER_RUNNING;
    uint32_t m_progress = 0;
    bool m_faultArmed = false;
    int32_t m_faultState = 0;
    int m_faultAfterPolls = 0;
};

FileTransfers& FileTransfers::instance() {
    static FileTransfers transfers;
    return transfers;
}

FileTransfers::FileTransfers() : m_chunkSize(kDefaultChunk) {
    m_hookId = Runtime::instance().addTeardownHook([this](int32_t userId) { teardown(userId); });
}

// At exit: partial files of transfers still open are removed with them.
FileTransfers::~FileTransfers() { Runtime::instance().removeTeardownHook(m_hookId); }

int32_t FileTransfers::startUpload(int32_t userId, std::shared_ptr<Station> station,
                                   const std::string& localPath, int32_t* error) {
    std::error_code statError;
    const bool regular = !localPath.empty() && std::filesystem::is_regular_file(localPath, statError);
    FilePtr source(regular ? std::fopen(localPath.c_str(), "rb") : nullptr);
    const uintmax_t size = source ? std::filesystem::file_size(localPath, statError) : 0;
    if (!source || statError) {
        *error = NET_DVR_ERR_FILE;
        return -1;
    }
    std::string sinkPath = scratchPath("upload");
    FilePtr sink;
    if (!sinkPath.empty()) sink = createExclusive(sinkPath);
    if (!sink) {
        *error = NET_DVR_ERR_ALLOC;
        return -1;
    }
    auto transfer = std::make_shared<Transfer>(TransferKind::Upload, userId, std::move(station), std::move(source),
                                               static_cast<uint64_t>(size), std::move(sink),
                                               std::move(sinkPath), std::string());
    const int32_t handle = add(TransferKind::Upload, std::move(transfer));
    if (handle < 0) *error = NET_DVR_ERR_BUSY;
    return handle;
}

int32_t FileTransfers::startDownload(int32_t userId, std::shared_ptr<Station> station,
                                     const std::string& localPath, int32_t* error) {
    std::error_code statError;
    if (localPath.empty() || std::filesystem::is_directory(localPath, statError)) {
        *error = NET_DVR_ERR_FILE;
        return -1;
    }
    std::shared_ptr<const StoredFile> stored;
    {
        std::lock_guard<std::mutex> lock(station->mutex);
        stored = station->device.file();
    }
    // The open file stays readable even if an upload replaces it meanwhile.
    FilePtr source(stored ? std::fopen(stored->path().c_str(), "rb") : nullptr);
    if (!source) {
        *error = NET_DVR_ERR_ALLOC;
        return -1;
    }
    std::string sinkPath = localPath + ".part-" + std::to_string(processNumber()) + "-" +
                           std::to_string(nextScratchNumber());
    FilePtr sink = createExclusive(sinkPath);
    if (!sink) {
        *error = NET_DVR_ERR_FILE;
        return -1;
    }
    auto transfer = std::make_shared<Transfer>(TransferKind::Download, userId, std::move(station),
                                               std::move(source), stored->size(), std::move(sink),
                                               std::move(sinkPath), localPath, stored);
    const int32_t handle = add(TransferKind::Download, std::move(transfer));
    if (handle < 0) *error = NET_DVR_ERR_BUSY;
    return handle;
}

int32_t FileTransfers::add(TransferKind kind, std::shared_ptr<Transfer> transfer) {
    int32_t handle = -1;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // One transfer of each kind per station at a time, as a device allows.
        for (const auto& entry : m_open) {
            if (entry.first.first == kind && entry.second->station() == transfer->station()) return -1;
        }
        Fault& fault = m_faults[kindIndex(kind)];
        transfer->configure(m_chunkSize, fault.state, fault.afterPolls, fault.armed);
        fault = Fault();
        handle = Runtime::instance().nextHandle(handleKind(kind));
        m_open.emplace(std::make_pair(kind, handle), std::move(transfer));
    }
    Runtime::instance().opened(handleKind(kind));
    return handle;
}

int32_t FileTransfers::poll(TransferKind kind, int32_t handle, uint32_t* progress, int32_t* error) {
    std::shared_ptr<Transfer> transfer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_open.find(std::make_pair(kind, handle));
        if (it != m_open.end()) transfer = it->second;
    }
    if (!transfer) {
        *error = NET_DVR_ERR_HANDLE;
        return -1;
    }
    return transfer->poll(progress);
}

bool FileTransfers::close(TransferKind kind, int32_t handle) {
    std::shared_ptr<Transfer> transfer;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        auto it = m_open.find(std::make_pair(kind, handle));
        if (it == m_open.end()) return false;
        transfer = std::move(it->second);
        m_open.erase(it);
    }
    transfer->end();
    Runtime::instance().closed(handleKind(kind));
    return true;
}

bool FileTransfers::armFault(TransferKind kind, int32_t state, int afterPolls) {
    if (state == NET_DVR_TRANSFER_DONE || state == NET_DVR_TRANSFER_RUNNING) return false;
    std::lock_guard<std::mutex> lock(m_mutex);
    Fault& fault = m_faults[kindIndex(kind)];
    fault.armed = true;
    fault.state = state;
    fault.afterPolls = std::max(0, afterPolls);
    return true;
}

void FileTransfers::setChunkSize(size_t bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_chunkSize = bytes == 0 ? kDefaultChunk : bytes;
}

void FileTransfers::teardown(int32_t userId) {
    std::vector<std::shared_ptr<Transfer>> ended;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        for (auto it = m_open.begin(); it != m_open.end();) {
            if (userId == -1 || it->second->userId() == userId) {
                ended.push_back(std::move(it->second));
                it = m_open.erase(it);
            } else {
                ++it;
            }
        }
        if (userId == -1) {
            m_faults[0] = Fault();
            m_faults[1] = Fault();
            m_chunkSize = kDefaultChunk;
        }
    }
    for (const auto& transfer : ended) {
        transfer->end();
        Runtime::instance().closed(handleKind(transfer->kind()));
    }
}

}  // namespace vstation
