// Fixture of the session tests: the station fixture plus a look at the
// session calls the station received, and a check after every test that no
// log line carried a password.
#ifndef ES_TESTS_SESSIONFIXTURE_H
#define ES_TESTS_SESSIONFIXTURE_H

#include <cstdint>
#include <string>
#include <vector>

#include "StationTest.h"

class SessionTest : public StationTest {
protected:
    void TearDown() override;

    // Names of the init, clean-up, login and logout calls, in order.
    static std::vector<std::string> sessionCalls();
    // The login record of the last NET_DVR_Login_V40 call as the station
    // logged it (password bytes masked); empty when there was none.
    static std::vector<uint8_t> lastLoginRecord();
    // Texts of the level-5 lines written by the session methods, in order.
    std::vector<std::string> sessionFailures() const;
    // Passwords that must never appear in a log line.
    std::vector<std::string> m_secrets{estest::DefaultStation::kPassword};
};

// A LoginParam for the built-in station with one field changed.
EnrollmentStation::LoginParam loginWith(std::string EnrollmentStation::LoginParam::*field,
                                        const std::string& value);

#endif  // ES_TESTS_SESSIONFIXTURE_H
