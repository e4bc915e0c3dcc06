// The virtual station's side of fixed-layout records and transfers, driven
// through the SDK calls directly: what it accepts, what it refuses, and what
// a transfer leaves behind when it does not end normally.
#include <cstring>
#include <string>

#include "TransferFixture.h"
#include "ZornNetSDK.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/TransferControl.h"

namespace {

NET_DVR_FACE_PARAM_CFG sizedRecord() {
    NET_DVR_FACE_PARAM_CFG record;
    std::memset(&record, 0, sizeof record);
    record.dwSize = sizeof record;
    return record;
}

}  // namespace

TEST_F(TransferTest, StationChecksFaceParamCallsStrictly) {
    const int32_t id = static_cast<int32_t>(loginStation());
    NET_DVR_FACE_PARAM_CFG record = sizedRecord();
    uint32_t returned = 0;
    const struct {
        uint32_t command;
        int32_t channel;
        uint32_t size;
        uint32_t ownSize;
        int32_t error;
    } refused[] = {{2505, 1, 327, 328, NET_DVR_ERR_PARAMETER},
                   {2505, 1, 328, 0, NET_DVR_ERR_PARAMETER},
                   {2505, 2, 328, 328, NET_DVR_ERR_CHANNEL},
                   {2506, 1, 328, 328, NET_DVR_ERR_NOT_SUPPORTED}};
    for (const auto& c : refused) {
        record.dwSize = c.ownSize;
        EXPECT_FALSE(NET_DVR_GetDVRConfig(id, c.command, c.channel, &record, c.size, &returned));
        EXPECT_EQ(NET_DVR_GetLastError(), c.error) << c.command << "/" << c.channel << "/" << c.size;
    }
    EXPECT_EQ(returned, 0u);

    // A get overwrites the whole record, reserved bytes included.
    std::memset(&record, 0xAA, sizeof record);
    record.dwSize = sizeof record;
    ASSERT_TRUE(NET_DVR_GetDVRConfig(id, 2505, 1, &record, 328, &returned));
    EXPECT_EQ(returned, 328u);
    NET_DVR_FACE_PARAM_CFG expected = sizedRecord();
    expected.byEnable = 2;  // the built-in sample: on, 50
    expected.byValue = 50;
    EXPECT_EQ(std::memcmp(&record, &expected, sizeof record), 0);

    record.byEnable = 3;  // a switch has two positions
    EXPECT_FALSE(NET_DVR_SetDVRConfig(id, 2506, 1, &record, 328));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_PARAMETER);
}

TEST_F(TransferTest, StationRefusesWrongTypesUnknownHandlesAndASecondTransfer) {
    const int32_t id = static_cast<int32_t>(loginStation());
    std::string up = pathOf("up.bin");
    std::string down = pathOf("down.bin");
    writeFile(up, patternBytes(10));
    uint32_t progress = 0;

    EXPECT_EQ(NET_DVR_UploadFile_V40(id, 40, nullptr, 0, &up[0], nullptr, 0), -1);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_NOT_SUPPORTED);
    EXPECT_EQ(NET_DVR_StartDownload(id, 56, nullptr, 0, &down[0]), -1);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_NOT_SUPPORTED);
    EXPECT_EQ(NET_DVR_GetUploadState(12345, &progress), -1);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_HANDLE);
    EXPECT_FALSE(NET_DVR_StopDownload(12345));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_HANDLE);

    const int32_t handle = NET_DVR_UploadFile_V40(id, 56, nullptr, 0, &up[0], nullptr, 0);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(NET_DVR_UploadFile_V40(id, 56, nullptr, 0, &up[0], nullptr, 0), -1);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_BUSY);
    // Upload and download handles are numbered apart: one is not the other.
    EXPECT_EQ(NET_DVR_GetDownloadState(handle, &progress), -1);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_HANDLE);
    EXPECT_EQ(vstation::openHandles().uploads, 1);

    EXPECT_EQ(NET_DVR_GetUploadState(handle, &progress), NET_DVR_TRANSFER_DONE);
    EXPECT_EQ(progress, 100u);
    EXPECT_TRUE(NET_DVR_UploadClose(handle));
    EXPECT_FALSE(NET_DVR_UploadClose(handle));
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_HANDLE);
    EXPECT_EQ(vstation::openHandles().uploads, 0);
}

TEST_F(TransferTest, StoppedOrSweptTransfersLeaveNoPartialFile) {
    int32_t id = static_cast<int32_t>(loginStation());
    const std::string content = patternBytes(4000);
    ASSERT_TRUE(vstation::setStationFile(content));
    vstation::setTransferChunkSize(1000);
    std::string down = pathOf("down.bin");
    uint32_t progress = 0;

    // Stopped half-way: the partial copy goes with it.
    int32_t handle = NET_DVR_StartDownload(id, 40, nullptr, 0, &down[0]);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(NET_DVR_GetDownloadState(handle, &progress), NET_DVR_TRANSFER_RUNNING);
    EXPECT_EQ(progress, 25u);
    EXPECT_EQ(folderEntries().size(), 1u);  // the temporary copy beside the target
    EXPECT_TRUE(NET_DVR_StopDownload(handle));
    EXPECT_TRUE(folderEntries().empty());

    // A logout sweeps the session's transfers away.
    handle = NET_DVR_StartDownload(id, 40, nullptr, 0, &down[0]);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(NET_DVR_GetDownloadState(handle, &progress), NET_DVR_TRANSFER_RUNNING);
    ASSERT_TRUE(station_.uninitEnrollmentStation());
    EXPECT_TRUE(folderEntries().empty());
    EXPECT_EQ(vstation::openHandles().downloads, 0);
    EXPECT_EQ(NET_DVR_GetDownloadState(handle, &progress), -1);

    // So does a reset, for uploads as well; the station keeps its old file.
    // (The last clean-up restored the default chunk size.)
    id = static_cast<int32_t>(loginStation());
    vstation::setTransferChunkSize(1000);
    std::string up = pathOf("up.bin");
    writeFile(up, patternBytes(4000, 9));
    handle = NET_DVR_UploadFile_V40(id, 56, nullptr, 0, &up[0], nullptr, 0);
    ASSERT_GE(handle, 0);
    EXPECT_EQ(NET_DVR_GetUploadState(handle, &progress), NET_DVR_TRANSFER_RUNNING);
    std::string stored;
    ASSERT_TRUE(vstation::stationFile(&stored));
    EXPECT_TRUE(stored == content);
    vstation::reset();
    EXPECT_EQ(vstation::openHandles().uploads, 0);
}
