// Capture capabilities through the exported class, and what login caches.
#include "OneShotTest.h"
#include "VirtualStation/ConfigControl.h"
#include "VirtualStation/StationControl.h"
#include "ZornNetSDK.h"

using EnrollmentStation::CaptureAbility;
using EnrollmentStation::CEnrollmentStation;
using namespace oneshot;

namespace {

constexpr const char* kCapabilitiesLine = "GET /OPRAL/AccessControl/capabilities\r\n";

std::vector<bool> flags(const CaptureAbility& a) {
    return {a.isSupportCaptureCardInfo,    a.isSupportCaptureIDInfo,      a.isSupportCaptureCardRule,
            a.isSupportCapturePresetParam, a.isSupportCaptureFingerPrint, a.isSupportCaptureFace};
}

CaptureAbility allSet() {
    CaptureAbility a;
    a.isSupportCaptureCardInfo = a.isSupportCaptureIDInfo = a.isSupportCaptureCardRule = true;
    a.isSupportCapturePresetParam = a.isSupportCaptureFingerPrint = a.isSupportCaptureFace = true;
    return a;
}

class CapabilityTest : public OneShotTest {};

TEST_F(CapabilityTest, ReportsTheProfilesFlagsFromBothDocuments) {
    ASSERT_TRUE(vstation::loadProfile(profileWith(
        R"("capabilities": {"captureIDInfo": false, "capturePresetParam": true, "captureFace": false})")));
    CEnrollmentStation station;
    loginQuietly(station);
    CaptureAbility ability;
    ASSERT_TRUE(station.getDevCability(ability));
    EXPECT_EQ(flags(ability), (std::vector<bool>{true, false, true, true, true, false}));

    const std::vector<vstation::CallRecord> calls = vstation::callLog();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text, kCapabilitiesLine);
    EXPECT_EQ(calls[1].call, "NET_DVR_GetDeviceAbility");
    EXPECT_EQ(calls[1].args, (std::vector<int64_t>{0, 2049, 28, 10240}));
    EXPECT_EQ(calls[1].text, "<AcsAbility version=\"2.0\" />");
}

TEST_F(CapabilityTest, FailuresLeaveWhatWasWrittenBeforeThem) {
    CEnrollmentStation station;
    loginQuietly(station);

    // Capability request refused: nothing written.
    CaptureAbility ability = allSet();
    vstation::scriptStatus(kCapabilitiesLine, R"({"errorCode": 262148})");
    EXPECT_FALSE(station.getDevCability(ability));
    EXPECT_EQ(lastError(), std::make_pair(68, 262148));
    EXPECT_EQ(flags(ability), flags(allSet()));

    // Ability call failed: the first four are written, the last two not.
    vstation::scriptReply(kCapabilitiesLine, "<AccessControl/>");
    vstation::failNext("NET_DVR_GetDeviceAbility", NET_DVR_ERR_NOT_SUPPORTED);
    EXPECT_FALSE(station.getDevCability(ability));
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_NOT_SUPPORTED}));
    EXPECT_EQ(flags(ability), (std::vector<bool>{false, false, false, false, true, true}));
    EXPECT_TRUE(logged("[EnrollmentStation::CEnrollmentOperator::getDevAbility]get acs ability failed. ErrorCode [23]."));
}

TEST_F(CapabilityTest, DocumentsThatAreNotXmlOrFillTheBufferGiveFalseFlags) {
    CEnrollmentStation station;
    loginQuietly(station);
    vstation::scriptReply(kCapabilitiesLine, "{\"not\": \"xml\"}");
    // Fills the whole ability buffer without a zero byte: read up to its end only.
    vstation::scriptAbility(std::string(10240, '<'), true);
    CaptureAbility ability = allSet();
    EXPECT_TRUE(station.getDevCability(ability));
    EXPECT_EQ(flags(ability), std::vector<bool>(6, false));

    vstation::scriptAbility(std::string(10241, ' '), true);
    EXPECT_FALSE(station.getDevCability(ability));
    EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_BUFFER_SMALL}));
}

TEST_F(CapabilityTest, LoginReadsBothCapabilitiesAndSetRFCardParamFollowsTheRFOfferItSaw) {
    ASSERT_TRUE(vstation::loadProfile(profileWith(R"("rfCard": {"offered": ["IDCard", "M1Card"]})")));
    CEnrollmentStation station;
    ASSERT_TRUE(login(station));
    std::vector<std::string> loginCalls;
    for (const vstation::CallRecord& call : vstation::callLog()) loginCalls.push_back(call.call + " " + call.text);
    EXPECT_EQ(loginCalls[2], "NET_DVR_STDXMLConfig GET /OPRAL/AccessControl/capabilities\r\n");
    EXPECT_EQ(loginCalls[3], "NET_DVR_GetDeviceAbility <AcsAbility version=\"2.0\" />");
    EXPECT_EQ(loginCalls[4],
              "NET_DVR_STDXMLConfig GET /OPRAL/AccessControl/Configuration/RFCardCfg/capabilities?format=json\r\n");

    vstation::clearCallLog();
    EnrollmentStation::RFCardParam param;
    param.enableM1Card = param.enableCPUCard = param.enableIDCard = param.enableEMCard = true;
    ASSERT_TRUE(station.setRFCardParam(param));
    EXPECT_EQ(compact(sentRequests().at(0).body),
              R"({"RFCardCfg":[{"cardType":"M1Card","enabled":true},{"cardType":"IDCard","enabled":true}]})");

    // A later query does not change what login kept.
    EnrollmentStation::RFCardCap cap;
    vstation::scriptReply("GET /OPRAL/AccessControl/Configuration/RFCardCfg/capabilities?format=json\r\n",
                          R"({"RFCardCfgCap": {"cardType": {"@opt": ["EMCard", "CPUCard"]}}})");
    ASSERT_TRUE(station.getRFCardCacheCap(cap));
    EXPECT_TRUE(cap.isSupportEMCard && cap.isSupportCPUCard && !cap.isSupportM1Card && !cap.isSupportIDCard);
    vstation::clearCallLog();
    ASSERT_TRUE(station.setRFCardParam(param));
    EXPECT_EQ(compact(sentRequests().at(0).body),
              R"({"RFCardCfg":[{"cardType":"M1Card","enabled":true},{"cardType":"IDCard","enabled":true}]})");
}

TEST_F(CapabilityTest, FailedRFQueryAtLoginLeavesAnEmptyOfferAndLoginSucceeds) {
    vstation::scriptStatus("GET /OPRAL/AccessControl/Configuration/RFCardCfg/capabilities?format=json\r\n",
                           R"({"errorCode": 262148})");
    CEnrollmentStation station;
    loginQuietly(station);
    EnrollmentStation::RFCardParam param;
    EXPECT_TRUE(station.setRFCardParam(param));
    EXPECT_EQ(compact(sentRequests().at(0).body), R"({"RFCardCfg":[]})");
}

}  // namespace
