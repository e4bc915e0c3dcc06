#include "SessionFixture.h"

#include "VirtualStation/Control.h"

void SessionTest::TearDown() {
    for (const std::string& line : logLines()) {
        for (const std::string& secret : m_secrets) {
            EXPECT_EQ(line.find(secret), std::string::npos) << "password in log line: " << line;
        }
    }
    StationTest::TearDown();
}

std::vector<std::string> SessionTest::sessionCalls() {
    std::vector<std::string> names;
    for (const vstation::CallRecord& record : vstation::callLog()) {
        if (record.call == "NET_DVR_Init" || record.call == "NET_DVR_Cleanup" ||
            record.call == "NET_DVR_Login_V40" || record.call == "NET_DVR_Logout_V30") {
            names.push_back(record.call);
        }
    }
    return names;
}

std::vector<uint8_t> SessionTest::lastLoginRecord() {
    std::vector<uint8_t> bytes;
    for (const vstation::CallRecord& record : vstation::callLog()) {
        if (record.call == "NET_DVR_Login_V40") {
            bytes = record.record;
        }
    }
    return bytes;
}

EnrollmentStation::LoginParam loginWith(std::string EnrollmentStation::LoginParam::*field,
                                        const std::string& value) {
    EnrollmentStation::LoginParam param = estest::defaultLogin();
    param.*field = value;
    return param;
}

std::vector<std::string> SessionTest::sessionFailures() const {
    static const char* const methods[] = {"initEnrollmentStation", "unInitEnrollmentStation",
                                          "unInitMembers", "setIsInit"};
    std::vector<std::string> lines;
    for (const std::string& line : logLines(5)) {
        for (const char* method : methods) {
            if (line.rfind(std::string("[EnrollmentStation::CEnrollmentOperator::") + method + "]", 0) == 0) {
                lines.push_back(line);
            }
        }
    }
    return lines;
}
