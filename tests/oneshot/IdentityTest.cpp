// Reading the identity card, end to end.
#include "OneShotTest.h"
#include "VirtualStation/ConfigControl.h"
#include "VirtualStation/StationControl.h"

using EnrollmentStation::CEnrollmentStation;
using EnrollmentStation::IdentityInfomation;
using namespace oneshot;

namespace {

constexpr const char* kCaptureIDLine = "POST /OPRAL/AccessControl/CaptureIDInfo?format=json\r\n";

class IdentityTest : public OneShotTest {};

TEST_F(IdentityTest, ReadsTheCardOnTheReaderAndAppendsItsFingerprints) {
    CEnrollmentStation station;
    loginQuietly(station);
    IdentityInfomation info;
    info.fingerprintList = {"mine"};
    ASSERT_TRUE(station.captureIDCardInfo(info));
    EXPECT_EQ(sentRequests().at(0).line, kCaptureIDLine);
    EXPECT_EQ(compact(sentRequests().at(0).body), R"({"IdentityInfoCond":{}})");

    EXPECT_EQ(info.enName, "LIN XIAOYU");
    EXPECT_EQ(info.IDCardNo, "990102199204180026");
    EXPECT_EQ(info.nation, 1);
    EXPECT_EQ(info.pic.rfind("iVBORw0KGgo", 0), 0u);  // a PNG, still Base64 text
    ASSERT_EQ(info.fingerprintList.size(), 3u);
    EXPECT_EQ(info.fingerprintList[0], "mine");

    ASSERT_TRUE(station.captureIDCardInfo(info));
    EXPECT_EQ(info.fingerprintList.size(), 5u);
}

TEST_F(IdentityTest, ReplyMappingReplacesEveryTextAndKeepsNothingStale) {
    CEnrollmentStation station;
    loginQuietly(station);
    IdentityInfomation info;
    info.addr = "old address";
    info.nation = 5;
    info.fingerprintList = {"a"};
    vstation::scriptReply(kCaptureIDLine,
                          R"({"identityinfo": {"chnName": "N", "idcardno": "X1", "nation": "7", "pic": "AAAA",
                              "FingerprintList": [{"fingerprint": "F1"}, "bare"]}})");
    ASSERT_TRUE(station.captureIDCardInfo(info));
    EXPECT_EQ(info.chnName, "N");
    EXPECT_EQ(info.IDCardNo, "X1");
    EXPECT_EQ(info.addr, "");
    EXPECT_EQ(info.nation, 0);
    EXPECT_EQ(info.pic, "AAAA");
    EXPECT_EQ(info.fingerprintList, (std::vector<std::string>{"a", "F1", ""}));
}

TEST_F(IdentityTest, FailuresLeaveTheRecordUntouched) {
    ASSERT_TRUE(vstation::loadProfile(profileWith(R"("identityCard": null)")));
    CEnrollmentStation station;
    loginQuietly(station);
    IdentityInfomation info;
    info.chnName = "kept";
    info.fingerprintList = {"kept"};
    EXPECT_FALSE(station.captureIDCardInfo(info));
    EXPECT_EQ(lastError(), std::make_pair(68, 0x30003));

    markLastError();
    vstation::scriptReply(kCaptureIDLine, R"({"IdentityInfoX": {"chnName": "N"}})");
    EXPECT_FALSE(station.captureIDCardInfo(info));
    EXPECT_EQ(lastError(), kMarkedError);
    EXPECT_EQ(info.chnName, "kept");
    EXPECT_EQ(info.fingerprintList, std::vector<std::string>{"kept"});
}

}  // namespace
