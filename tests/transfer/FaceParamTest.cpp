// Face parameters: the record the library sends and reads, and its failures.
#include <cstring>

#include "TransferFixture.h"
#include "ZornNetSDK.h"
#include "VirtualStation/StationControl.h"

TEST_F(TransferTest, FaceParamRecordTravelsWholeBothWays) {
    const long id = loginStation();
    clearLog();

    EnrollmentStation::FaceParam param{true, 300};
    ASSERT_TRUE(station_.setFaceParam(param));
    vstation::CallRecord set = lastCall("NET_DVR_SetDVRConfig");
    EXPECT_EQ(set.args, (std::vector<int64_t>{id, 2506, 1, 328}));
    NET_DVR_FACE_PARAM_CFG expected;
    std::memset(&expected, 0, sizeof expected);
    expected.dwSize = 328;
    expected.byEnable = 2;
    expected.byValue = 44;  // 300 keeps its low 8 bits; nothing else is sent
    ASSERT_EQ(set.record.size(), sizeof expected);
    EXPECT_EQ(std::memcmp(set.record.data(), &expected, sizeof expected), 0);

    param = EnrollmentStation::FaceParam{false, -1};
    ASSERT_TRUE(station_.setFaceParam(param));
    set = lastCall("NET_DVR_SetDVRConfig");
    EXPECT_EQ(set.record[70], 1);
    EXPECT_EQ(set.record[77], 255);

    EnrollmentStation::FaceParam read{true, 0};
    ASSERT_TRUE(station_.getFaceParam(read));
    EXPECT_FALSE(read.enable);
    EXPECT_EQ(read.value, 255);  // zero-extended, not sign-extended
    // The get hands a sized record and a zeroed returned-size word.
    const vstation::CallRecord get = lastCall("NET_DVR_GetDVRConfig");
    EXPECT_EQ(get.args, (std::vector<int64_t>{id, 2505, 1, 328, 0}));
    ASSERT_EQ(get.record.size(), sizeof expected);
    EXPECT_EQ(get.record[0] | get.record[1] << 8, 328);
    EXPECT_TRUE(logLines().empty());
}

TEST_F(TransferTest, GetFaceParamTurnsOnlySwitchTwoIntoEnabled) {
    for (const int switchByte : {0, 1, 2, 3}) {
        SCOPED_TRACE(switchByte);
        ASSERT_TRUE(vstation::loadProfile(
            profileWith(R"("faceParam": {"switch": )" + std::to_string(switchByte) + R"(, "value": 200})")));
        EnrollmentStation::CEnrollmentStation station;
        ASSERT_TRUE(login(station));
        EnrollmentStation::FaceParam param{switchByte != 2, 0};
        ASSERT_TRUE(station.getFaceParam(param));
        EXPECT_EQ(param.enable, switchByte == 2);
        EXPECT_EQ(param.value, 200);
        station.uninitEnrollmentStation();
    }
}

TEST_F(TransferTest, FaceParamFailuresLeaveTheRecordAndSayWhy) {
    EnrollmentStation::FaceParam param{true, 9};
    EXPECT_FALSE(station_.setFaceParam(param));
    EXPECT_EQ(lastError(), std::make_pair(69, 8200));
    EXPECT_FALSE(station_.getFaceParam(param));
    EXPECT_EQ(lastError(), std::make_pair(69, 8200));
    EXPECT_TRUE(vstation::callLog().empty());

    loginStation();
    clearLog();
    vstation::failNext("NET_DVR_SetDVRConfig", NET_DVR_ERR_SEND);
    EXPECT_FALSE(station_.setFaceParam(param));
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_SEND}));
    vstation::failNext("NET_DVR_GetDVRConfig", NET_DVR_ERR_TIMEOUT);
    EXPECT_FALSE(station_.getFaceParam(param));
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_TIMEOUT}));
    EXPECT_TRUE(param.enable);
    EXPECT_EQ(param.value, 9);
    EXPECT_TRUE(logLines().empty());
}
