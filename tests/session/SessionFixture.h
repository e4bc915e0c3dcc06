// The station fixture plus the session calls the station received, the
// session's own failure lines, and a check after every test that no log line
// carried a password.
#ifndef ES_TESTS_SESSIONFIXTURE_H
#define ES_TESTS_SESSIONFIXTURE_H

#include <algorithm>
#include <string>
#include <vector>

#include "KestroBase.h"
#include "StationTest.h"
#include "VirtualStation/StationControl.h"
#include "ZornNetSDK.h"

using Strings = std::vector<std::string>;

class SessionTest : public StationTest {
protected:
    void TearDown() override {
        for (const std::string& line : logLines()) {
            for (const std::string& secret : m_secrets) {
                EXPECT_EQ(line.find(secret), std::string::npos) << "password in: " << line;
            }
        }
        StationTest::TearDown();
    }

    static Strings sessionCalls() {
        static const Strings session{"NET_DVR_Init", "NET_DVR_Cleanup", "NET_DVR_Login_V40",
                                     "NET_DVR_Logout_V30"};
        Strings names;
        for (const vstation::CallRecord& record : vstation::callLog()) {
            if (std::find(session.begin(), session.end(), record.call) != session.end()) {
                names.push_back(record.call);
            }
        }
        return names;
    }

    // The last login record as the station logged it (password bytes masked).
    static std::vector<uint8_t> lastLoginRecord() {
        std::vector<uint8_t> bytes;
        for (const vstation::CallRecord& record : vstation::callLog()) {
            if (record.call == "NET_DVR_Login_V40") bytes = record.record;
        }
        return bytes;
    }

    // Level-5 lines of the session methods, the line number replaced by N.
    Strings sessionFailures() const {
        static const Strings methods{"initEnrollmentStation", "unInitEnrollmentStation", "unInitMembers",
                                     "setIsInit"};
        static const std::string source = "[EnrollmentStation\\EnrollmentOperator(";
        Strings lines;
        for (const estest::LogLine& record : logRecords()) {
            const std::string& text = record.text;
            const bool ours = std::any_of(methods.begin(), methods.end(), [&](const std::string& method) {
                return text.rfind("[EnrollmentStation::CEnrollmentOperator::" + method + "]", 0) == 0;
            });
            const size_t at = text.rfind(source);
            if (record.level != 5 || record.module != "EnrollmentStation" || !ours || at == std::string::npos) {
                continue;
            }
            const std::string number = text.substr(at + source.size(), text.size() - at - source.size() - 2);
            const bool numbered = !number.empty() && number.find_first_not_of("0123456789") == std::string::npos &&
                                  text.compare(text.size() - 2, 2, ")]") == 0;
            lines.push_back(numbered ? text.substr(0, at) + source + "N)]" : text);
        }
        return lines;
    }

    static EnrollmentStation::LoginParam loginWith(std::string EnrollmentStation::LoginParam::*field,
                                                   const std::string& value) {
        EnrollmentStation::LoginParam param = estest::defaultLogin();
        param.*field = value;
        return param;
    }

    static void setLastError(int main, int sub) {
        Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(main, sub));
    }

    Strings m_secrets{estest::DefaultStation::kPassword};
};

// The expected text of a session line.
inline std::string sessionLine(const std::string& method, const std::string& message) {
    return "[EnrollmentStation::CEnrollmentOperator::" + method + "]" + message +
           "[EnrollmentStation\\EnrollmentOperator(N)]";
}

#endif  // ES_TESTS_SESSIONFIXTURE_H
