// File upload and download: one CFileUtil per call.
#include <string>

#include "EnrollmentOperator.h"
#include "EnrollmentStation/EnrollmentStation.h"
#include "FileUtil/FileUtil.h"
#include "LastError.h"
#include "ZornNetSDK.h"

namespace EnrollmentStation {

namespace {

FileTransferInfo transferInfo(long userId, uint32_t fileType, const std::string& path) {
    FileTransferInfo info;
    info.userId = static_cast<int32_t>(userId);
    info.fileType = fileType;
    info.filePath = FileTransferInfo::terminatedPath(path);
    return info;
}

}  // namespace

bool CEnrollmentStation::uploadFile(const std::string& localPath) { return m_pOperator->uploadFile(localPath); }

bool CEnrollmentStation::downloadFile(const std::string& localPath) {
    return m_pOperator->downloadFile(localPath);
}

// Both test the init flag rather than the login handle, and fail without a
// last error when it is down.
bool CEnrollmentOperator::uploadFile(const std::string& localPath) {
    if (!m_bInit) {
        return false;
    }
    CFileUtil transfer(transferInfo(m_lUserID, NET_DVR_UPLOAD_FILE_TYPE, localPath));
    transfer.progress().open(progressTarget(), ProgressOperation::Upload);
    return runTransfer(transfer, &CFileUtil::startUpload);
}

bool CEnrollmentOperator::downloadFile(const std::string& localPath) {
    if (!m_bInit) {
        return false;
    }
    CFileUtil transfer(transferInfo(m_lUserID, NET_DVR_DOWNLOAD_FILE_TYPE, localPath));
    transfer.progress().open(progressTarget(), ProgressOperation::Download);
    return runTransfer(transfer, &CFileUtil::startDownload);
}

// A transfer as a cancellable operation of this object: a cancel that
// reached it makes the call fail with (69, 8207), whatever state it got to.
bool CEnrollmentOperator::runTransfer(CFileUtil& transfer, bool (CFileUtil::*start)(TransferState&)) {
    CRunningOperations::Registration running = m_running.enter([&transfer] { transfer.cancel(); });
    if (!running.admitted()) {
        setLastError(kErrMainLibrary, kErrCancelled);
        return false;
    }
    TransferState state;
    const bool done = (transfer.*start)(state);
    if (running.finish()) {
        setLastError(kErrMainLibrary, kErrCancelled);
        return false;
    }
    return done;
}

}  // namespace EnrollmentStation
