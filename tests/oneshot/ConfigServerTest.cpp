// The virtual station's configuration server through the raw SDK calls:
// record checks, routing, status documents, buffers and kept state.
#include <gtest/gtest.h>

#include <cjson/cJSON.h>

#include <cstring>

#include "VirtualStation/ConfigControl.h"
#include "VirtualStation/StationControl.h"
#include "ZornNetSDK.h"

namespace {

struct Answer {
    int32_t ok = 0;
    int32_t error = 0;
    std::string reply;
    std::string status;
};

class ConfigServerTest : public ::testing::Test {
protected:
    void SetUp() override {
        vstation::reset();
        vstation::setPacing(false);
        ASSERT_TRUE(NET_DVR_Init());
        NET_DVR_USER_LOGIN_INFO login;
        std::memset(&login, 0, sizeof login);
        std::strcpy(login.sDeviceAddress, "127.0.0.1");
        login.wPort = 8000;
        std::strcpy(login.sUserName, "admin");
        std::strcpy(login.sPassword, "Station#2026");
        login.byLoginMode = 2;
        NET_DVR_DEVICEINFO_V40 device;
        m_user = NET_DVR_Login_V40(&login, &device);
        ASSERT_GE(m_user, 0);
        std::memset(&m_in, 0, sizeof m_in);
        std::memset(&m_out, 0, sizeof m_out);
        m_in.dwSize = m_out.dwSize = 72;
        m_out.lpOutBuffer = m_reply;
        m_out.dwOutBufferSize = sizeof m_reply;
        m_out.lpStatusBuffer = m_status;
        m_out.dwStatusSize = sizeof m_status;
    }
    void TearDown() override { vstation::reset(); }

    Answer send(const std::string& line, const std::string& body = std::string()) {
        m_line = line;
        m_body = body;
        m_in.lpRequestUrl = &m_line[0];
        m_in.dwRequestUrlLen = static_cast<uint32_t>(m_line.size());
        m_in.lpInBuffer = m_body.empty() ? nullptr : &m_body[0];
        m_in.dwInBufferSize = static_cast<uint32_t>(m_body.size());
        return call();
    }
    Answer call() {
        std::memset(m_reply, 0, sizeof m_reply);
        std::memset(m_status, 'x', sizeof m_status);
        Answer answer;
        answer.ok = NET_DVR_STDXMLConfig(m_user, &m_in, &m_out);
        answer.error = NET_DVR_GetLastError();
        answer.reply.assign(m_reply, strnlen(m_reply, sizeof m_reply));
        answer.status.assign(m_status, strnlen(m_status, sizeof m_status));
        return answer;
    }
    // A member of the status document's top level, as text.
    static std::string statusField(const Answer& answer, const char* key) {
        cJSON* tree = cJSON_Parse(answer.status.c_str());
        const cJSON* item = cJSON_GetObjectItemCaseSensitive(tree, key);
        std::string value = cJSON_IsString(item) ? item->valuestring
                            : item                ? std::to_string(item->valueint)
                                                  : "";
        cJSON_Delete(tree);
        return value;
    }

    int32_t m_user = -1;
    NET_DVR_XML_CONFIG_INPUT m_in;
    NET_DVR_XML_CONFIG_OUTPUT m_out;
    char m_reply[10240];
    char m_status[1024];
    std::string m_line;
    std::string m_body;
};

TEST_F(ConfigServerTest, RecordsAreCheckedStrictly) {
    EXPECT_EQ(send("GET /OPRAL/AccessControl/CaptureCardInfo?format=json").error, NET_DVR_ERR_PARAMETER);
    EXPECT_EQ(send("GET /a\r\nb\r\n").error, NET_DVR_ERR_PARAMETER);
    send("PUT /OPRAL/AccessControl/CaptureRule?format=json\r\n", "{}");
    m_in.dwInBufferSize = 0;
    EXPECT_EQ(call().error, NET_DVR_ERR_PARAMETER);
    send("GET /OPRAL/AccessControl/CaptureCardInfo?format=json\r\n");
    m_in.byRes2[3] = 1;
    EXPECT_EQ(call().error, NET_DVR_ERR_PARAMETER);
    m_in.byRes2[3] = 0;
    m_out.dwSize = 71;
    EXPECT_EQ(call().error, NET_DVR_ERR_PARAMETER);
    m_out.dwSize = 72;
    m_out.lpStatusBuffer = nullptr;
    EXPECT_EQ(call().error, NET_DVR_ERR_PARAMETER);
    m_out.lpStatusBuffer = m_status;
    EXPECT_EQ(NET_DVR_STDXMLConfig(m_user, nullptr, &m_out), 0);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_PARAMETER);
    EXPECT_EQ(NET_DVR_STDXMLConfig(m_user + 1, &m_in, &m_out), 0);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_USER_ID);
    EXPECT_EQ(call().ok, 1);
}

