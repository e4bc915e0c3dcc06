// The person at the station: requests that wait for them, and what they give.
#include <chrono>
#include <future>
#include <thread>

#include "OneShotTest.h"
#include "VirtualStation/PersonControl.h"
#include "VirtualStation/StreamControl.h"

using EnrollmentStation::CEnrollmentStation;
using EnrollmentStation::FingerPrintInfomation;
using namespace oneshot;
using namespace std::chrono_literals;

namespace {

class PersonAtStationTest : public OneShotTest {};

// Waits until a request of `action` waits for the person.
bool pending(vstation::PersonAction action) {
    const auto deadline = std::chrono::steady_clock::now() + 10s;
    while (std::chrono::steady_clock::now() < deadline) {
        for (const auto& request : vstation::pendingRequests()) {
            if (request.action == action) return true;
        }
        std::this_thread::sleep_for(5ms);
    }
    return false;
}

std::string hex(const std::string& bytes) {
    static const char* const digits = "0123456789ABCDEF";
    std::string text;
    for (unsigned char byte : bytes) {
        text += digits[byte >> 4];
        text += digits[byte & 15];
    }
    return text;
}

TEST_F(PersonAtStationTest, ACardReadWaitsForTheCardAndGoesOnTheUsualWayWhenTheWaitEnds) {
    CEnrollmentStation station;
    loginQuietly(station);
    vstation::setWaitForPerson(true);

    auto read = std::async(std::launch::async, [&station] {
        std::string cardNo;
        return station.captureCardInfo(cardNo) ? cardNo : std::string("failed");
    });
    ASSERT_TRUE(pending(vstation::PersonAction::Card));
    EXPECT_EQ(read.wait_for(50ms), std::future_status::timeout) << "the read waits for the person";
    vstation::presentCard("31415926");
    EXPECT_EQ(read.get(), "31415926");
    EXPECT_TRUE(vstation::pendingRequests().empty());

    // The wait switched off: a waiting read takes the profile's first card.
    read = std::async(std::launch::async, [&station] {
        std::string cardNo;
        return station.captureCardInfo(cardNo) ? cardNo : std::string("failed");
    });
    ASSERT_TRUE(pending(vstation::PersonAction::Card));
    vstation::setWaitForPerson(false);
    EXPECT_EQ(read.get(), "3053140519");
}

TEST_F(PersonAtStationTest, ACardReadWaitsNoLongerThanTheCardTimeOut) {
    CEnrollmentStation station;
    loginQuietly(station);
    EnrollmentStation::CaptureRuleInfo rule;
    rule.enableCardNoLenAuto = true;
    rule.cardTimeout = 1;
    ASSERT_TRUE(station.setCaptureCardRule(rule));
    vstation::setWaitForPerson(true);
    const auto start = std::chrono::steady_clock::now();
    std::string cardNo = "kept";
    EXPECT_FALSE(station.captureCardInfo(cardNo));
    EXPECT_GE(std::chrono::steady_clock::now() - start, 900ms);
    EXPECT_EQ(lastError(), std::make_pair(68, 0x30001));  // no card presented
    EXPECT_EQ(cardNo, "kept");
}

TEST_F(PersonAtStationTest, AFingerGoesToTheWaitingCollectionAndNotToOneThatGaveUp) {
    CEnrollmentStation station;
    loginQuietly(station);
    vstation::setWaitForPerson(true);

    // A collection that gives up leaves the wait; the finger placed after it
    // waits for the next collection.
    station.setStreamTimeout(200);
    FingerPrintInfomation info;
    EXPECT_FALSE(station.captureFingerInfo(info));
    EXPECT_EQ(lastError(), std::make_pair(69, 8208));
    EXPECT_TRUE(vstation::pendingRequests().empty());
    vstation::FingerprintSample given = vstation::builtInFingerprintSample();
    given.templateBytes = std::string(300, '\x5a');
    given.quality = 42;
    vstation::placeFinger(given);

    station.setStreamTimeout(0);
    ASSERT_TRUE(station.captureFingerInfo(info));
    EXPECT_EQ(info.fingerPrintQuality, 42);
    EXPECT_EQ(info.fingerPrintData, hex(given.templateBytes));

    // And one that waits is completed by the next finger.
    auto collected = std::async(std::launch::async, [&station] {
        FingerPrintInfomation later;
        return station.captureFingerInfo(later) ? later.fingerPrintQuality : -1;
    });
    ASSERT_TRUE(pending(vstation::PersonAction::Finger));
    given.quality = 77;
    vstation::placeFinger(given);
    EXPECT_EQ(collected.get(), 77);
}

TEST_F(PersonAtStationTest, WithoutTheWaitWhatAPersonGaveComesBeforeTheSamples) {
    CEnrollmentStation station;
    loginQuietly(station);
    EXPECT_FALSE(vstation::layIdentityCard("not an object"));
    ASSERT_TRUE(vstation::layIdentityCard(R"({"enName":"MIRA VALE","IDCardNo":"12"})"));
    EnrollmentStation::IdentityInfomation card;
    ASSERT_TRUE(station.captureIDCardInfo(card));
    EXPECT_EQ(card.enName, "MIRA VALE");
    ASSERT_TRUE(station.captureIDCardInfo(card));
    EXPECT_EQ(card.enName, "LIN XIAOYU") << "the laid card was read once";
}

}  // namespace
