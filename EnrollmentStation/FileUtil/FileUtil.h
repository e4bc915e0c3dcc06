// CFileUtil: one file transfer between this machine and the station, from
// start to its final state.
//
// A transfer is started, then its state is polled until the SDK reports a
// final state (1 done, 3 failed, 4 aborted, or any value other than 2), then
// the handle is closed (uploads) or stopped (downloads). The handle is closed
// exactly once on every path after a successful start; a failed start has no
// handle and nothing is closed.
//
// Blocking: the poll loop runs on the caller's thread. While the SDK answers
// "running" (2) and the progress stands still, the pause between polls grows
// to a few milliseconds, so a long transfer does not keep a core busy; any
// progress brings the pause back to its shortest. There is no time-out: a
// transfer ends when the SDK reports another state or when cancel() is called.
//
// Progress: every state read while running, and the final done, goes to
// progress() when the progress word differs from the one before (the first
// read always does); on the caller's thread.
//
// Thread safety: an object belongs to the one call that built it; cancel()
// may be called from any thread while it runs.
#ifndef ENROLLMENTSTATION_FILEUTIL_FILEUTIL_H
#define ENROLLMENTSTATION_FILEUTIL_FILEUTIL_H

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "ProgressHook.h"

namespace EnrollmentStation {

struct TransferDirection;  // the calls and log lines of one direction (FileUtil.cpp)

// What the operator asks to transfer.
struct FileTransferInfo {
    int32_t userId = -1;
    uint32_t fileType = 0;
    void* inBuffer = nullptr;
    uint32_t inBufferSize = 0;
    std::vector<char> filePath;  // NUL-terminated; the SDK takes a writable text

    // The caller's path up to its first NUL.
    static std::vector<char> terminatedPath(const std::string& path);
};

// Progress of one transfer, as the poll loop last saw it.
struct TransferState {
    bool finished = false;  // the SDK reported state 1
    int32_t state = -1;     // the last state the SDK reported
    int32_t failureClass = 0;  // 0, or the sub code of the failure (8205, 8206)
    int32_t progress = 0;   // the progress word of the last poll
};

class CFileUtil {
public:
    explicit CFileUtil(const FileTransferInfo& info);

    CFileUtil(const CFileUtil&) = delete;
    CFileUtil& operator=(const CFileUtil&) = delete;

    // Both return true when the SDK reported state 1; otherwise false with the
    // last error set: (50, SDK error) when the start failed, (69, 8206) for
    // state 4, (69, 8205) for any other final state.
    // A cancelled transfer is closed and fails with (69, 8207).
    bool startUpload(TransferState& state);
    bool startDownload(TransferState& state);
    // Ends the running transfer at its next poll.
    void cancel() { m_bCancel = true; }
    // Opened by the caller before the start.
    ProgressHook& progress() { return m_progress; }

private:
    // Start, poll to the end, close: the one loop of both directions.
    bool run(const TransferDirection& direction, TransferState& state);

    int32_t m_userId;
    uint32_t m_fileType;
    void* m_inBuffer;
    uint32_t m_inBufferSize;
    std::vector<char> m_filePath;  // own copy, NUL-terminated
    int32_t m_handle = -1;         // the SDK's transfer handle while one is open
    std::atomic<bool> m_bCancel{false};
    ProgressHook m_progress;
};

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_FILEUTIL_FILEUTIL_H
