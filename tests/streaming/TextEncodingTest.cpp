// The text forms of device bytes.
#include <gtest/gtest.h>

#include <string>

#include "BaseSDK/TextEncoding.h"

namespace {

using EnrollmentStation::base64Text;
using EnrollmentStation::hexText;

TEST(TextEncodingTest, HexIsTwoUppercaseDigitsPerByte) {
    EXPECT_EQ(hexText("", 0), "");
    EXPECT_EQ(hexText("\x01\xAB\xFF\x00\x7f", 5), "01ABFF007F");
}

TEST(TextEncodingTest, Base64PadsEveryStartedGroupOfThree) {
    const std::string bytes("\x00\x01\x02\xfb\xff\xfe\x41", 7);
    const char* expected[] = {"", "AA==", "AAE=", "AAEC", "AAEC+w==", "AAEC+/8=", "AAEC+//+", "AAEC+//+QQ=="};
    for (size_t n = 0; n <= bytes.size(); ++n) EXPECT_EQ(base64Text(bytes.data(), n), expected[n]) << n;
}

}  // namespace
