// Whole bodies: the root member, the parse failures and their log lines, and
// the root-less path.
#include "Common/Protocol/JSONStruct/Messages.h"
#include "JsonTestUtil.h"
#include "KestroBase/LogSink.h"

#include <gtest/gtest.h>

#include <vector>

using namespace protocol;
using prototest::keysOf;
using prototest::parse;
using prototest::Tree;

namespace {

struct LogLine {
    int level;
    std::string module;
    std::string text;
};

// Collects the log lines written while it lives.
class LogCapture {
public:
    LogCapture() {
        kestro_standin::setLogSink([this](int level, const std::string& module, const std::string& text) {
            lines.push_back({level, module, text});
        });
    }
    ~LogCapture() { kestro_standin::setLogSink(nullptr); }

    std::vector<LogLine> lines;
};

const char* const kParseFailed =
    "[protocol::TParseJSONStr]Failed to cJSON_Parse( [%s] ). Error info: [%s]."
    "[Common\\Protocol/JSONStruct/ParseJSONUtil(38)]";

std::string parseFailedLine(const std::string& text, const std::string& rest) {
    std::string line = kParseFailed;
    line.replace(line.find("%s"), 2, text);
    line.replace(line.find("%s"), 2, rest);
    return line;
}

}  // namespace

TEST(BodyText, IsOneMemberNamedByTheRootKey) {
    CardInfo card;
    card.m_strCardNo = "12345";
    const std::string body = TToJSONStr(card);
    EXPECT_NE(body.find('\n'), std::string::npos);  // formatted
    EXPECT_NE(body.find('\t'), std::string::npos);

    Tree tree = parse(body);
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(keysOf(tree.get()), std::vector<std::string>{"CardInfo"});
    EXPECT_EQ(prototest::compact(tree.get()), R"({"CardInfo":{"cardNo":"12345","cardType":""}})");

    EXPECT_EQ(prototest::compact(parse(TToJSONStr(IdentityInfoCond())).get()), R"({"IdentityInfoCond":{}})");
}

TEST(BodyText, ParsingFindsTheRootKeyInAnyCase) {
    LogCapture log;
    CardInfo card;
    EXPECT_TRUE(TParseJSONStr(card, R"({"other": 1, "CARDINFO": {"CardNo": "77"}, "CardInfo": {"cardNo": "88"}})"));
    EXPECT_EQ(card.m_strCardNo, "77");

    // A root holding no known key still counts as read.
    CardInfo empty;
    EXPECT_TRUE(TParseJSONStr(empty, R"({"CardInfo": {}})"));
    EXPECT_EQ(empty.m_strCardNo, "");
    EXPECT_TRUE(empty.presentKeys.empty());

    // What follows the value, or a zero byte, ends the text as cJSON sees it.
    EXPECT_TRUE(TParseJSONStr(card, std::string(R"({"CardInfo": {"cardNo": "99"}})" "\0trailing", 40)));
    EXPECT_EQ(card.m_strCardNo, "99");
    EXPECT_TRUE(log.lines.empty());
}

TEST(BodyText, FailuresAreLoggedOnceWithTheirLine) {
    LogCapture log;
    CardInfo card;
    card.m_strCardNo = "unchanged";

    EXPECT_FALSE(TParseJSONStr(card, ""));
    EXPECT_TRUE(log.lines.empty()) << "an empty text fails silently";

    EXPECT_FALSE(TParseJSONStr(card, R"({"CardInfo": {"cardNo": x}})"));
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].level, 5);
    EXPECT_EQ(log.lines[0].module, "EnrollmentStation");
    EXPECT_EQ(log.lines[0].text, parseFailedLine(R"({"CardInfo": {"cardNo": x}})", "x}}"));

    log.lines.clear();
    EXPECT_FALSE(TParseJSONStr(card, R"({"x": {"CardInfo": {"cardNo": "1"}}})"));
    ASSERT_EQ(log.lines.size(), 1u);
    EXPECT_EQ(log.lines[0].level, 5);
    EXPECT_EQ(log.lines[0].text,
              "[protocol::TParseJSONStr]Failed to cJSON_GetObjectItem([CardInfo]). Error info: []."
              "[Common\\Protocol/JSONStruct/ParseJSONUtil(46)]");
    EXPECT_EQ(card.m_strCardNo, "unchanged");

    // A text cut inside a value, and one cut by a zero byte, are not JSON.
    log.lines.clear();
    EXPECT_FALSE(TParseJSONStr(card, "{"));
    EXPECT_FALSE(TParseJSONStr(card, std::string(R"({"CardInfo": {"cardNo")" "\0\"1\"}}", 28)));
    ASSERT_EQ(log.lines.size(), 2u);
    EXPECT_EQ(log.lines[0].text.rfind("[protocol::TParseJSONStr]Failed to cJSON_Parse( [{] ).", 0), 0u);
    EXPECT_EQ(card.m_strCardNo, "unchanged");
}

TEST(BodyText, RootlessPathUsesTheMessagesOwnObject) {
    RFCardCfgData cfg;
    EXPECT_EQ(prototest::compact(parse(TToRootlessJSONStr(cfg)).get()), R"({"RFCardCfg":[]})");

    RFCar car;
    car.m_strCardType = "CPUCard";
    car.m_bEnabled = true;
    cfg.m_vecRFCardCfg = {car, RFCar()};
    EXPECT_EQ(prototest::compact(parse(TToRootlessJSONStr(cfg)).get()),
              R"({"RFCardCfg":[{"cardType":"CPUCard","enabled":true},{"cardType":"","enabled":false}]})");

    LogCapture log;
    RFCardCfgData back;
    EXPECT_TRUE(TParseRootlessJSONStr(back, R"({"rfcardcfg": [{"cardType": "M1Card", "enabled": 1}]})"));
    ASSERT_EQ(back.m_vecRFCardCfg.size(), 1u);
    EXPECT_EQ(back.m_vecRFCardCfg[0].m_strCardType, "M1Card");
    EXPECT_TRUE(back.m_vecRFCardCfg[0].m_bEnabled);

    EXPECT_TRUE(TParseRootlessJSONStr(back, R"({"other": 1})"));
    EXPECT_TRUE(back.m_vecRFCardCfg.empty());

    back.m_vecRFCardCfg.resize(1);
    EXPECT_FALSE(TParseRootlessJSONStr(back, ""));
    EXPECT_FALSE(TParseRootlessJSONStr(back, "{\"RFCardCfg\": ["));
    EXPECT_EQ(back.m_vecRFCardCfg.size(), 1u);
    EXPECT_TRUE(log.lines.empty());
}
