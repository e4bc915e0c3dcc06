// What is particular to the messages: their documents as the station writes
// them, defaults, and the few fields with a rule of their own.
#include "Common/Protocol/JSONStruct/Messages.h"
#include "JsonTestUtil.h"

#include <gtest/gtest.h>

#include <string>
#include <type_traits>
#include <vector>

using namespace protocol;
using prototest::compact;
using prototest::compactOf;
using prototest::keysOf;
using prototest::parse;
using prototest::Tree;

namespace {

// Reads `document` into a default message and writes the message back.
template <class M>
std::string readAndWrite(const std::string& document) {
    M msg;
    if constexpr (std::is_base_of_v<IInboundData, M>) {
        if (!TParseJSONStr(msg, document)) return "unreadable";
        return compact(parse(TToJSONStr(msg)).get());
    } else {
        Tree tree = parse(document);
        msg.fromJSON(tree.get());
        return compactOf(msg);
    }
}

struct Document {
    const char* message;
    std::string (*readAndWrite)(const std::string&);
    std::string text;
};

const std::string kPoint = R"({"x":1.5,"y":-2})";
const std::string kFeature = R"({"Region":{"height":0.5,"width":0.25,"x":3,"y":4},"LeftEyePoint":)" + kPoint +
                             R"(,"RightEyePoint":)" + kPoint + R"(,"LeftMouthPoint":)" + kPoint +
                             R"(,"RightMouthPoint":)" + kPoint + R"(,"NoseTipPoint":)" + kPoint + "}";

}  // namespace

// Each document is written as the station (or, for requests, the protocol)
// spells it: every key in its order, and a value of its kind that no default
// has. A key spelt wrong, a member of the wrong kind or a key that is not read
// back changes what comes out.
TEST(MessageLayout, EveryMessageKeepsEveryKeyAndKindOfItsDocument) {
    const std::vector<Document> documents = {
        {"BatchPassThroughReq", readAndWrite<BatchPassThroughReq>,
         R"({"batchPassThroughReq":{"guid":"g-1","cancel":true,"command":2554,"hasNext":true,"condBuffer":"c",)"
         R"("condBufferEncoding":"base64","maxResultNum":7,)"
         R"("batchSendDataList":[{"id":"1","inBuffer":"in","inBufferEncoding":"hex"}]}})"},
        {"BatchSendData", readAndWrite<BatchSendData>,
         R"({"batchSendData":{"id":"2","inBuffer":"x","inBufferEncoding":"hex"}})"},
        {"BatchReturnData", readAndWrite<BatchReturnData>,
         R"({"id":"3","code":"68-12","outBuffer":"o","outBufferEncoding":"raw"})"},
        {"CardInfo", readAndWrite<CardInfo>, R"({"CardInfo":{"cardNo":"12345","cardType":"M1Card"}})"},
        {"CaptureRule", readAndWrite<CaptureRule>,
         R"({"CaptureRule":{"enableCardNoLenAuto":true,"cardNoLen":10,"cardTimeout":30}})"},
        {"RFCardCfgCap", readAndWrite<RFCardCfgCap>,
         R"({"RFCardCfgCap":{"cardType":{"@opt":["EMCard","M1Card"]},"enabled":{"@opt":[true,false]}}})"},
        {"RFCardCfgData", [](const std::string& text) {
             RFCardCfgData msg;
             TParseRootlessJSONStr(msg, text);
             return compact(parse(TToRootlessJSONStr(msg)).get());
         },
         R"({"RFCardCfg":[{"cardType":"CPUCard","enabled":true},{"cardType":"IDCard","enabled":false}]})"},
        {"IdentityInfo", readAndWrite<IdentityInfo>,
         R"({"IdentityInfo":{"chnName":"a","enName":"b","sex":"c","birth":"d","addr":"e","IDCardNo":"f",)"
         R"("issuingAuthority":"g","startDate":"h","endDate":"i","nation":56,"passNo":"j","issueNumber":"k",)"
         R"("certificateType":"l","permanentResidenceCardNo":"m","nationalityOrAreaCode":"n","version":"o",)"
         R"("receivingAuthorityCode":"p","FingerprintList":[{"fingerprint":"AB"},{"fingerprint":"CD"}],)"
         R"("pic":"cGlj"}})"},
        {"FingerPrintData", readAndWrite<FingerPrintData>,
         R"({"FingerPrintData":{"fingerPrintData":"0A0B","fingerPrintPic":"p","fingerPrintQuality":9}})"},
        {"FaceData", readAndWrite<FaceData>,
         R"({"FaceData":{"faceTemplate1":"t1","faceTemplate1Quality":1,"faceTemplate2":"t2",)"
         R"("faceTemplate2Quality":2,"faceData":"f","faceDataQuality":3,"infraredFaceData":"i",)"
         R"("infraredFaceDataQuality":4,"faceFeature":)" + kFeature + "}}"},
        {"SearchTaskCond", readAndWrite<SearchTaskCond>,
         R"({"SearchTaskCond":{"searchID":"s","searchResultPosition":3,"maxResults":1,)"
         R"("captureNoList":["17"],"searchType":"all"}})"},
        {"SearchCaptureData", readAndWrite<SearchCaptureData>,
         R"({"SearchCaptureData":{"faceData":"QUJD","infraredFaceData":"REVG","SearchTaskCond":{)"
         R"("searchID":"s","responseStatusStrg":"MORE","numOfMatches":1,"totalMatches":2,"DataCollections":[{)"
         R"("lastCaptureNo":8,"captureNo":9,"name":"n","employeeNo":"e","IDCardNo":"i","CardNoList":["c1"],)"
         R"("FingerprintList":[{"fingerprintID":4,"fingerprint":"F4"}],"FaceFeature":)" + kFeature +
         R"(,"riskDataMark":true}]}}})"},
        {"RuleInfo", readAndWrite<RuleInfo>,
         R"({"RuleInfo":{"reqAdminRights":true,"enableCardNoLenAuto":true,"RuleList":[{"dataType":"name",)"
         R"("enable":true,"uniqueCheck":true,"len":32,"num":2,"fingerprintIDs":[1,2]}]}})"},
        {"UploadFailedDetails", readAndWrite<UploadFailedDetails>,
         R"({"UploadFailedDetails":{"description":"d"}})"},
    };
    for (const Document& document : documents) {
        SCOPED_TRACE(document.message);
        const Tree expected = parse(document.text);
        ASSERT_NE(expected, nullptr) << "the test's document is not JSON";
        EXPECT_EQ(document.readAndWrite(document.text), compact(expected.get()));
    }
}

