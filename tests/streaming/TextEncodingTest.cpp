// The text forms of device bytes.
#include <gtest/gtest.h>

#include <string>

#include "BaseSDK/TextEncoding.h"

namespace {

using EnrollmentStation::base64Text;
using EnrollmentStation::hexText;
using EnrollmentStation::textUpToNul;

TEST(TextEncodingTest, HexIsTwoUppercaseDigitsPerByte) {
    EXPECT_EQ(hexText("", 0), "");
    EXPECT_EQ(hexText("\x01\xAB\xFF\x00\x7f", 5), "01ABFF007F");
}

TEST(TextEncodingTest, Base64PadsEveryStartedGroupOfThree) {
    const std::string bytes("\x00\x01\x02\xfb\xff\xfe\x41", 7);
    const char* expected[] = {"", "AA==", "AAE=", "AAEC", "AAEC+w==", "AAEC+/8=", "AAEC+//+", "AAEC+//+QQ=="};
    for (size_t n = 0; n <= bytes.size(); ++n) EXPECT_EQ(base64Text(bytes.data(), n), expected[n]) << n;
}

TEST(TextEncodingTest, TextOfABufferStopsAtItsFirstZeroOrItsEnd) {
    const char bytes[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(textUpToNul(bytes, sizeof bytes), "abcd");
    EXPECT_EQ(textUpToNul("ab\0cd", 5), "ab");
    EXPECT_EQ(textUpToNul(nullptr, 5), "");
}

}  // namespace
