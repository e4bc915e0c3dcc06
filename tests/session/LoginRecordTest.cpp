// What reaches the SDK at login: the record's bytes, the port conversion and
// the limits of the text fields.
#include <cstring>
#include <stdexcept>

#include "SessionFixture.h"
#include "VirtualStation/StationControl.h"

using EnrollmentStation::CEnrollmentStation;
using EnrollmentStation::LoginParam;

namespace {

uint16_t portOf(const std::vector<uint8_t>& record) {
    return record.size() < 132 ? 0 : static_cast<uint16_t>(record[130] | (record[131] << 8));
}

// `text` at `offset`, then zeros up to `width`.
std::string field(const std::vector<uint8_t>& record, size_t offset, size_t width) {
    return std::string(record.begin() + offset, record.begin() + offset + width);
}
std::string padded(const std::string& text, size_t width) { return text + std::string(width - text.size(), '\0'); }

}  // namespace

TEST_F(SessionTest, LoginRecordCarriesTheFieldsAtTheirOffsets) {
    CEnrollmentStation station;
    ASSERT_TRUE(login(station));
    std::vector<uint8_t> record = lastLoginRecord();
    ASSERT_EQ(record.size(), sizeof(NET_DVR_USER_LOGIN_INFO));
    EXPECT_EQ(field(record, 0, 130), padded("127.0.0.1", 130));  // with the reserved byte after it
    EXPECT_EQ(portOf(record), 8000);
    EXPECT_EQ(field(record, 132, 64), padded("admin", 64));
    EXPECT_EQ(field(record, 196, 64), padded(std::string(std::strlen(estest::DefaultStation::kPassword), '*'), 64));
    EXPECT_EQ(record[286], 2);
    record[286] = 0;
    EXPECT_EQ(field(record, 260, 156), std::string(156, '\0'));
    EXPECT_TRUE(station.uninitEnrollmentStation());
}

TEST_F(SessionTest, PortTextConvertsLikeTheStandardConversionCutTo16Bits) {
    const std::pair<const char*, uint16_t> converted[] = {
        {" 8000a", 8000}, {"+8000", 8000}, {"\t\n\v\f\r 0008000", 8000}, {"8000 1", 8000},
        {"70000", 4464},  {"-1", 65535},   {"2147483647", 65535},       {"-2147483648", 0},
    };
    for (const auto& c : converted) {
        vstation::reset();
        CEnrollmentStation station;
        long id = -1;
        const bool ok = station.initEnrollmentStation(loginWith(&LoginParam::port, c.first), id);
        EXPECT_EQ(portOf(lastLoginRecord()), c.second) << c.first;
        EXPECT_EQ(ok, c.second == 8000) << c.first;
        if (ok) {
            EXPECT_TRUE(station.uninitEnrollmentStation());
        }
    }

    const std::pair<const char*, const char*> thrown[] = {
        {"a8000", "invalid stoi argument"},  {" ", "invalid stoi argument"},
        {"-", "invalid stoi argument"},      {"+-8000", "invalid stoi argument"},
        {"2147483648", "stoi argument out of range"}, {"-2147483649", "stoi argument out of range"},
        {"99999999999999999999999", "stoi argument out of range"},
    };
    for (const auto& c : thrown) {
        vstation::reset();
        CEnrollmentStation station;
        long id = 9;
        const bool range = std::strstr(c.second, "range") != nullptr;
        try {
            station.initEnrollmentStation(loginWith(&LoginParam::port, c.first), id);
            ADD_FAILURE() << "no exception for \"" << c.first << "\"";
        } catch (const std::out_of_range& e) {
            EXPECT_TRUE(range) << c.first;
            EXPECT_STREQ(e.what(), c.second);
        } catch (const std::invalid_argument& e) {
            EXPECT_FALSE(range) << c.first;
            EXPECT_STREQ(e.what(), c.second);
        }
        // The SDK stays initialised and no login is tried.
        EXPECT_EQ(sessionCalls(), Strings{"NET_DVR_Init"}) << c.first;
        EXPECT_EQ(vstation::initCount(), 1);
        EXPECT_FALSE(station.isInit());
    }
}

TEST_F(SessionTest, OverlongFieldsAreRejectedAndFullOnesPassWithoutTerminator) {
    const std::string address(129, 'h');
    const std::string user(64, 'u');
    const std::string password(64, 'p');
    m_secrets = {password, password + "x"};
    const std::pair<LoginParam, std::string> overlong[] = {
        {{address + "h", "8001", user, password}, "deviceAddress is 130 bytes long, the field holds 129."},
        {{address, "8001", user + "u", password}, "userName is 65 bytes long, the field holds 64."},
        {{address, "8001", user, password + "x"}, "password is 65 bytes long, the field holds 64."},
    };
    CEnrollmentStation station;
    for (const auto& c : overlong) {
        clearLog();
        long id = 3;
        EXPECT_FALSE(station.initEnrollmentStation(c.first, id));
        EXPECT_EQ(id, -1);
        EXPECT_EQ(lastError(), std::make_pair(50, int{NET_DVR_ERR_PARAMETER}));
        EXPECT_EQ(sessionFailures(), Strings{sessionLine("initEnrollmentStation", "Login parameter " + c.second)});
    }
    EXPECT_TRUE(vstation::callLog().empty());

    std::string why;
    ASSERT_TRUE(vstation::loadProfile(R"({"stations": [{"address": ")" + address + R"(", "port": 8001,
        "accounts": [{"userName": ")" + user + R"(", "password": ")" + password + R"("}]}]})", &why))
        << why;
    long id = -1;
    ASSERT_TRUE(station.initEnrollmentStation({address, "8001", user, password}, id)) << lastError().second;
    const std::vector<uint8_t> record = lastLoginRecord();
    ASSERT_EQ(record.size(), sizeof(NET_DVR_USER_LOGIN_INFO));
    EXPECT_EQ(field(record, 0, 130), address + '\0');
    EXPECT_EQ(field(record, 132, 64), user);
    EXPECT_EQ(field(record, 196, 64), std::string(64, '*'));
    EXPECT_TRUE(station.uninitEnrollmentStation());
}