TEST_F(ConfigServerTest, RequestsTheStationCannotServeGetStatusDocuments) {
    struct Case {
        std::string line;
        std::string body;
        const char* subStatus;
    };
    const Case cases[] = {
        {"GET /OPRAL/AccessControl/Nothing?format=json\r\n", "", "unknownRequest"},
        {"GARBAGE\r\n", "", "badRequestLine"},
        {"DELETE /OPRAL/AccessControl/CaptureRule?format=json\r\n", "", "methodNotAllowed"},
        {"POST /OPRAL/AccessControl/OfflineCapture/DataCollections/searchTask?format=json\r\n", "{}",
         "longConnectionOnly"},
        {"PUT /OPRAL/AccessControl/CaptureRule?format=json\r\n", "{\"CaptureRule\": ", "badJsonBody"},
        {"PUT /OPRAL/AccessControl/CaptureRule?format=json\r\n",
         R"({"CaptureRule": {"enableCardNoLenAuto": 1, "cardNoLen": 0, "cardTimeout": 0}})", "badField"},
        {"PUT /OPRAL/AccessControl/CaptureRule?format=json\r\n",
         R"({"CaptureRule": {"enableCardNoLenAuto": true, "cardNoLen": 0, "cardTimeout": 1e9}})", "valueOutOfRange"},
        {"PUT /OPRAL/AccessControl/OfflineCapture/ruleInfo?format=json\r\n",
         R"({"RuleInfo": {"reqAdminRights": true, "enableCardNoLenAuto": true, "RuleList": [{}]}})", "badField"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line + c.body);
        const Answer answer = send(c.line, c.body);
        EXPECT_EQ(answer.ok, 0);
        EXPECT_EQ(answer.error, NET_DVR_ERR_STATION_REFUSED);
        EXPECT_EQ(statusField(answer, "subStatusCode"), c.subStatus);
        EXPECT_GT(std::stoll(statusField(answer, "errorCode")), 1);
        EXPECT_FALSE(statusField(answer, "errorMsg").empty());
    }
    EXPECT_EQ(statusField(send("GET /OPRAL/AccessControl/Nothing?format=json\r\n"), "requestURL"),
              "/OPRAL/AccessControl/Nothing?format=json");
}

TEST_F(ConfigServerTest, StateOutlivesTheSessionAndDeleteClearsTheStore) {
    const std::string rule = R"({"CaptureRule": {"enableCardNoLenAuto": false, "cardNoLen": 4, "cardTimeout": 30}})";
    const Answer put = send("PUT /OPRAL/AccessControl/CaptureRule?format=json\r\n", rule);
    ASSERT_EQ(put.ok, 1);
    EXPECT_EQ(statusField(Answer{1, 0, "", put.reply}, "statusString"), "OK");
    ASSERT_EQ(send("PUT /OPRAL/AccessControl/Configuration/RFCardCfg?format=json\r\n",
                   R"({"RFCardCfg": [{"cardType": "IDCard", "enabled": true}]})").ok, 1);
    ASSERT_EQ(NET_DVR_Logout_V30(m_user), 1);

    vstation::ConfigSnapshot state;
    ASSERT_TRUE(vstation::configState(&state));
    EXPECT_EQ(state.cardNoLen, 4);
    EXPECT_EQ(state.cardTimeout, 30);
    ASSERT_EQ(state.rfCards.size(), 4u);
    EXPECT_TRUE(state.rfCards[3].enabled);
    EXPECT_GT(state.storedRecords, 0u);

    SetUp();
    ASSERT_EQ(send("DELETE /OPRAL/AccessControl/OfflineCapture/DataCollections?format=json\r\n").ok, 1);
    ASSERT_TRUE(vstation::configState(&state));
    EXPECT_EQ(state.storedRecords, 0u);
    EXPECT_EQ(state.cardNoLen, 0);  // SetUp reset the station
}

TEST_F(ConfigServerTest, AnswersThatDoNotFitFailWithAnEmptyStatusBuffer) {
    m_out.dwOutBufferSize = 16;
    EXPECT_EQ(send("GET /OPRAL/AccessControl/Configuration/RFCardCfg?format=json\r\n").status, "");
    // Raw bytes may fill a buffer exactly.
    vstation::scriptRawReply("", std::string(16, 'r'));
    EXPECT_EQ(send("GET /x\r\n").ok, 1);
    EXPECT_EQ(std::string(m_reply, 16), std::string(16, 'r'));
    m_out.dwStatusSize = 8;
    vstation::scriptRawReply("", std::string(8, 's'), true);
    const Answer answer = send("GET /x\r\n");
    EXPECT_EQ(answer.error, NET_DVR_ERR_STATION_REFUSED);
    EXPECT_EQ(std::string(m_status, 8), std::string(8, 's'));
}

TEST_F(ConfigServerTest, AbilityCallChecksItsRequest) {
    char request[] = "<AcsAbility version=\"2.0\" />";
    char out[4096] = {};
    ASSERT_EQ(NET_DVR_GetDeviceAbility(m_user, 2049, request, 28, out, sizeof out), 1);
    EXPECT_NE(std::string(out).find("<CaptureFingerPrint>"), std::string::npos);
    EXPECT_EQ(NET_DVR_GetDeviceAbility(m_user, 2048, request, 28, out, sizeof out), 0);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_NOT_SUPPORTED);
    EXPECT_EQ(NET_DVR_GetDeviceAbility(m_user, 2049, request, 27, out, sizeof out), 0);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_PARAMETER);
    EXPECT_EQ(NET_DVR_GetDeviceAbility(m_user, 2049, request, 28, out, 32), 0);
    EXPECT_EQ(NET_DVR_GetLastError(), NET_DVR_ERR_BUFFER_SMALL);
}

TEST_F(ConfigServerTest, ScriptsAreUsedInOrderAndDroppedByReset) {
    const std::string line = "GET /OPRAL/AccessControl/CaptureCardInfo?format=json\r\n";
    vstation::scriptReply(line, "first", 2);
    vstation::scriptStatus("", R"({"errorCode": 9})");
    EXPECT_EQ(send(line).reply, "first");
    EXPECT_EQ(send(line).reply, "first");
    EXPECT_EQ(send(line).status, R"({"errorCode": 9})");
    vstation::scriptReply(line, "gone");
    vstation::presentCard("1", "EMCard");
    SetUp();
    EXPECT_NE(send(line).reply.find("3053140519"), std::string::npos);
}

}  // namespace
