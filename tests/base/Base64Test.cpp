#include <gtest/gtest.h>

#include <string>

#include "KestroBase.h"

using Kestro::Base::Encrypt::Base64Decode;

TEST(Base64Decode, AcceptsWellFormedText) {
    const std::pair<const char*, std::string> cases[] = {
        {"", ""},         {"Zg==", "f"},        {"Zm8=", "fo"},        {"Zm9v", "foo"},
        {"Zm9vYg==", "foob"}, {"Zm9vYmFy", "foobar"}, {"+/+/", "\xfb\xff\xbf"},
        {"AAEC/w==", std::string("\x00\x01\x02\xff", 4)},
        {"Zh==", "f"},  // leftover bits are ignored
    };
    for (const auto& c : cases) {
        std::string out = "previous";
        EXPECT_TRUE(Base64Decode(out, c.first)) << c.first;
        EXPECT_EQ(out, c.second) << c.first;
    }
    std::string same = "Zm9vYmE=";  // output and input may be one string
    EXPECT_TRUE(Base64Decode(same, same));
    EXPECT_EQ(same, "fooba");
}

TEST(Base64Decode, RejectsMalformedTextAndEmptiesTheOutput) {
    const std::string cases[] = {
        "Zg", "Zm9vY",                           // length
        "Zm9v\n", "Zm 9v", "Zm9v-_==", "Zm*v",   // characters
        std::string("Zm9v\0AAA", 8),
        "Z===", "====", "Zg==Zg==", "Zm=v", "=Zm9",  // padding
    };
    for (const std::string& text : cases) {
        std::string out = "previous";
        EXPECT_FALSE(Base64Decode(out, text)) << text;
        EXPECT_TRUE(out.empty()) << text;
    }
}