TEST(MessageLayout, DefaultsAreWrittenInFull) {
    EXPECT_EQ(compactOf(BatchPassThroughReq()),
              R"({"guid":"","cancel":false,"command":0,"hasNext":false,"condBuffer":"",)"
              R"("condBufferEncoding":"raw","maxResultNum":0,"batchSendDataList":[]})");
    EXPECT_EQ(compactOf(BatchSendData()), R"({"id":"","inBuffer":"","inBufferEncoding":"raw"})");
    // A default-built base-library error code is (0, 0).
    EXPECT_EQ(compactOf(BatchReturnData()), R"({"id":"","code":"0-0","outBuffer":"","outBufferEncoding":""})");
    EXPECT_EQ(compactOf(IdentityInfoCond()), "{}");
}

TEST(MessageLayout, SearchConditionWritesOptionalFieldsOnlyWhenSet) {
    SearchTaskCond cond;
    EXPECT_EQ(compactOf(cond), R"({"searchID":"","searchResultPosition":0,"maxResults":0})");

    cond.m_vecCaptureNoList = {"17"};
    EXPECT_EQ(compactOf(cond), R"({"searchID":"","searchResultPosition":0,"maxResults":0,"captureNoList":["17"]})");

    cond.m_vecCaptureNoList.clear();
    cond.m_strSearchType = "all";
    EXPECT_EQ(compactOf(cond), R"({"searchID":"","searchResultPosition":0,"maxResults":0,"searchType":"all"})");

    // Read like any other field.
    SearchTaskCond back;
    Tree tree = parse(R"({"captureNoList": ["1", "2"], "searchType": "x"})");
    back.fromJSON(tree.get());
    EXPECT_EQ(back.m_vecCaptureNoList, (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(back.m_strSearchType, "x");
}

TEST(MessageLayout, ResultDocumentHoldsTheResponseUnderSearchTaskCond) {
    SearchCaptureData result;
    result.m_strFaceData = "QUJD";
    result.m_stSearchTaskCond.m_strResponseStatusStrg = "OK";
    result.m_stSearchTaskCond.m_vecDataCollections.resize(1);
    const std::string body = TToJSONStr(result);
    Tree tree = parse(body);
    const cJSON* inner = cJSON_GetObjectItemCaseSensitive(tree.get(), "SearchCaptureData");
    EXPECT_EQ(keysOf(cJSON_GetObjectItemCaseSensitive(inner, "SearchTaskCond")),
              (std::vector<std::string>{"searchID", "responseStatusStrg", "numOfMatches", "totalMatches",
                                        "DataCollections"}));

    SearchCaptureData back;
    ASSERT_TRUE(TParseJSONStr(back, body));
    EXPECT_EQ(back.m_stSearchTaskCond.m_strResponseStatusStrg, "OK");
    EXPECT_EQ(back.m_stSearchTaskCond.m_vecDataCollections.size(), 1u);

    // The device's own root key is not the key of the result document.
    SearchCaptureData misplaced;
    ASSERT_TRUE(TParseJSONStr(misplaced,
                              R"({"SearchCaptureData": {"SearchTaskResponse": {"responseStatusStrg": "OK"}}})"));
    EXPECT_EQ(misplaced.m_stSearchTaskCond.m_strResponseStatusStrg, "");

    // The device's answer alone is read under its own root key.
    SearchTaskResponse answer;
    ASSERT_TRUE(TParseJSONStr(answer, R"({"SearchTaskResponse": {"responseStatusStrg": "NO MATCH"}})"));
    EXPECT_EQ(answer.m_strResponseStatusStrg, "NO MATCH");
}

TEST(MessageLayout, TwoSidedMessagesAnswerAlikeOnBothSides) {
    RFCar car;
    car.m_strCardType = "IDCard";
    car.m_bEnabled = true;
    IReturnData& asReturn = car;
    IInboundData& asInbound = car;
    Tree a(asReturn.toJSON());
    Tree b(asInbound.toJSON());
    EXPECT_EQ(compact(a.get()), R"({"cardType":"IDCard","enabled":true})");
    EXPECT_EQ(compact(a.get()), compact(b.get()));

    RFCardCfgData cfg;
    Tree tree = parse(R"({"RFCardCfg": [{"cardType": "EMCard", "enabled": true}]})");
    static_cast<IReturnData&>(cfg).fromJSON(tree.get());
    ASSERT_EQ(cfg.m_vecRFCardCfg.size(), 1u);
    EXPECT_EQ(cfg.m_vecRFCardCfg[0].m_strCardType, "EMCard");
    EXPECT_STREQ(static_cast<IInboundData&>(cfg).getRootName(), "RFCardCfg");

    // One filter serves both sides.
    car.ignoreItems = {"enabled"};
    Tree filtered(asReturn.toJSON());
    EXPECT_EQ(compact(filtered.get()), R"({"cardType":"IDCard"})");
}
