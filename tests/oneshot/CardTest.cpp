// RF card settings, card capture and the capture rule, end to end.
#include "OneShotTest.h"
#include "VirtualStation/ConfigControl.h"
#include "VirtualStation/StationControl.h"

using EnrollmentStation::CEnrollmentStation;
using EnrollmentStation::RFCardParam;
using namespace oneshot;

namespace {

constexpr const char* kRFCapLine = "GET /OPRAL/AccessControl/Configuration/RFCardCfg/capabilities?format=json\r\n";
constexpr const char* kRFGetLine = "GET /OPRAL/AccessControl/Configuration/RFCardCfg?format=json\r\n";
constexpr const char* kCaptureLine = "GET /OPRAL/AccessControl/CaptureCardInfo?format=json\r\n";

std::vector<bool> flags(const RFCardParam& p) {
    return {p.enableM1Card, p.enableCPUCard, p.enableIDCard, p.enableEMCard};
}

std::vector<std::string> enabledAtStation() {
    vstation::ConfigSnapshot state;
    EXPECT_TRUE(vstation::configState(&state));
    std::vector<std::string> enabled;
    for (const vstation::RFCardSetting& card : state.rfCards) {
        if (card.enabled) enabled.push_back(card.cardType);
    }
    return enabled;
}

class CardTest : public OneShotTest {};

TEST_F(CardTest, RFCardCapabilityMatchesNamesExactly) {
    CEnrollmentStation station;
    loginQuietly(station);
    EnrollmentStation::RFCardCap cap;
    ASSERT_TRUE(station.getRFCardCacheCap(cap));
    EXPECT_TRUE(cap.isSupportEMCard && cap.isSupportM1Card && cap.isSupportCPUCard && cap.isSupportIDCard);
    EXPECT_EQ(sentRequests().at(0).line, kRFCapLine);
    EXPECT_EQ(sentRequests().at(0).body, "");

    vstation::scriptReply(kRFCapLine, R"({"rfcardcfgcap": {"cardType": {"@opt": ["emcard", "M1Card", "IDCard"]}}})");
    ASSERT_TRUE(station.getRFCardCacheCap(cap));
    EXPECT_EQ((std::vector<bool>{cap.isSupportEMCard, cap.isSupportM1Card, cap.isSupportCPUCard, cap.isSupportIDCard}),
              (std::vector<bool>{false, true, false, true}));
}

TEST_F(CardTest, SettingsRoundTripThroughTheStation) {
    CEnrollmentStation station;
    loginQuietly(station);
    RFCardParam param;
    param.enableCPUCard = param.enableIDCard = true;
    ASSERT_TRUE(station.setRFCardParam(param));
    EXPECT_EQ(sentRequests().at(0).line, "PUT /OPRAL/AccessControl/Configuration/RFCardCfg?format=json\r\n");
    EXPECT_EQ(compact(sentRequests().at(0).body),
              R"({"RFCardCfg":[{"cardType":"CPUCard","enabled":true},{"cardType":"EMCard","enabled":false},)"
              R"({"cardType":"M1Card","enabled":false},{"cardType":"IDCard","enabled":true}]})");
    EXPECT_EQ(enabledAtStation(), (std::vector<std::string>{"CPUCard", "IDCard"}));

    RFCardParam read;
    ASSERT_TRUE(station.getRFCardParam(read));
    EXPECT_EQ(flags(read), flags(param));
}

TEST_F(CardTest, ReadingSettingsChangesOnlyListedTypes) {
    CEnrollmentStation station;
    loginQuietly(station);
    RFCardParam param;
    param.enableCPUCard = param.enableIDCard = param.enableEMCard = true;
    vstation::scriptReply(kRFGetLine, R"({"RFCardCfg": [{"cardType": "M1Card", "enabled": true},
        {"cardType": "XCard", "enabled": false}, {"cardType": "IDCard", "enabled": true},
        {"cardType": "IDCard", "enabled": false}]})");
    ASSERT_TRUE(station.getRFCardParam(param));
    EXPECT_EQ(flags(param), (std::vector<bool>{true, true, false, true}));

    for (const char* reply : {"", "not json", "[1,2]"}) {
        vstation::scriptReply(kRFGetLine, reply);
        EXPECT_TRUE(station.getRFCardParam(param));
        EXPECT_EQ(flags(param), (std::vector<bool>{true, true, false, true}));
    }
}

TEST_F(CardTest, CaptureReadsPresentedCardsOfEnabledTypes) {
    CEnrollmentStation station;
    loginQuietly(station);
    std::string cardNo = "old";
    ASSERT_TRUE(station.captureCardInfo(cardNo));
    EXPECT_EQ(cardNo, "3053140519");
    EXPECT_EQ(sentRequests().at(0).line, kCaptureLine);
    ASSERT_TRUE(station.captureCardInfo(cardNo));
    EXPECT_EQ(cardNo, "0012345678");

    // A CPU card is refused until the reader enables that type.
    vstation::presentCard("77001122", "CPUCard");
    cardNo = "kept";
    EXPECT_FALSE(station.captureCardInfo(cardNo));
    EXPECT_EQ(lastError(), std::make_pair(68, 0x30002));
    EXPECT_EQ(cardNo, "kept");
    RFCardParam param;
    param.enableCPUCard = true;
    ASSERT_TRUE(station.setRFCardParam(param));
    vstation::presentCard("77001122", "CPUCard");
    ASSERT_TRUE(station.captureCardInfo(cardNo));
    EXPECT_EQ(cardNo, "77001122");

    // A reader without cards answers with a status document.
    ASSERT_TRUE(vstation::loadProfile(profileWith(R"("cards": [])")));
    CEnrollmentStation other;
    loginQuietly(other);
    EXPECT_FALSE(other.captureCardInfo(cardNo));
    EXPECT_EQ(lastError(), std::make_pair(68, 0x30001));
}

TEST_F(CardTest, CaptureRuleIsSentWholeAndShapesLaterCardNumbers) {
    CEnrollmentStation station;
    loginQuietly(station);
    EnrollmentStation::CaptureRuleInfo rule;
    rule.cardNoLen = 8;
    ASSERT_TRUE(station.setCaptureCardRule(rule));
    EXPECT_EQ(sentRequests().at(0).line, "PUT /OPRAL/AccessControl/CaptureRule?format=json\r\n");
    EXPECT_EQ(compact(sentRequests().at(0).body),
              R"({"CaptureRule":{"enableCardNoLenAuto":false,"cardNoLen":8,"cardTimeout":0}})");
    vstation::ConfigSnapshot state;
    ASSERT_TRUE(vstation::configState(&state));
    EXPECT_FALSE(state.enableCardNoLenAuto);
    EXPECT_EQ(state.cardNoLen, 8);

    std::string cardNo;
    ASSERT_TRUE(station.captureCardInfo(cardNo));
    EXPECT_EQ(cardNo, "53140519");

    rule.cardNoLen = 99;
    EXPECT_FALSE(station.setCaptureCardRule(rule));
    EXPECT_EQ(lastError(), std::make_pair(68, 0x60003));
    ASSERT_TRUE(vstation::configState(&state));
    EXPECT_EQ(state.cardNoLen, 8);
}

}  // namespace
