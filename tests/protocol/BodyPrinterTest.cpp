// Printing of body trees: the number texts and the size the print is given.
#include "Common/Protocol/JSONStruct/BodyPrinter.h"
#include "Common/Protocol/JSONStruct/Messages.h"
#include "JsonTestUtil.h"

#include <gtest/gtest.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

using prototest::Tree;

namespace {

// The texts bodies have always carried: "%1.15g" when that reads back
// exactly, else "%1.17g". Read back with from_chars, which is exact
// everywhere; the Windows C runtime's strtod is off in the last bit for some
// tiny numbers.
std::string printfText(double d) {
    char text[32];
    std::snprintf(text, sizeof text, "%1.15g", d);
    double back = 0;
    std::from_chars(text, text + std::strlen(text), back);
    if (back != d) std::snprintf(text, sizeof text, "%1.17g", d);
    return text;
}

std::string numberTextOf(double d) {
    char text[32];
    const std::size_t length = protocol::detail::numberText(text, d);
    return std::string(text, length);
}

std::uint64_t next(std::uint64_t& state) {
    state = state * 6364136223846793005u + 1442695040888963407u;
    return state >> 11;
}

}  // namespace

TEST(NumberText, SameTextAsPrintfOverManyDoubles) {
    std::vector<double> values = {0.1, 1.0 / 3.0, -0.0, 12.75, 5e-324, 2.2250738585072014e-308,
                                  1.7976931348623157e308, 0.0001, 1e-5, 1e15, 1e16, 1e17, 1e21,
                                  123456789012345e3, 1234567890123456e4, 2147483647.0, 2147483648.0,
                                  -2147483648.0, -2147483649.0, 2147483647.5, 9007199254740993.0};
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    for (int i = 0; i < 200000; ++i) {
        double d;
        const std::uint64_t bits = next(state) << 11 | next(state) >> 42;
        std::memcpy(&d, &bits, sizeof d);
        if (std::isfinite(d)) values.push_back(d);
        // Short decimals of every length and scale, and their neighbours.
        const int digits = static_cast<int>(next(state) % 18) + 1;
        const double mantissa = static_cast<double>(next(state) % static_cast<std::uint64_t>(std::pow(10.0, digits)));
        const double scaled = mantissa * std::pow(10.0, static_cast<int>(next(state) % 60) - 30);
        values.push_back(scaled);
        values.push_back(std::nextafter(scaled, 1e300));
        values.push_back(-std::ldexp(1.0, static_cast<int>(next(state) % 2000) - 1000));
    }
    for (double d : values) {
        ASSERT_EQ(numberTextOf(d), printfText(d)) << std::hexfloat << d;
    }
}

TEST(PrintedBody, SizedExactlyAndSameAsCJsonsPrint) {
    Tree tree(cJSON_CreateObject());
    cJSON* inner = cJSON_AddObjectToObject(tree.get(), "outer \"key\"");
    cJSON_AddObjectToObject(inner, "emptyObject");
    cJSON_AddArrayToObject(inner, "emptyArray");
    cJSON* list = cJSON_AddArrayToObject(inner, "list");
    cJSON_AddItemToArray(list, cJSON_CreateObject());
    cJSON* element = cJSON_CreateObject();
    cJSON_AddNumberToObject(element, "n", 0.1);
    cJSON_AddItemToArray(element, cJSON_CreateArray());
    cJSON_AddItemToArray(list, element);
    cJSON_AddItemToArray(list, cJSON_CreateString("s"));
    cJSON_AddItemToArray(list, cJSON_CreateNull());
    cJSON_AddItemToArray(list, cJSON_CreateTrue());
    cJSON_AddBoolToObject(inner, "flag", false);
    cJSON_AddNumberToObject(inner, "nan", std::nan(""));
    cJSON_AddNumberToObject(inner, "int", -42);
    cJSON_AddStringToObject(inner, "", "");
    // Escapes anywhere in a long text, at and across word boundaries.
    std::string picture(100000, 'A');
    for (std::size_t at : {0, 7, 8, 15, 4095, 65536, 99999}) picture[at] = "\"\\\n\x01\t\x1f\b"[at % 7];
    cJSON_AddStringToObject(inner, "picture", picture.c_str());
    cJSON_AddStringToObject(inner, "utf8", "J\xC3\xBCrgen \xE6\x9D\x8E");

    const std::string printed = protocol::detail::printBody(tree.get());
    char* reference = cJSON_Print(tree.get());  // the tree now holds raw number texts
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(printed, reference);
    EXPECT_EQ(protocol::detail::printedSize(tree.get()), std::strlen(reference));
    cJSON_free(reference);
    EXPECT_NE(printed.find("\"n\":\t0.1"), std::string::npos);
    EXPECT_NE(printed.find("\"nan\":\tnull"), std::string::npos);
}

TEST(PrintedBody, MessagesKeepTheirTextWhilePrintedFromBorrowedStrings) {
    protocol::SearchCaptureData result;
    result.m_strFaceData = std::string(90000, 'Q');
    result.m_stSearchTaskCond.m_strSearchID = "ID";
    result.m_stSearchTaskCond.m_vecDataCollections.resize(1);
    result.m_stSearchTaskCond.m_vecDataCollections[0].m_vecCardNoList = {"C1", "C2"};
    const std::string body = protocol::TToJSONStr(result);
    protocol::SearchCaptureData back;
    ASSERT_TRUE(protocol::TParseJSONStr(back, body));
    EXPECT_EQ(back.m_strFaceData, result.m_strFaceData);
    EXPECT_EQ(back.m_stSearchTaskCond.m_vecDataCollections.at(0).m_vecCardNoList, (std::vector<std::string>{"C1", "C2"}));
    // A tree built outside the body helpers owns its strings.
    Tree tree(static_cast<const protocol::IInboundData&>(result).toJSON());
    EXPECT_EQ(cJSON_GetObjectItemCaseSensitive(tree.get(), "faceData")->type & cJSON_IsReference, 0);
}
