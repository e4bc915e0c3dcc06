// What every one-shot operation does when the request fails, run over all of
// them: no session, SDK failure, refusing status documents, harmless status
// documents, a reply too big for the buffer, a reply that is not JSON.
#include <functional>

#include "OneShotTest.h"
#include "VirtualStation/ConfigControl.h"
#include "VirtualStation/StationControl.h"
#include "ZornNetSDK.h"

using EnrollmentStation::CEnrollmentStation;
using namespace oneshot;

namespace {

struct Operation {
    const char* name;
    const char* requestLine;
    bool guarded;                 // tests the session before calling the SDK
    bool acceptsUnreadableReply;  // a reply that is not JSON still gives true
    std::function<bool(CEnrollmentStation&)> run;
};

std::vector<Operation> operations() {
    return {
        {"getDevCability", "GET /OPRAL/AccessControl/capabilities\r\n", true, true,
         [](CEnrollmentStation& s) { EnrollmentStation::CaptureAbility a; return s.getDevCability(a); }},
        {"getRFCardCacheCap", "GET /OPRAL/AccessControl/Configuration/RFCardCfg/capabilities?format=json\r\n",
         false, true, [](CEnrollmentStation& s) { EnrollmentStation::RFCardCap c; return s.getRFCardCacheCap(c); }},
        {"setRFCardParam", "PUT /OPRAL/AccessControl/Configuration/RFCardCfg?format=json\r\n", true, true,
         [](CEnrollmentStation& s) { EnrollmentStation::RFCardParam p; return s.setRFCardParam(p); }},
        {"getRFCardParam", "GET /OPRAL/AccessControl/Configuration/RFCardCfg?format=json\r\n", false, true,
         [](CEnrollmentStation& s) { EnrollmentStation::RFCardParam p; return s.getRFCardParam(p); }},
        {"captureCardInfo", "GET /OPRAL/AccessControl/CaptureCardInfo?format=json\r\n", true, false,
         [](CEnrollmentStation& s) { std::string n; return s.captureCardInfo(n); }},
        {"setCaptureCardRule", "PUT /OPRAL/AccessControl/CaptureRule?format=json\r\n", true, true,
         [](CEnrollmentStation& s) { EnrollmentStation::CaptureRuleInfo r; return s.setCaptureCardRule(r); }},
        {"captureIDCardInfo", "POST /OPRAL/AccessControl/CaptureIDInfo?format=json\r\n", true, false,
         [](CEnrollmentStation& s) { EnrollmentStation::IdentityInfomation i; return s.captureIDCardInfo(i); }},
        {"setOfflineCaptureRule", "PUT /OPRAL/AccessControl/OfflineCapture/ruleInfo?format=json\r\n", true, true,
         [](CEnrollmentStation& s) { EnrollmentStation::offLineRuleInfomation r; return s.setOfflineCaptureRule(r); }},
        {"getUploadFailedDetails", "GET /OPRAL/AccessControl/OfflineCapture/uploadFailedDetails?format=json\r\n",
         true, false,
         [](CEnrollmentStation& s) { EnrollmentStation::UploadFailedDetailsInfomation d; return s.getUploadFailedDetails(d); }},
        {"clearEnrollmentStationData", "DELETE /OPRAL/AccessControl/OfflineCapture/DataCollections?format=json\r\n",
         true, true, [](CEnrollmentStation& s) { return s.clearEnrollmentStationData(); }},
    };
}

class FailureTableTest : public OneShotTest {};

TEST_F(FailureTableTest, WithoutSessionGuardedOperationsStayAwayAndTheOthersReportTheSdk) {
    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        CEnrollmentStation station;
        vstation::clearCallLog();
        EXPECT_FALSE(op.run(station));
        if (op.guarded) {
            EXPECT_EQ(lastError(), std::make_pair(69, 8200));
            EXPECT_TRUE(sentRequests().empty());
        } else {
            // Nothing initialised the SDK, so it refuses the call itself.
            EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_NOT_INITIALISED}));
            ASSERT_EQ(sentRequests().size(), 1u);
            EXPECT_TRUE(logged("NET_DVR_STDXMLConfig process failed, Url[" + std::string(op.requestLine) + "]"));
        }
    }
}

