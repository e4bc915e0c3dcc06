// What reaches the SDK at login: the record's bytes, the port conversion and
// the limits of the text fields.
#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "SessionFixture.h"
#include "VirtualStation/Control.h"
#include "ZornNetSDK.h"

using EnrollmentStation::CEnrollmentStation;
using EnrollmentStation::LoginParam;

namespace {

uint16_t portOf(const std::vector<uint8_t>& record) {
    return static_cast<uint16_t>(record[130] | (record[131] << 8));
}

// Checks a text field: `text` then zeros up to `width`.
void expectField(const std::vector<uint8_t>& record, size_t offset, size_t width, const std::string& text) {
    ASSERT_LE(text.size(), width);
    EXPECT_EQ(std::string(record.begin() + offset, record.begin() + offset + text.size()), text)
        << "field at " << offset;
    for (size_t i = offset + text.size(); i < offset + width; ++i) {
        EXPECT_EQ(record[i], 0) << "byte " << i;
    }
}

}  // namespace

TEST_F(SessionTest, LoginRecordCarriesTheFieldsAtTheirOffsets) {
    CEnrollmentStation station;
    ASSERT_TRUE(login(station));
    const std::vector<uint8_t> record = lastLoginRecord();
    ASSERT_EQ(record.size(), sizeof(NET_DVR_USER_LOGIN_INFO));
    expectField(record, 0, 130, "127.0.0.1");  // address and the reserved byte after it
    EXPECT_EQ(portOf(record), 8000);
    expectField(record, 132, 64, "admin");
    expectField(record, 196, 64, std::string(std::strlen(estest::DefaultStation::kPassword), '*'));
    EXPECT_EQ(record[286], 2);
    for (size_t i = 260; i < record.size(); ++i) {
        if (i != 286) {
            EXPECT_EQ(record[i], 0) << "byte " << i;
        }
    }
    EXPECT_TRUE(station.uninitEnrollmentStation());
}

TEST_F(SessionTest, PortTextConvertsLikeTheStandardConversionCutTo16Bits) {
    struct Case {
        const char* text;
        uint16_t port;
    };
    const Case converted[] = {
        {" 8000a", 8000}, {"+8000", 8000},     {"\t\n\v\f\r 8000", 8000}, {"0008000", 8000},
        {"70000", 4464},  {"-1", 65535},       {"2147483647", 65535},    {"-2147483648", 0},
        {"8000 1", 8000}, {"65536", 0},
    };
    for (const Case& c : converted) {
        vstation::reset();
        CEnrollmentStation station;
        long id = -1;
        const bool ok = station.initEnrollmentStation(loginWith(&LoginParam::port, c.text), id);
        EXPECT_EQ(ok, c.port == 8000) << c.text;
        EXPECT_EQ(portOf(lastLoginRecord()), c.port) << c.text;
        if (ok) {
            EXPECT_TRUE(station.uninitEnrollmentStation());
        } else {
            EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_NO_SUCH_STATION})) << c.text;
        }
    }

    const char* const notANumber[] = {"a8000", " ", "-", "+-8000", "0x", "\xef\xbc\x98"};
    const char* const outOfRange[] = {"2147483648", "-2147483649", "99999999999999999999999999"};
    auto expectThrow = [&](const char* text, bool range) {
        vstation::reset();
        CEnrollmentStation station;
        long id = 9;
        try {
            station.initEnrollmentStation(loginWith(&LoginParam::port, text), id);
            ADD_FAILURE() << "no exception for \"" << text << "\"";
        } catch (const std::out_of_range& e) {
            EXPECT_TRUE(range) << text;
            EXPECT_STREQ(e.what(), "stoi argument out of range");
        } catch (const std::invalid_argument& e) {
            EXPECT_FALSE(range) << text;
            EXPECT_STREQ(e.what(), "invalid stoi argument");
        }
        // The SDK stays initialised; no login was tried.
        EXPECT_EQ(vstation::initCount(), 1) << text;
        EXPECT_EQ(sessionCalls(), std::vector<std::string>{"NET_DVR_Init"}) << text;
        EXPECT_FALSE(station.isInit());
    };
    for (const char* text : notANumber) {
        expectThrow(text, false);
    }
    for (const char* text : outOfRange) {
        expectThrow(text, true);
    }
}

TEST_F(SessionTest, OverlongFieldIsRejectedBeforeTheSdkIsTouched) {
    const std::string secret(65, 's');
    m_secrets.push_back(secret);
    struct Case {
        std::string LoginParam::*field;
        std::string value;
        const char* name;
        const char* sizes;
    };
    const Case cases[] = {
        {&LoginParam::deviceAddress, std::string(130, 'a'), "deviceAddress", "130 bytes long, the field holds 129"},
        {&LoginParam::userName, std::string(65, 'u'), "userName", "65 bytes long, the field holds 64"},
        {&LoginParam::password, secret, "password", "65 bytes long, the field holds 64"},
    };
    CEnrollmentStation station;
    for (const Case& c : cases) {
        clearLog();
        long id = 3;
        EXPECT_FALSE(station.initEnrollmentStation(loginWith(c.field, c.value), id));
        EXPECT_EQ(id, -1);
        EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_PARAMETER}));
        const std::vector<std::string> lines = sessionFailures();
        ASSERT_EQ(lines.size(), 1u) << c.name;
        EXPECT_NE(lines[0].find(std::string(c.name) + " is " + c.sizes), std::string::npos) << lines[0];
    }
    EXPECT_TRUE(vstation::callLog().empty());
}

TEST_F(SessionTest, FieldsThatFillTheirFieldPassWithoutTerminator) {
    const std::string address(129, 'h');
    const std::string user(64, 'u');
    const std::string password(64, 'p');
    m_secrets.push_back(password);
    const std::string profile = R"({"stations": [{"address": ")" + address +
                                R"(", "port": 8001, "languageMask": 2, "accounts": [{"userName": ")" +
                                user + R"(", "password": ")" + password + R"("}]}]})";
    std::string why;
    ASSERT_TRUE(vstation::loadProfile(profile, &why)) << why;

    CEnrollmentStation station;
    long id = -1;
    ASSERT_TRUE(station.initEnrollmentStation(LoginParam{address, "8001", user, password}, id)) << lastError().second;
    const std::vector<uint8_t> record = lastLoginRecord();
    ASSERT_EQ(record.size(), sizeof(NET_DVR_USER_LOGIN_INFO));
    expectField(record, 0, 130, address);
    expectField(record, 132, 64, user);
    expectField(record, 196, 64, std::string(64, '*'));
    EXPECT_EQ(record[286], 2);
    EXPECT_TRUE(station.uninitEnrollmentStation());
}
