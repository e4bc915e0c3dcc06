// File transfers: the table of open transfers and the chunked copy.
#include "FileTransfer.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <thread>
#include <vector>

#include "DeviceState.h"
#include "Runtime.h"
#include "ScratchFolder.h"
#include "Station.h"
#include "ZornNetSDK.h"

namespace vstation {

namespace {

constexpr size_t kDefaultChunk = size_t{1} << 20;
// With pacing on, a chunk takes about as long as on a 64 MiB/s link.
constexpr uint64_t kPacedBytesPerSecond = uint64_t{64} << 20;

struct FileCloser {
    void operator()(FILE* file) const { std::fclose(file); }
};
using FilePtr = std::unique_ptr<FILE, FileCloser>;

int kindIndex(TransferKind kind) { return kind == TransferKind::Upload ? 0 : 1; }

HandleKind handleKind(TransferKind kind) {
    return kind == TransferKind::Upload ? HandleKind::Upload : HandleKind::Download;
}

void pace(size_t bytes) {
    if (!Runtime::instance().pacing()) return;
    const auto micros = std::max<uint64_t>(1000, bytes * 1000000 / kPacedBytesPerSecond);
    std::this_thread::sleep_for(std::chrono::microseconds(micros));
}

// A new file, made with the caller's usual permissions (umask applies),
// never over an existing one.
FilePtr createExclusive(const std::string& path) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    FILE* file = ::fdopen(fd, "wb");
    if (!file) {
        ::close(fd);
        ::unlink(path.c_str());
    }
    return FilePtr(file);
}

}  // namespace

// One transfer: a source open for reading, a temporary sink, and where the
// sink goes when the copy is complete.
class Transfer {
public:
    Transfer(TransferKind kind, int32_t userId, std::shared_ptr<Station> station, FilePtr source,
             uint64_t size, FilePtr sink, std::string sinkPath, std::string target)
        : kind_(kind),
          userId_(userId),
          station_(std::move(station)),
          source_(std::move(source)),
          total_(size),
          sink_(std::move(sink)),
          sinkPath_(std::move(sinkPath)),
          target_(std::move(target)) {}

    ~Transfer() { drop(); }

    Transfer(const Transfer&) = delete;
    Transfer& operator=(const Transfer&) = delete;

    TransferKind kind() const { return kind_; }
    int32_t userId() const { return userId_; }
    const Station* station() const { return station_.get(); }

    // Before the transfer is visible to anyone else.
    void configure(size_t chunk, int32_t faultState, int faultAfterPolls, bool faultArmed) {
        chunk_ = chunk;
        faultState_ = faultState;
        faultAfterPolls_ = faultAfterPolls;
        faultArmed_ = faultArmed;
    }

    int32_t poll(uint32_t* progress) {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ == NET_DVR_TRANSFER_RUNNING) step();
        *progress = progress_;
        return state_;
    }

    // Closed by the caller or swept away: a running transfer leaves nothing behind.
    void end() {
        std::lock_guard<std::mutex> lock(mutex_);
        if (state_ == NET_DVR_TRANSFER_RUNNING) state_ = NET_DVR_TRANSFER_ABORTED;
        drop();
    }

private:
    void step() {
        ++polls_;
        if (faultArmed_ && polls_ > faultAfterPolls_) {
            fail(faultState_);
            return;
        }
        const size_t want = static_cast<size_t>(std::min<uint64_t>(chunk_, total_ - copied_));
        if (want > 0) {
            if (buffer_.size() < want) buffer_.resize(want);
            if (std::fread(buffer_.data(), 1, want, source_.get()) != want ||
                std::fwrite(buffer_.data(), 1, want, sink_.get()) != want) {
                fail(NET_DVR_TRANSFER_FAILED);
                return;
            }
            copied_ += want;
            pace(want);
        }
        // An armed fault holds the transfer at "running" until it fires.
        if (copied_ == total_ && !faultArmed_) {
            if (!publish()) {
                fail(NET_DVR_TRANSFER_FAILED);
                return;
            }
            state_ = NET_DVR_TRANSFER_DONE;
            progress_ = 100;
            return;
        }
        progress_ = total_ == 0 ? 99 : static_cast<uint32_t>(std::min<uint64_t>(99, copied_ * 100 / total_));
    }

    // The complete copy takes its place: the station's file for an upload,
    // the target path for a download.
    bool publish() {
        source_.reset();
        const bool flushed = std::fclose(sink_.release()) == 0;
        if (!flushed) return false;
        if (kind_ == TransferKind::Upload) {
            auto stored = std::make_shared<const StoredFile>(sinkPath_, total_);
            sinkPath_.clear();  // the stored file owns it now
            std::lock_guard<std::mutex> lock(station_->mutex);
            station_->device.replaceFile(std::move(stored));
            return true;
        }
        if (std::rename(sinkPath_.c_str(), target_.c_str()) != 0) return false;
        sinkPath_.clear();
        return true;
    }

    void fail(int32_t state) {
        drop();
        state_ = state;
    }

    // Closes both ends and removes an unfinished copy.
    void drop() {
        source_.reset();
        sink_.reset();
        if (!sinkPath_.empty()) {
            ::unlink(sinkPath_.c_str());
            sinkPath_.clear();
        }
        std::vector<char>().swap(buffer_);
    }

    const TransferKind kind_;
    const int32_t userId_;
    const std::shared_ptr<Station> station_;

    std::mutex mutex_;
    FilePtr source_;
    uint64_t total_;
    uint64_t copied_ = 0;
    FilePtr sink_;
    std::string sinkPath_;  // empty once published or dropped
    std::string target_;    // download target; unused for uploads
    std::vector<char> buffer_;
    size_t chunk_ = kDefaultChunk;
    int polls_ = 0;
    int32_t state_ = NET_DVR_TRANSFER_RUNNING;
    uint32_t progress_ = 0;
    bool faultArmed_ = false;
    int32_t faultState_ = 0;
    int faultAfterPolls_ = 0;
};

