// The read and write rules shared by every message, each exercised through
// whichever message carries the field kind concerned.
#include "Common/Protocol/JSONStruct/Messages.h"
#include "JsonTestUtil.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <set>
#include <string>

using namespace protocol;
using prototest::compact;
using prototest::compactOf;
using prototest::parse;
using prototest::Tree;

namespace {

template <class M>
void readInto(M& msg, const std::string& objectText) {
    Tree tree = parse(objectText);
    ASSERT_NE(tree, nullptr) << objectText;
    msg.fromJSON(tree.get());
}

}  // namespace

TEST(FieldLookup, IgnoresAsciiCaseAndTakesTheFirstMatch) {
    CardInfo card;
    readInto(card, R"({"CARDTYPE": "M1Card", "cardno": "first", "cardNo": "second", "cardNo": "third"})");
    EXPECT_EQ(card.m_strCardNo, "first");
    EXPECT_EQ(card.m_strCardType, "M1Card");

    // Not a prefix or a fuzzy match, and only direct children count.
    CardInfo other;
    readInto(other, R"({"cardNoX": "a", "x": {"cardNo": "b"}, "cardN": "c"})");
    EXPECT_EQ(other.m_strCardNo, "");

    // The geometry is written as "faceFeature" by FaceData but found in any case.
    FaceData face;
    readInto(face, R"({"FACEFEATURE": {"region": {"X": 4}}})");
    EXPECT_EQ(face.m_stFaceFeature.m_stRegion.m_dX, 4.0);
}

TEST(FieldLookup, AbsentKeysKeepValuesButListsAreEmptied) {
    IdentityInfo id;
    id.m_strChnName = "kept";
    id.m_nNation = 7;
    id.m_vecFingerprintList.resize(2);
    readInto(id, "{}");
    EXPECT_EQ(id.m_strChnName, "kept");
    EXPECT_EQ(id.m_nNation, 7);
    EXPECT_TRUE(id.m_vecFingerprintList.empty());

    Rule rule;
    rule.m_vecFingerprintIDs = {1, 2};
    readInto(rule, R"({"len": 3})");
    EXPECT_TRUE(rule.m_vecFingerprintIDs.empty());

    RFCardType types;
    types.m_vecOpt = {"EMCard"};
    RFCardEnabled enabled;
    enabled.m_vecOpt = {true};
    BatchPassThroughReq req;
    req.m_vecBatchSendDataList.resize(3);
    readInto(types, "{}");
    readInto(enabled, "{}");
    readInto(req, "{}");
    EXPECT_TRUE(types.m_vecOpt.empty());
    EXPECT_TRUE(enabled.m_vecOpt.empty());
    EXPECT_TRUE(req.m_vecBatchSendDataList.empty());

    // A null node is no read at all: lists stay as they are.
    rule.m_vecFingerprintIDs = {9};
    rule.fromJSON(nullptr);
    EXPECT_EQ(rule.m_vecFingerprintIDs, std::vector<std::int32_t>{9});
}

// One JSON value read into a field of each scalar kind.
struct Substitution {
    const char* json;
    const char* text;
    std::int32_t integer;
    bool flag;
    double real;
};

TEST(FieldValues, AnyJsonTypeGivesTheSubstituteOfEachKind) {
    const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    const Substitution cases[] = {
        {R"("5")", "5", 0, false, 0.0},
        {R"("true")", "true", 0, false, 0.0},
        {"5", "", 5, false, 5.0},
        {"1", "", 1, true, 1.0},
        {"2", "", 2, false, 2.0},
        {"1.9", "", 1, true, 1.9},  // the integer value decides a flag
        {"87.9", "", 87, false, 87.9},
        {"-87.9", "", -87, false, -87.9},
        {"1e10", "", kMax, false, 1e10},
        {"-1e10", "", kMin, false, -1e10},
        {"2147483647", "", kMax, false, 2147483647.0},
        {"-2147483648", "", kMin, false, -2147483648.0},
        {"true", "", 1, true, 0.0},
        {"false", "", 0, false, 0.0},
        {"null", "", 0, false, 0.0},
        {"{}", "", 0, false, 0.0},
        {"[1]", "", 0, false, 0.0},
    };
    for (const Substitution& c : cases) {
        SCOPED_TRACE(c.json);
        const std::string v = c.json;
        Rule rule;
        rule.m_strDataType = "old";
        rule.m_nLen = 42;
        rule.m_bEnable = true;
        readInto(rule, R"({"dataType": )" + v + R"(, "len": )" + v + R"(, "enable": )" + v + "}");
        EXPECT_EQ(rule.m_strDataType, c.text);
        EXPECT_EQ(rule.m_nLen, c.integer);
        EXPECT_EQ(rule.m_bEnable, c.flag);

        LeftEyePoint point;
        point.m_dX = 3.5;
        readInto(point, R"({"x": )" + v + "}");
        EXPECT_EQ(point.m_dX, c.real);
    }
}

