#include <gtest/gtest.h>

#include <string>

#include "KestroBase.h"

using Kestro::Base::Encrypt::Base64Decode;

TEST(Base64Decode, DecodesWellFormedText) {
    struct Case {
        const char* text;
        std::string bytes;
    };
    const Case cases[] = {
        {"", ""},
        {"Zg==", "f"},
        {"Zm8=", "fo"},
        {"Zm9v", "foo"},
        {"Zm9vYg==", "foob"},
        {"Zm9vYmE=", "fooba"},
        {"Zm9vYmFy", "foobar"},
        {"AAEC/w==", std::string("\x00\x01\x02\xff", 4)},
        {"+/+/", "\xfb\xff\xbf"},
        {"Zh==", "f"},  // leftover bits are ignored
    };
    for (const Case& c : cases) {
        std::string out = "previous";
        EXPECT_TRUE(Base64Decode(out, c.text)) << c.text;
        EXPECT_EQ(out, c.bytes) << c.text;
    }
}

TEST(Base64Decode, RejectsMalformedTextAndEmptiesTheOutput) {
    const char* const cases[] = {
        "Zg",        // length not a multiple of four
        "Zm9vY",     // likewise
        "Zm9v\n",    // line break
        "Zm 9v",     // blank
        "Zm9v-_==",  // URL-safe alphabet
        "Zm*v",      // foreign character
        "Z===",      // three padding characters
        "====",      // padding only
        "Zg==Zg==",  // padding before the end
        "Zm=v",      // padding inside a group
        "=Zm9",      // padding first
    };
    for (const char* text : cases) {
        std::string out = "previous";
        EXPECT_FALSE(Base64Decode(out, text)) << text;
        EXPECT_TRUE(out.empty()) << text;
    }
    std::string embeddedZero("Zm9v\0AAA", 8);
    std::string out;
    EXPECT_FALSE(Base64Decode(out, embeddedZero));
}

TEST(Base64Decode, OutputMayBeTheInput) {
    std::string text = "Zm9vYmFy";
    EXPECT_TRUE(Base64Decode(text, text));
    EXPECT_EQ(text, "foobar");
}

TEST(Base64Decode, RoundTripsEveryByteValue) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string bytes;
    for (int i = 0; i < 256; ++i) {
        bytes.push_back(static_cast<char>(i));
    }
    bytes.push_back('x');  // 257 bytes: the last group is padded
    std::string text;
    for (size_t i = 0; i < bytes.size(); i += 3) {
        unsigned group = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size()) group |= static_cast<unsigned char>(bytes[i + 2]);
        text += alphabet[(group >> 18) & 63];
        text += alphabet[(group >> 12) & 63];
        text += i + 1 < bytes.size() ? alphabet[(group >> 6) & 63] : '=';
        text += i + 2 < bytes.size() ? alphabet[group & 63] : '=';
    }
    std::string out;
    ASSERT_TRUE(Base64Decode(out, text));
    EXPECT_EQ(out, bytes);
}
