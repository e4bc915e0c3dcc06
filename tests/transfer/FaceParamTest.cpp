// Face parameters: the record the library sends and reads, and its failures.
#include <cstring>

#include "TransferFixture.h"
#include "ZornNetSDK.h"

namespace {

constexpr size_t kRecordSize = sizeof(NET_DVR_FACE_PARAM_CFG);

uint32_t sizeWord(const std::vector<uint8_t>& record) {
    uint32_t value = 0;
    std::memcpy(&value, record.data(), sizeof value);
    return value;
}

// Every byte but the size word, the switch and the value.
bool restIsZero(const std::vector<uint8_t>& record) {
    for (size_t i = 4; i < record.size(); ++i) {
        if (i != 70 && i != 77 && record[i] != 0) return false;
    }
    return true;
}

}  // namespace

TEST_F(TransferTest, SetFaceParamSendsOneWholeRecordAndTheStationKeepsIt) {
    const long id = loginStation();
    clearLog();

    EnrollmentStation::FaceParam param{true, 300};
    ASSERT_TRUE(station_.setFaceParam(param));
    vstation::CallRecord set = lastCall("NET_DVR_SetDVRConfig");
    EXPECT_EQ(set.args, (std::vector<int64_t>{id, 2506, 1, 328}));
    ASSERT_EQ(set.record.size(), kRecordSize);
    EXPECT_EQ(sizeWord(set.record), 328u);
    EXPECT_EQ(set.record[70], 2);
    EXPECT_EQ(set.record[77], 44);  // 300 keeps its low 8 bits
    EXPECT_TRUE(restIsZero(set.record));

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
    ASSERT_EQ(get.record.size(), kRecordSize);
    EXPECT_EQ(sizeWord(get.record), 328u);
    EXPECT_TRUE(logLines(5).empty());
}

TEST_F(TransferTest, GetFaceParamTurnsOnlySwitchTwoIntoEnabled) {
    const struct {
        int switchByte;
        bool enable;
    } cases[] = {{0, false}, {1, false}, {2, true}, {3, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.switchByte);
        ASSERT_TRUE(vstation::loadProfile(
            profileWith(R"("faceParam": {"switch": )" + std::to_string(c.switchByte) + R"(, "value": 200})")));
        EnrollmentStation::CEnrollmentStation station;
        ASSERT_TRUE(login(station));
        EnrollmentStation::FaceParam param{!c.enable, 0};
        ASSERT_TRUE(station.getFaceParam(param));
        EXPECT_EQ(param.enable, c.enable);
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
    EXPECT_EQ(callCount("NET_DVR_SetDVRConfig") + callCount("NET_DVR_GetDVRConfig"), 0);

    loginStation();
    vstation::failNext("NET_DVR_SetDVRConfig", NET_DVR_ERR_SEND);
    EXPECT_FALSE(station_.setFaceParam(param));
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_SEND}));

    vstation::failNext("NET_DVR_GetDVRConfig", NET_DVR_ERR_TIMEOUT);
    EXPECT_FALSE(station_.getFaceParam(param));
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_TIMEOUT}));
    EXPECT_TRUE(param.enable);
    EXPECT_EQ(param.value, 9);
    EXPECT_EQ(logLines(5).size(), 1u);  // the login line only
}