TEST_F(FailureTableTest, SdkFailureWithEmptyStatusIsReportedWithTheRequestLine) {
    CEnrollmentStation station;
    loginQuietly(station);
    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        clearLog();
        vstation::failNext("NET_DVR_STDXMLConfig", NET_DVR_ERR_TIMEOUT);
        EXPECT_FALSE(op.run(station));
        EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_TIMEOUT}));
        const std::vector<std::string> failures = logLines(5);
        ASSERT_EQ(failures.size(), 1u);
        EXPECT_EQ(failures[0], "[EnrollmentStation::COPRALStrategy::stepRun]NET_DVR_STDXMLConfig process failed, Url[" +
                                   std::string(op.requestLine) + "], Error[10][EnrollmentStation\\BaseSDK(89)]");
    }
}

TEST_F(FailureTableTest, StatusDocumentsAboveOneAreDeviceErrorsAndZeroOrOneChangeNothing) {
    CEnrollmentStation station;
    loginQuietly(station);
    EnrollmentStation::StationStatus status;
    EXPECT_FALSE(station.getLastStationStatus(status));
    const std::string refusal =
        R"({"statusCode": 6, "subStatusCode": "badJson", "errorCode": 393218, "errorMsg": "no"})";
    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        clearLog();
        vstation::scriptStatus(op.requestLine, refusal);
        EXPECT_FALSE(op.run(station));
        EXPECT_EQ(lastError(), std::make_pair(68, 393218));
        EXPECT_TRUE(logged("NET_DVR_STDXMLConfig process failed, Url[" + std::string(op.requestLine) +
                           "], Error[" + refusal + "][EnrollmentStation\\BaseSDK(82)]"));
        ASSERT_TRUE(station.getLastStationStatus(status));
        EXPECT_EQ(status.statusCode, 6);
        EXPECT_EQ(status.subStatusCode, "badJson");
        EXPECT_EQ(status.errorCode, 393218u);
        EXPECT_EQ(status.errorMsg, "no");

        // -1 on the wire is above 1 when taken unsigned.
        vstation::scriptStatus(op.requestLine, R"({"errorCode": -1})");
        EXPECT_FALSE(op.run(station));
        EXPECT_EQ(lastError(), std::make_pair(68, -1));
        // Each refusal replaces the whole document.
        ASSERT_TRUE(station.getLastStationStatus(status));
        EXPECT_EQ(static_cast<int>(status.errorCode), -1);
        EXPECT_EQ(status.subStatusCode, "");

        for (const char* harmless : {R"({"statusCode":4,"errorCode":1})", R"({"errorcode":0})",
                                     R"({"statusCode":4})", "not json", R"({"errorCode":"99"})"}) {
            SCOPED_TRACE(harmless);
            clearLog();
            markLastError();
            vstation::scriptStatus(op.requestLine, harmless);
            EXPECT_FALSE(op.run(station));
            EXPECT_EQ(lastError(), kMarkedError);
            EXPECT_TRUE(logLines(5).empty());
            // Not a refusal with a code: the kept document stays the last one that was.
            ASSERT_TRUE(station.getLastStationStatus(status));
            EXPECT_EQ(static_cast<int>(status.errorCode), -1);
        }
    }
    // The document belongs to the object that was refused.
    CEnrollmentStation other;
    EXPECT_FALSE(other.getLastStationStatus(status));
}

TEST_F(FailureTableTest, ReplyTooBigForTheBufferFailsWithTheSdkError) {
    CEnrollmentStation station;
    loginQuietly(station);
    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        // 10240 bytes leave no room for the terminating zero byte.
        vstation::scriptReply(op.requestLine, "{\"CardInfo\":{\"cardNo\":\"" + std::string(10240 - 26, '1') + "\"}}");
        EXPECT_FALSE(op.run(station));
        EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_BUFFER_SMALL}));
    }
}

TEST_F(FailureTableTest, ReplyThatIsNotJsonFailsOnlyWhereTheReplyIsNeeded) {
    CEnrollmentStation station;
    loginQuietly(station);
    for (const Operation& op : operations()) {
        SCOPED_TRACE(op.name);
        clearLog();
        markLastError();
        vstation::scriptReply(op.requestLine, "{");
        EXPECT_EQ(op.run(station), op.acceptsUnreadableReply);
        EXPECT_EQ(lastError(), kMarkedError);
        if (!op.acceptsUnreadableReply) {
            EXPECT_TRUE(logged("Failed to cJSON_Parse( [{] )"));
        }
    }
}

}  // namespace
