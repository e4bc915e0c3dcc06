// CFileUtil: start a transfer, poll it to its end, close it.
#include "FileUtil/FileUtil.h"

#include <algorithm>
#include <chrono>
#include <thread>

#include "KestroBase.h"
#include "LastError.h"
#include "Common/LogSource.h"
#include "SdkError.h"
#include "ZornNetSDK.h"

namespace EnrollmentStation {

namespace {

using StartCall = int32_t (*)(int32_t userId, uint32_t fileType, void* inBuffer, uint32_t inBufferSize,
                              char* filePath);
using StateCall = int32_t(ZORN_CALL*)(int32_t, uint32_t*);
using CloseCall = int32_t(ZORN_CALL*)(int32_t);

int32_t startUploadCall(int32_t userId, uint32_t fileType, void* inBuffer, uint32_t inBufferSize,
                        char* filePath) {
    return NET_DVR_UploadFile_V40(userId, fileType, inBuffer, inBufferSize, filePath, nullptr, 0);
}

int32_t startDownloadCall(int32_t userId, uint32_t fileType, void* inBuffer, uint32_t inBufferSize,
                          char* filePath) {
    return NET_DVR_StartDownload(userId, fileType, inBuffer, inBufferSize, filePath);
}

// Closes (or stops) the transfer once, however the poll loop was left; the
// SDK's answer to the close is not looked at.
class HandleCloser {
public:
    HandleCloser(int32_t& handle, CloseCall close) : m_handle(handle), m_close(close) {}
    ~HandleCloser() {
        m_close(m_handle);
        m_handle = -1;
    }
    HandleCloser(const HandleCloser&) = delete;
    HandleCloser& operator=(const HandleCloser&) = delete;

private:
    int32_t& m_handle;
    CloseCall m_close;
};

constexpr std::chrono::microseconds kShortestPause{50};
constexpr std::chrono::microseconds kLongestPause{4000};

// Polls until the SDK reports anything but "running" and returns that state,
// or until `cancel` is set (false). While nothing moves the pause doubles up
// to a few milliseconds; progress brings it back to the shortest.
bool pollUntilEnd(StateCall stateCall, int32_t handle, const std::atomic<bool>& cancel, TransferState& state,
                  int32_t& result, ProgressHook& hook) {
    std::chrono::microseconds pause = kShortestPause;
    bool reported = false;
    for (;;) {
        if (cancel) return false;
        uint32_t progress = 0;
        result = stateCall(handle, &progress);
        const bool moved = static_cast<int32_t>(progress) != state.progress;
        if ((result == NET_DVR_TRANSFER_RUNNING || result == NET_DVR_TRANSFER_DONE) && (moved || !reported)) {
            hook.report(progress);
            reported = true;
        }
        state.state = result;
        state.progress = static_cast<int32_t>(progress);
        state.finished = result == NET_DVR_TRANSFER_DONE;
        if (result != NET_DVR_TRANSFER_RUNNING) {
            return true;
        }
        state.failureClass = 0;
        pause = moved ? kShortestPause : std::min(pause * 2, kLongestPause);
        std::this_thread::sleep_for(pause);
    }
}

}  // namespace

// Everything in which an upload and a download differ: the SDK calls and the
// log lines. Upload lines show the code pair that is set, download lines the
// SDK's own number (the error or the final state); no text, no line.
struct TransferDirection {
    const char* method;
    StartCall start;
    StateCall state;
    CloseCall close;
    bool logsCodePair;
    const char* startFailedText;
    const char* failedText;      // final state 3
    const char* abortedText;     // final state 4
    const char* otherStateText;  // any other final state
};

namespace {

const TransferDirection kUpload = {
    "EnrollmentStation::CFileUtil::startUpload",
    &startUploadCall,
    &NET_DVR_GetUploadState,
    &NET_DVR_UploadClose,
    true,
    "[%s]CEnrollmentStationMgr::Upload file failed.iMainCode:%d, iSubCode:%d.[%s(%d)]",
    "[%s]CEnrollmentStationMgr::Uploadload state return failed.iMainCode:%d, iSubCode:%d.[%s(%d)]",
    "[%s]CEnrollmentStationMgr::Uploadload state return failed. iMainCode:%d, iSubCode:%d.[%s(%d)]",
    "[%s]CEnrollmentStationMgr::DownLoadTemplateFile fail iMainCode:%d, iSubCode:%d[%s(%d)]",
};

const TransferDirection kDownload = {
    "EnrollmentStation::CFileUtil::startDownload",
    &startDownloadCall,
    &NET_DVR_GetDownloadState,
    &NET_DVR_StopDownload,
    false,
    "[%s]download file failed. ErrorCode [%d].[%s(%d)]",
    "[%s]download state return failed. ErrorCode [%d].[%s(%d)]",
    "[%s]download state return failed. ErrorCode [%d].[%s(%d)]",
    nullptr,
};

// One failure line of `direction`: the code pair (main, sub) or the SDK's
// number, as the direction shows it.
void logFailure(const TransferDirection& direction, const char* text, int mainCode, int subCode,
                int32_t sdkNumber, int line) {
    if (text == nullptr) {
        return;
    }
    if (direction.logsCodePair) {
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule, text, direction.method, mainCode, subCode,
                                             kSrcFileUtil, line);
    } else {
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule, text, direction.method, sdkNumber,
                                             kSrcFileUtil, line);
    }
}

}  // namespace

std::vector<char> FileTransferInfo::terminatedPath(const std::string& path) {
    const std::string cut(path.c_str());
    std::vector<char> text(cut.begin(), cut.end());
    text.push_back('\0');
    return text;
}

CFileUtil::CFileUtil(const FileTransferInfo& info)
    : m_userId(info.userId),
      m_fileType(info.fileType),
      m_inBuffer(info.inBuffer),
      m_inBufferSize(info.inBufferSize),
      m_filePath(info.filePath) {
    if (m_filePath.empty() || m_filePath.back() != '\0') {
        m_filePath.push_back('\0');
    }
}

bool CFileUtil::startUpload(TransferState& state) { return run(kUpload, state); }

bool CFileUtil::startDownload(TransferState& state) { return run(kDownload, state); }

bool CFileUtil::run(const TransferDirection& direction, TransferState& state) {
    m_handle = direction.start(m_userId, m_fileType, m_inBuffer, m_inBufferSize, m_filePath.data());
    if (m_handle == -1) {
        const int32_t error = takeSdkError();
        logFailure(direction, direction.startFailedText, kErrMainSdk, error, error, __LINE__);
        return false;
    }
    HandleCloser closer(m_handle, direction.close);

    int32_t result = -1;
    if (!pollUntilEnd(direction.state, m_handle, m_bCancel, state, result, m_progress)) {
        setLastError(kErrMainLibrary, kErrCancelled);
        return false;
    }
    if (result == NET_DVR_TRANSFER_DONE) {
        state.failureClass = 0;
        return true;
    }
    const bool aborted = result == NET_DVR_TRANSFER_ABORTED;
    const int sub = aborted ? kErrTransferAborted : kErrTransferFailed;
    const char* text = aborted                                ? direction.abortedText
                       : result == NET_DVR_TRANSFER_FAILED ? direction.failedText
                                                            : direction.otherStateText;
    logFailure(direction, text, kErrMainLibrary, sub, result, __LINE__);
    setLastError(kErrMainLibrary, sub);
    state.failureClass = sub;
    return false;
}

}  // namespace EnrollmentStation
