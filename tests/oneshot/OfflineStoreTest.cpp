// The offline rule, the upload-failed details and clearing the store.
#include "OneShotTest.h"
#include "VirtualStation/ConfigControl.h"
#include "VirtualStation/StationControl.h"

using EnrollmentStation::CEnrollmentStation;
using EnrollmentStation::offLineRuleInfomation;
using EnrollmentStation::offLineRuleItem;
using namespace oneshot;

namespace {

constexpr const char* kUploadFailedLine = "GET /OPRAL/AccessControl/OfflineCapture/uploadFailedDetails?format=json\r\n";

offLineRuleItem item(const std::string& dataType, int32_t len, std::vector<int32_t> ids = {}) {
    offLineRuleItem rule;
    rule.dataType = dataType;
    rule.enable = true;
    rule.len = len;
    rule.num = static_cast<int32_t>(ids.size());
    rule.fingerprintIDs = std::move(ids);
    return rule;
}

class OfflineStoreTest : public OneShotTest {};

TEST_F(OfflineStoreTest, RuleIsSentInOrderAndKeptByTheStation) {
    CEnrollmentStation station;
    loginQuietly(station);
    offLineRuleInfomation rule;
    rule.reqAdminRights = true;
    rule.ruleList = {item("name", 32), item("cardNo", 0), item("fingerprint", 0, {3, 1})};
    ASSERT_TRUE(station.setOfflineCaptureRule(rule));
    EXPECT_EQ(sentRequests().at(0).line, "PUT /OPRAL/AccessControl/OfflineCapture/ruleInfo?format=json\r\n");
    const std::string expected =
        R"({"reqAdminRights":true,"enableCardNoLenAuto":false,"RuleList":[)"
        R"({"dataType":"name","enable":true,"uniqueCheck":false,"len":32,"num":0,"fingerprintIDs":[]},)"
        R"({"dataType":"cardNo","enable":true,"uniqueCheck":false,"len":0,"num":0,"fingerprintIDs":[]},)"
        R"({"dataType":"fingerprint","enable":true,"uniqueCheck":false,"len":0,"num":2,"fingerprintIDs":[3,1]}]})";
    EXPECT_EQ(compact(sentRequests().at(0).body), "{\"RuleInfo\":" + expected + "}");
    vstation::ConfigSnapshot state;
    ASSERT_TRUE(vstation::configState(&state));
    EXPECT_EQ(state.offlineRule, expected);
}

TEST_F(OfflineStoreTest, ValuesPassUncheckedAndTheStationJudgesThem) {
    CEnrollmentStation station;
    loginQuietly(station);
    offLineRuleInfomation rule;
    rule.ruleList = {item("", -5)};
    EXPECT_FALSE(station.setOfflineCaptureRule(rule));
    EXPECT_EQ(lastError(), std::make_pair(68, 0x60003));
    EXPECT_EQ(compact(sentRequests().at(0).body),
              R"({"RuleInfo":{"reqAdminRights":false,"enableCardNoLenAuto":false,"RuleList":[)"
              R"({"dataType":"","enable":true,"uniqueCheck":false,"len":-5,"num":0,"fingerprintIDs":[]}]}})");
    vstation::ConfigSnapshot state;
    ASSERT_TRUE(vstation::configState(&state));
    EXPECT_EQ(state.offlineRule, "");

    rule.ruleList.clear();
    ASSERT_TRUE(station.setOfflineCaptureRule(rule));
    EXPECT_EQ(compact(sentRequests().at(1).body),
              R"({"RuleInfo":{"reqAdminRights":false,"enableCardNoLenAuto":false,"RuleList":[]}})");
}

TEST_F(OfflineStoreTest, UploadFailedDetailsNeedTheInitFlagAndKeepTheRecordOnFailure) {
    CEnrollmentStation station;
    loginQuietly(station);
    EnrollmentStation::UploadFailedDetailsInfomation details;
    ASSERT_TRUE(station.getUploadFailedDetails(details));
    EXPECT_EQ(details.description, "No upload has failed.");
    EXPECT_EQ(sentRequests().at(0).line, kUploadFailedLine);

    vstation::scriptReply(kUploadFailedLine, R"({"UploadFailedDetails": {"description": ""}})");
    ASSERT_TRUE(station.getUploadFailedDetails(details));
    EXPECT_EQ(details.description, "");

    details.description = "kept";
    vstation::scriptStatus(kUploadFailedLine, R"({"errorCode": 5})");
    EXPECT_FALSE(station.getUploadFailedDetails(details));
    EXPECT_EQ(details.description, "kept");

    // Still logged in, but the flag is down: no request, no error code.
    vstation::clearCallLog();
    markLastError();
    EXPECT_FALSE(station.setIsInit(false, -1));
    EXPECT_FALSE(station.getUploadFailedDetails(details));
    EXPECT_EQ(lastError(), kMarkedError);
    EXPECT_TRUE(sentRequests().empty());
    // Clearing does not look at the flag.
    EXPECT_TRUE(station.clearEnrollmentStationData());
    EXPECT_EQ(sentRequests().size(), 1u);
}

TEST_F(OfflineStoreTest, ClearingEmptiesTheStationsStore) {
    CEnrollmentStation station;
    loginQuietly(station);
    vstation::ConfigSnapshot state;
    ASSERT_TRUE(vstation::configState(&state));
    EXPECT_GT(state.storedRecords, 0u);
    ASSERT_TRUE(station.clearEnrollmentStationData());
    EXPECT_EQ(sentRequests().at(0).line, "DELETE /OPRAL/AccessControl/OfflineCapture/DataCollections?format=json\r\n");
    EXPECT_EQ(sentRequests().at(0).body, "");
    ASSERT_TRUE(vstation::configState(&state));
    EXPECT_EQ(state.storedRecords, 0u);
}

}  // namespace