TEST(FieldValues, ListsTakeOneEntryPerChild) {
    Rule rule;
    readInto(rule, R"({"fingerprintIDs": [3, "x", 5, true, 2.9, null]})");
    EXPECT_EQ(rule.m_vecFingerprintIDs, (std::vector<std::int32_t>{3, 0, 5, 1, 2, 0}));

    RFCardEnabled enabled;
    readInto(enabled, R"({"@opt": [true, false, 1, "true", 2]})");
    EXPECT_EQ(enabled.m_vecOpt, (std::vector<bool>{true, false, true, false, false}));

    RFCardType types;
    readInto(types, R"({"@opt": ["EMCard", 7, null]})");
    EXPECT_EQ(types.m_vecOpt, (std::vector<std::string>{"EMCard", "", ""}));

    // Elements that are not objects still make (default) messages.
    IdentityInfo id;
    readInto(id, R"({"FingerprintList": [{"fingerprint": "a"}, "bare", {"FINGERPRINT": "c"}]})");
    ASSERT_EQ(id.m_vecFingerprintList.size(), 3u);
    EXPECT_EQ(id.m_vecFingerprintList[0].m_strFingerprint, "a");
    EXPECT_EQ(id.m_vecFingerprintList[1].m_strFingerprint, "");
    EXPECT_EQ(id.m_vecFingerprintList[2].m_strFingerprint, "c");

    // A member that is no array: a scalar has no children, an object's members count.
    readInto(types, R"({"@opt": "EMCard"})");
    EXPECT_TRUE(types.m_vecOpt.empty());
    readInto(types, R"({"@opt": {"a": "M1Card", "b": "IDCard"}})");
    EXPECT_EQ(types.m_vecOpt, (std::vector<std::string>{"M1Card", "IDCard"}));
}

TEST(FieldValues, NestedMessagesReadOnlyWhatTheyFind) {
    FaceFeatureData feature;
    feature.m_stRegion.m_dHeight = 10;
    feature.m_stRegion.m_dWidth = 20;
    feature.m_stNoseTipPoint.m_dX = 5;
    readInto(feature, R"({"Region": {"x": 1, "y": 2}, "NoseTipPoint": "not an object"})");
    EXPECT_EQ(feature.m_stRegion.m_dHeight, 10.0);
    EXPECT_EQ(feature.m_stRegion.m_dWidth, 20.0);
    EXPECT_EQ(feature.m_stRegion.m_dX, 1.0);
    EXPECT_EQ(feature.m_stRegion.m_dY, 2.0);
    EXPECT_EQ(feature.m_stNoseTipPoint.m_dX, 5.0);
    EXPECT_EQ(feature.presentKeys.names(), (std::set<std::string>{"Region", "NoseTipPoint"}));
    EXPECT_EQ(feature.m_stRegion.presentKeys.names(), (std::set<std::string>{"x", "y"}));
    EXPECT_TRUE(feature.m_stNoseTipPoint.presentKeys.empty());
}

TEST(PresentKeys, RecordTheMessagesSpellingAndOnlyGrow) {
    IdentityInfo id;
    readInto(id, R"({"idcardno": "X1", "NATION": "12", "chnName": 5, "unknown": 1})");
    EXPECT_EQ(id.m_strIDCardNo, "X1");
    EXPECT_EQ(id.m_nNation, 0);
    EXPECT_EQ(id.m_strChnName, "");
    EXPECT_EQ(id.presentKeys.names(), (std::set<std::string>{"IDCardNo", "nation", "chnName"}));
    EXPECT_EQ(id.presentKeys.size(), 3u);
    EXPECT_TRUE(id.presentKeys.contains("IDCardNo"));
    EXPECT_FALSE(id.presentKeys.contains("idcardno"));
    EXPECT_FALSE(id.presentKeys.contains("pic"));

    readInto(id, R"({"pic": "p", "IDCardNo": "X2"})");
    EXPECT_EQ(id.presentKeys.names(), (std::set<std::string>{"IDCardNo", "nation", "chnName", "pic"}));

    // The two-sided messages keep theirs on the IInboundData side.
    RFCar car;
    readInto(car, R"({"cardType": "EMCard"})");
    EXPECT_EQ(static_cast<IInboundData&>(car).presentKeys.names(), (std::set<std::string>{"cardType"}));

    // Copies carry them, and the filter too.
    id.ignoreMode = 1;
    id.ignoreItems = {"pic"};
    const IdentityInfo copy = id;
    EXPECT_EQ(copy.presentKeys.names(), id.presentKeys.names());
    EXPECT_EQ(compactOf(copy), R"({"pic":"p"})");

    // Assigning a two-sided message, even from an rvalue, keeps its one filter.
    car.ignoreItems = {"enabled"};
    RFCar moved;
    moved = std::move(car);
    EXPECT_EQ(moved.ignoreItems, std::vector<std::string>{"enabled"});
    EXPECT_EQ(compactOf(moved), R"({"cardType":"EMCard"})");
}

