// CFileUtil: start a transfer, poll it to its end, close it.
#include "FileUtil/FileUtil.h"

#include "KestroBase.h"
#include "LastError.h"
#include "LogSource.h"
#include "SdkError.h"
#include "ZornNetSDK.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kUploadMethod = "EnrollmentStation::CFileUtil::startUpload";
constexpr const char* kDownloadMethod = "EnrollmentStation::CFileUtil::startDownload";

using StateCall = int32_t(ZORN_CALL*)(int32_t, uint32_t*);
using CloseCall = int32_t(ZORN_CALL*)(int32_t);

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

// Polls until the SDK reports anything but "running" and returns that state.
// No pause and no limit: the SDK does the transfer's work inside its state
// calls, and only it can end the transfer.
int32_t pollUntilEnd(StateCall stateCall, int32_t handle, TransferState& state) {
    for (;;) {
        uint32_t progress = 0;
        const int32_t result = stateCall(handle, &progress);
        state.state = result;
        state.progress = static_cast<int32_t>(progress);
        state.finished = result == NET_DVR_TRANSFER_DONE;
        if (result != NET_DVR_TRANSFER_RUNNING) {
            return result;
        }
        state.failureClass = 0;
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

bool CFileUtil::startUpload(TransferState& state) {
    m_handle = NET_DVR_UploadFile_V40(m_userId, m_fileType, m_inBuffer, m_inBufferSize,
                                      m_filePath.data(), nullptr, 0);
    if (m_handle == -1) {
        const int32_t error = takeSdkError();
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule,
            "[%s]CEnrollmentStationMgr::Upload file failed.iMainCode:%d, iSubCode:%d.[%s(%d)]",
            kUploadMethod, kErrMainSdk, error, kSrcFileUtil, __LINE__);
        return false;
    }
    HandleCloser closer(m_handle, &NET_DVR_UploadClose);

    switch (pollUntilEnd(&NET_DVR_GetUploadState, m_handle, state)) {
        case NET_DVR_TRANSFER_DONE:
            state.failureClass = 0;
            return true;
        case NET_DVR_TRANSFER_FAILED:
            Kestro::Base::details::VexaFormatLog(
                kLogFailure, kLogModule,
                "[%s]CEnrollmentStationMgr::Uploadload state return failed.iMainCode:%d, iSubCode:%d.[%s(%d)]",
                kUploadMethod, kErrMainLibrary, kErrTransferFailed, kSrcFileUtil, __LINE__);
            setLastError(kErrMainLibrary, kErrTransferFailed);
            state.failureClass = kErrTransferFailed;
            return false;
        case NET_DVR_TRANSFER_ABORTED:
            Kestro::Base::details::VexaFormatLog(
                kLogFailure, kLogModule,
                "[%s]CEnrollmentStationMgr::Uploadload state return failed. iMainCode:%d, iSubCode:%d.[%s(%d)]",
                kUploadMethod, kErrMainLibrary, kErrTransferAborted, kSrcFileUtil, __LINE__);
            setLastError(kErrMainLibrary, kErrTransferAborted);
            state.failureClass = kErrTransferAborted;
            return false;
        default:
            setLastError(kErrMainLibrary, kErrTransferFailed);
            Kestro::Base::details::VexaFormatLog(
                kLogFailure, kLogModule,
                "[%s]CEnrollmentStationMgr::DownLoadTemplateFile fail iMainCode:%d, iSubCode:%d[%s(%d)]",
                kUploadMethod, kErrMainLibrary, kErrTransferFailed, kSrcFileUtil, __LINE__);
            state.failureClass = kErrTransferFailed;
            return false;
    }
}

bool CFileUtil::startDownload(TransferState& state) {
    m_handle = NET_DVR_StartDownload(m_userId, m_fileType, m_inBuffer, m_inBufferSize, m_filePath.data());
    if (m_handle == -1) {
        const int32_t error = takeSdkError();
        Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                             "[%s]download file failed. ErrorCode [%d].[%s(%d)]",
                                             kDownloadMethod, error, kSrcFileUtil, __LINE__);
        return false;
    }
    HandleCloser stopper(m_handle, &NET_DVR_StopDownload);

    const int32_t result = pollUntilEnd(&NET_DVR_GetDownloadState, m_handle, state);
    switch (result) {
        case NET_DVR_TRANSFER_DONE:
            state.failureClass = 0;
            return true;
        case NET_DVR_TRANSFER_FAILED:
        case NET_DVR_TRANSFER_ABORTED: {
            Kestro::Base::details::VexaFormatLog(kLogFailure, kLogModule,
                                                 "[%s]download state return failed. ErrorCode [%d].[%s(%d)]",
                                                 kDownloadMethod, result, kSrcFileUtil, __LINE__);
            const int sub = result == NET_DVR_TRANSFER_ABORTED ? kErrTransferAborted : kErrTransferFailed;
            setLastError(kErrMainLibrary, sub);
            state.failureClass = sub;
            return false;
        }
        default:
            setLastError(kErrMainLibrary, kErrTransferFailed);
            state.failureClass = kErrTransferFailed;
            return false;
    }
}

}  // namespace EnrollmentStation
