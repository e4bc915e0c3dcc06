// File transfers between the caller's disk and a station's file store.
//
// A transfer does its copying inside the state queries, one bounded chunk
// per query (with pacing on, plus a short pause per chunk as a network
// would take), so a caller that polls without pause makes steady progress
// and a transfer of any size ends after size / chunk queries. Nothing is
// held in memory beyond one chunk.
//
// Nothing half-written is ever visible: an upload is copied into the scratch
// folder and becomes the station's file only when complete; a download is
// written to a temporary file beside its target and renamed into place only
// when complete. A transfer that fails, is closed early, or is swept away by
// a logout, clean-up or reset removes its temporary file.
//
// Thread safety: every member may be called from any thread. The table lock
// is never held while a transfer's own lock is taken.
#ifndef VSTATION_FILETRANSFER_H
#define VSTATION_FILETRANSFER_H

#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "VirtualStation/Vocabulary.h"

namespace vstation {

struct Station;
class Transfer;

class FileTransfers {
public:
    static FileTransfers& instance();

    // Open a transfer for the session `userId` on `station`. Return its
    // handle, or -1 with `*error` set: NET_DVR_ERR_FILE (the local file
    // cannot be read or the target cannot be written), NET_DVR_ERR_BUSY (the
    // station already runs a transfer of that kind).
    int32_t startUpload(int32_t userId, std::shared_ptr<Station> station, const std::string& localPath,
                        int32_t* error);
    int32_t startDownload(int32_t userId, std::shared_ptr<Station> station, const std::string& localPath,
                          int32_t* error);

    // Advances the transfer by one chunk and returns its state (1 done,
    // 2 running, else failed) and progress 0-100; -1 with `*error` set to
    // NET_DVR_ERR_HANDLE for a handle that is not open.
    int32_t poll(TransferKind kind, int32_t handle, uint32_t* progress, int32_t* error);

    // Ends the transfer (a running one is dropped with its temporary file)
    // and forgets the handle. False for a handle that is not open.
    bool close(TransferKind kind, int32_t handle);

    // Control API.
    bool armFault(TransferKind kind, int32_t state, int afterPolls);
    void setChunkSize(size_t bytes);

    FileTransfers(const FileTransfers&) = delete;
    FileTransfers& operator=(const FileTransfers&) = delete;

private:
    FileTransfers();
    ~FileTransfers();

    struct Fault {
        bool armed = false;
        int32_t state = 0;
        int afterPolls = 0;
    };

    int32_t add(TransferKind kind, std::shared_ptr<Transfer> transfer);
    bool busy(TransferKind kind, const Station* station) const;
    Fault takeFault(TransferKind kind);
    // Ends the transfers of `userId` (every transfer for -1).
    void teardown(int32_t userId);

    mutable std::mutex m_mutex;
    std::map<std::pair<TransferKind, int32_t>, std::shared_ptr<Transfer>> m_open;
    Fault m_faults[2];
    size_t m_chunkSize;
    int m_hookId = -1;
};

}  // namespace vstation

#endif  // VSTATION_FILETRANSFER_H
