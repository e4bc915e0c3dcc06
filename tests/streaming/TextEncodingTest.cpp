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

    // Pictures are encoded a block at a time: lengths around the blocks' edges.
    std::string picture;
    std::string groups;
    for (int i = 0; i < 2100; ++i) {
        picture.append("\x00\x01\x02", 3);
        groups += "AAEC";
    }
    for (size_t n : {3069u, 3070u, 3071u, 3072u, 3073u, 3074u, 3075u, 6144u, 6145u, 6300u}) {
        const std::string text = base64Text(picture.data(), n);
        const std::string tail = n % 3 == 0 ? "" : n % 3 == 1 ? "AA==" : "AAE=";
        EXPECT_EQ(text, groups.substr(0, n / 3 * 4) + tail) << n;
    }
}

TEST(TextEncodingTest, TextOfABufferStopsAtItsFirstZeroOrItsEnd) {
    const char bytes[4] = {'a', 'b', 'c', 'd'};
    EXPECT_EQ(textUpToNul(bytes, sizeof bytes), "abcd");
    EXPECT_EQ(textUpToNul("ab\0cd", 5), "ab");
    EXPECT_EQ(textUpToNul(nullptr, 5), "");
}

}  // namespace