TEST(Filter, ModesDecideWhichKeysAreWritten) {
    CardInfo card;
    card.m_strCardNo = "1";
    card.ignoreItems = {"cardType"};
    EXPECT_EQ(compactOf(card), R"({"cardNo":"1"})");

    card.ignoreItems = {"CARDTYPE"};  // exact spelling only
    EXPECT_EQ(compactOf(card), R"({"cardNo":"1","cardType":""})");

    card.ignoreMode = 1;
    card.ignoreItems = {"cardType"};
    EXPECT_EQ(compactOf(card), R"({"cardType":""})");

    card.ignoreMode = 2;
    EXPECT_EQ(compactOf(card), R"({"cardNo":"1","cardType":""})");

    card.ignoreMode = 1;
    card.ignoreItems.clear();
    EXPECT_EQ(compactOf(card), "{}");
    EXPECT_FALSE(card.isIgnoreItem(nullptr));
    EXPECT_FALSE(card.isIgnoreItem(""));
    EXPECT_TRUE(card.isIgnoreItem("cardNo"));

    // Keeping only a list keeps every element of it; leaving out a nested key
    // leaves out the whole object.
    RuleInfo info;
    info.m_vecRuleList.resize(2);
    info.ignoreMode = 1;
    info.ignoreItems = {"RuleList"};
    Tree tree(info.toJSON());
    EXPECT_EQ(prototest::keysOf(tree.get()), std::vector<std::string>{"RuleList"});
    EXPECT_EQ(cJSON_GetArraySize(cJSON_GetObjectItemCaseSensitive(tree.get(), "RuleList")), 2);

    FaceData face;
    face.ignoreItems = {"faceFeature", "faceData"};
    Tree faceTree(face.toJSON());
    EXPECT_EQ(cJSON_GetArraySize(faceTree.get()), 7);
    EXPECT_EQ(cJSON_GetObjectItemCaseSensitive(faceTree.get(), "faceFeature"), nullptr);
}

TEST(StringBytes, PassThroughUnchangedAndWriteUpToTheFirstZero) {
    FingerPrintData fp;
    fp.m_strFingerPrintData = "\xff\xfe\x80 not UTF-8";
    fp.m_strFingerPrintPic = std::string("ab\0cd", 5);
    const std::string body = TToJSONStr(fp);

    FingerPrintData back;
    ASSERT_TRUE(TParseJSONStr(back, body));
    EXPECT_EQ(back.m_strFingerPrintData, fp.m_strFingerPrintData);
    EXPECT_EQ(back.m_strFingerPrintPic, "ab");

    // An escaped zero in the text ends the string cJSON hands over.
    readInto(back, R"({"fingerPrintPic": "xy\u0000z"})");
    EXPECT_EQ(back.m_strFingerPrintPic, "xy");
}

TEST(NumberText, IntegersArePlainDecimalAtTheExtremes) {
    const std::int32_t kMax = std::numeric_limits<std::int32_t>::max();
    const std::int32_t kMin = std::numeric_limits<std::int32_t>::min();
    CaptureRule rule;
    rule.m_nCardNoLen = kMax;
    rule.m_nCardTimeout = kMin;
    EXPECT_EQ(compactOf(rule), R"({"enableCardNoLenAuto":false,"cardNoLen":2147483647,"cardTimeout":-2147483648})");

    Rule ids;
    ids.m_vecFingerprintIDs = {kMin, -1, 0, kMax};
    const std::string body = TToJSONStr(ids);
    EXPECT_NE(body.find("-2147483648"), std::string::npos);
    Rule back;
    ASSERT_TRUE(TParseJSONStr(back, body));
    EXPECT_EQ(back.m_vecFingerprintIDs, ids.m_vecFingerprintIDs);
}

TEST(NumberText, RealsReadBackBitForBit) {
    std::vector<double> values = {static_cast<double>(0.1f), 0.1, 1.0 / 3.0, -0.0, 12.75, 5e-324,
                                  1.7976931348623157e308, 4.4228041899722687e-134, 123456789012.5};
    // Doubles spread over the whole range, from raw bit patterns.
    std::uint64_t state = 0x9E3779B97F4A7C15u;
    while (values.size() < 2000) {
        state = state * 6364136223846793005u + 1442695040888963407u;
        double d;
        std::memcpy(&d, &state, sizeof d);
        if (std::isfinite(d)) {
            values.push_back(d);
        }
    }
    for (std::size_t i = 0; i + 4 <= values.size(); i += 4) {
        Region region;
        region.m_dHeight = values[i];
        region.m_dWidth = values[i + 1];
        region.m_dX = values[i + 2];
        region.m_dY = values[i + 3];
        Region back;
        ASSERT_TRUE(TParseJSONStr(back, TToJSONStr(region)));
        const double got[] = {back.m_dHeight, back.m_dWidth, back.m_dX, back.m_dY};
        for (int k = 0; k < 4; ++k) {
            ASSERT_EQ(std::memcmp(&got[k], &values[i + k], sizeof(double)), 0)
                << std::hexfloat << values[i + k] << " came back as " << got[k];
        }
    }

    // The tree itself keeps plain number nodes.
    Region region;
    region.m_dX = 4.4228041899722687e-134;
    Tree tree(region.toJSON());
    EXPECT_TRUE(cJSON_IsNumber(cJSON_GetObjectItemCaseSensitive(tree.get(), "x")));
}