FileTransfers& FileTransfers::instance() {
    static FileTransfers transfers;
    return transfers;
}

FileTransfers::FileTransfers() : chunkSize_(kDefaultChunk) {
    hookId_ = Runtime::instance().addTeardownHook([this](int32_t userId) { teardown(userId); });
}

// At exit: partial files of transfers still open are removed with them.
FileTransfers::~FileTransfers() { Runtime::instance().removeTeardownHook(hookId_); }

int32_t FileTransfers::startUpload(int32_t userId, std::shared_ptr<Station> station,
                                   const std::string& localPath, int32_t* error) {
    FilePtr source(localPath.empty() ? nullptr : std::fopen(localPath.c_str(), "rb"));
    struct stat info {};
    if (!source || ::fstat(::fileno(source.get()), &info) != 0 || !S_ISREG(info.st_mode)) {
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
                                               static_cast<uint64_t>(info.st_size), std::move(sink),
                                               std::move(sinkPath), std::string());
    const int32_t handle = add(TransferKind::Upload, std::move(transfer));
    if (handle < 0) *error = NET_DVR_ERR_BUSY;
    return handle;
}

int32_t FileTransfers::startDownload(int32_t userId, std::shared_ptr<Station> station,
                                     const std::string& localPath, int32_t* error) {
    struct stat info {};
    if (localPath.empty() || (::stat(localPath.c_str(), &info) == 0 && S_ISDIR(info.st_mode))) {
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
    std::string sinkPath = localPath + ".part-" + std::to_string(::getpid()) + "-" +
                           std::to_string(nextScratchNumber());
    FilePtr sink = createExclusive(sinkPath);
    if (!sink) {
        *error = NET_DVR_ERR_FILE;
        return -1;
    }
    auto transfer = std::make_shared<Transfer>(TransferKind::Download, userId, std::move(station),
                                               std::move(source), stored->size(), std::move(sink),
                                               std::move(sinkPath), localPath);
    const int32_t handle = add(TransferKind::Download, std::move(transfer));
    if (handle < 0) *error = NET_DVR_ERR_BUSY;
    return handle;
}

int32_t FileTransfers::add(TransferKind kind, std::shared_ptr<Transfer> transfer) {
    int32_t handle = -1;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        // One transfer of each kind per station at a time, as a device allows.
        for (const auto& entry : open_) {
            if (entry.first.first == kind && entry.second->station() == transfer->station()) return -1;
        }
        Fault& fault = faults_[kindIndex(kind)];
        transfer->configure(chunkSize_, fault.state, fault.afterPolls, fault.armed);
        fault = Fault();
        handle = Runtime::instance().nextHandle(handleKind(kind));
        open_.emplace(std::make_pair(kind, handle), std::move(transfer));
    }
    Runtime::instance().opened(handleKind(kind));
    return handle;
}

int32_t FileTransfers::poll(TransferKind kind, int32_t handle, uint32_t* progress, int32_t* error) {
    std::shared_ptr<Transfer> transfer;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = open_.find(std::make_pair(kind, handle));
        if (it != open_.end()) transfer = it->second;
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
        std::lock_guard<std::mutex> lock(mutex_);
        auto it = open_.find(std::make_pair(kind, handle));
        if (it == open_.end()) return false;
        transfer = std::move(it->second);
        open_.erase(it);
    }
    transfer->end();
    Runtime::instance().closed(handleKind(kind));
    return true;
}

bool FileTransfers::armFault(TransferKind kind, int32_t state, int afterPolls) {
    if (state == NET_DVR_TRANSFER_DONE || state == NET_DVR_TRANSFER_RUNNING) return false;
    std::lock_guard<std::mutex> lock(mutex_);
    Fault& fault = faults_[kindIndex(kind)];
    fault.armed = true;
    fault.state = state;
    fault.afterPolls = std::max(0, afterPolls);
    return true;
}

void FileTransfers::setChunkSize(size_t bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    chunkSize_ = bytes == 0 ? kDefaultChunk : bytes;
}

void FileTransfers::teardown(int32_t userId) {
    std::vector<std::shared_ptr<Transfer>> ended;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        for (auto it = open_.begin(); it != open_.end();) {
            if (userId == -1 || it->second->userId() == userId) {
                ended.push_back(std::move(it->second));
                it = open_.erase(it);
            } else {
                ++it;
            }
        }
        if (userId == -1) {
            faults_[0] = Fault();
            faults_[1] = Fault();
            chunkSize_ = kDefaultChunk;
        }
    }
    for (const auto& transfer : ended) {
        transfer->end();
        Runtime::instance().closed(handleKind(transfer->kind()));
    }
}

}  // namespace vstation
