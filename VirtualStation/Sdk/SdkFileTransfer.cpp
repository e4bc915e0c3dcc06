// File transfer calls: upload (type 56) and download (type 40), their state
// queries and their close calls.
#include <string>

#include "Jobs/FileTransfer.h"
#include "Link/RemoteStation.h"
#include "Sdk/Runtime.h"
#include "State/Station.h"
#include "ZornNetSDK.h"

using vstation::failHandle;
using vstation::failWith;
using vstation::FileTransfers;
using vstation::Runtime;
using vstation::TransferKind;

namespace {

// An optional buffer comes with its size, or with none at all.
bool consistent(const void* buffer, uint32_t size) { return (buffer == nullptr) == (size == 0); }

int32_t pollState(TransferKind kind, int32_t handle, uint32_t* progress) {
    if (!progress) return failHandle(NET_DVR_ERR_PARAMETER);
    int32_t error = NET_DVR_ERR_NONE;
    const int32_t state = FileTransfers::instance().poll(kind, handle, progress, &error);
    return state < 0 ? failHandle(error) : state;
}

int32_t closeTransfer(TransferKind kind, int32_t handle) {
    if (!FileTransfers::instance().close(kind, handle)) return failWith(NET_DVR_ERR_HANDLE);
    return 1;
}

}  // namespace

extern "C" {

ZORN_API int32_t ZORN_CALL NET_DVR_UploadFile_V40(int32_t lUserID, uint32_t dwUploadType, void* lpInBuffer,
                                                  uint32_t dwInBufferSize, char* sFileName, void* lpOutBuffer,
                                                  uint32_t dwOutBufferSize) {
    const std::string path = sFileName ? sFileName : "";
    if (int32_t error = Runtime::instance().enter("NET_DVR_UploadFile_V40",
                                                  {lUserID, dwUploadType, dwInBufferSize, dwOutBufferSize},
                                                  nullptr, 0, path)) {
        return failHandle(error);
    }
    if (vstation::link::isRemote(vstation::HandleKind::Login, lUserID)) {
        return vstation::link::uploadFile(lUserID, dwUploadType, lpInBuffer, dwInBufferSize, sFileName, lpOutBuffer,
                             dwOutBufferSize);
    }
    if (!sFileName || !consistent(lpInBuffer, dwInBufferSize) || !consistent(lpOutBuffer, dwOutBufferSize)) {
        return failHandle(NET_DVR_ERR_PARAMETER);
    }
    auto station = Runtime::instance().stationOf(lUserID);
    if (!station) return failHandle(NET_DVR_ERR_USER_ID);
    if (dwUploadType != NET_DVR_UPLOAD_FILE_TYPE) return failHandle(NET_DVR_ERR_NOT_SUPPORTED);

    int32_t error = NET_DVR_ERR_NONE;
    const int32_t handle = FileTransfers::instance().startUpload(lUserID, std::move(station), path, &error);
    return handle < 0 ? failHandle(error) : handle;
}

ZORN_API int32_t ZORN_CALL NET_DVR_GetUploadState(int32_t lUploadHandle, uint32_t* pProgress) {
    if (int32_t error = Runtime::instance().enter("NET_DVR_GetUploadState", {lUploadHandle})) {
        return failHandle(error);
    }
    if (vstation::link::isRemote(vstation::HandleKind::Upload, lUploadHandle)) return vstation::link::transferState(vstation::HandleKind::Upload, lUploadHandle, pProgress);
    return pollState(TransferKind::Upload, lUploadHandle, pProgress);
}

ZORN_API int32_t ZORN_CALL NET_DVR_UploadClose(int32_t lUploadHandle) {
    if (int32_t error = Runtime::instance().enter("NET_DVR_UploadClose", {lUploadHandle})) return failWith(error);
    if (vstation::link::isRemote(vstation::HandleKind::Upload, lUploadHandle)) return vstation::link::closeTransfer(vstation::HandleKind::Upload, lUploadHandle);
    return closeTransfer(TransferKind::Upload, lUploadHandle);
}

ZORN_API int32_t ZORN_CALL NET_DVR_StartDownload(int32_t lUserID, uint32_t dwDownloadType, void* lpInBuffer,
                                                 uint32_t dwInBufferSize, char* sFileName) {
    const std::string path = sFileName ? sFileName : "";
    if (int32_t error = Runtime::instance().enter("NET_DVR_StartDownload", {lUserID, dwDownloadType, dwInBufferSize},
                                                  nullptr, 0, path)) {
        return failHandle(error);
    }
    if (vstation::link::isRemote(vstation::HandleKind::Login, lUserID)) {
        return vstation::link::startDownload(lUserID, dwDownloadType, lpInBuffer, dwInBufferSize, sFileName);
    }
    if (!sFileName || !consistent(lpInBuffer, dwInBufferSize)) return failHandle(NET_DVR_ERR_PARAMETER);
    auto station = Runtime::instance().stationOf(lUserID);
    if (!station) return failHandle(NET_DVR_ERR_USER_ID);
    if (dwDownloadType != NET_DVR_DOWNLOAD_FILE_TYPE) return failHandle(NET_DVR_ERR_NOT_SUPPORTED);

    int32_t error = NET_DVR_ERR_NONE;
    const int32_t handle = FileTransfers::instance().startDownload(lUserID, std::move(station), path, &error);
    return handle < 0 ? failHandle(error) : handle;
}

ZORN_API int32_t ZORN_CALL NET_DVR_GetDownloadState(int32_t lDownloadHandle, uint32_t* pProgress) {
    if (int32_t error = Runtime::instance().enter("NET_DVR_GetDownloadState", {lDownloadHandle})) {
        return failHandle(error);
    }
    if (vstation::link::isRemote(vstation::HandleKind::Download, lDownloadHandle)) {
        return vstation::link::transferState(vstation::HandleKind::Download, lDownloadHandle, pProgress);
    }
    return pollState(TransferKind::Download, lDownloadHandle, pProgress);
}

ZORN_API int32_t ZORN_CALL NET_DVR_StopDownload(int32_t lDownloadHandle) {
    if (int32_t error = Runtime::instance().enter("NET_DVR_StopDownload", {lDownloadHandle})) return failWith(error);
    if (vstation::link::isRemote(vstation::HandleKind::Download, lDownloadHandle)) return vstation::link::closeTransfer(vstation::HandleKind::Download, lDownloadHandle);
    return closeTransfer(TransferKind::Download, lDownloadHandle);
}

}  // extern "C"
