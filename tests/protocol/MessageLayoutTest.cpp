// What is particular to the messages: their keys and key order, root keys,
// defaults, and the few fields with a rule of their own.
#include "Common/Protocol/JSONStruct/Messages.h"
#include "JsonTestUtil.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace protocol;
using prototest::compact;
using prototest::compactOf;
using prototest::keysOf;
using prototest::parse;
using prototest::Tree;

namespace {

struct Layout {
    const char* message;
    const char* rootKey;  // null: no root key
    std::function<cJSON*()> defaultObject;
    std::function<const char*()> rootName;
    std::vector<std::string> keys;
};

template <class M>
Layout layout(const char* message, const char* rootKey, std::vector<std::string> keys) {
    return Layout{message, rootKey, [] { return M().toJSON(); },
                  [] { return static_cast<const IInboundData&>(M()).getRootName(); }, std::move(keys)};
}

}  // namespace

TEST(MessageLayout, EveryMessageWritesItsKeysInTableOrder) {
    const std::vector<Layout> layouts = {
        layout<BatchPassThroughReq>("BatchPassThroughReq", "batchPassThroughReq",
                                    {"guid", "cancel", "command", "hasNext", "condBuffer", "condBufferEncoding",
                                     "maxResultNum", "batchSendDataList"}),
        layout<BatchSendData>("BatchSendData", "batchSendData", {"id", "inBuffer", "inBufferEncoding"}),
        Layout{"BatchReturnData", nullptr, [] { return BatchReturnData().toJSON(); }, nullptr,
               {"id", "code", "outBuffer", "outBufferEncoding"}},
        layout<CardInfo>("CardInfo", "CardInfo", {"cardNo", "cardType"}),
        layout<CaptureRule>("CaptureRule", "CaptureRule", {"enableCardNoLenAuto", "cardNoLen", "cardTimeout"}),
        layout<RFCardCfgCap>("RFCardCfgCap", "RFCardCfgCap", {"cardType", "enabled"}),
        layout<RFCardEnabled>("RFCardEnabled", "enabled", {"@opt"}),
        layout<RFCardType>("RFCardType", "cardType", {"@opt"}),
        layout<RFCar>("RFCar", "RFCardCfg", {"cardType", "enabled"}),
        layout<RFCardCfgData>("RFCardCfgData", "RFCardCfg", {"RFCardCfg"}),
        layout<IdentityInfoCond>("IdentityInfoCond", "IdentityInfoCond", {}),
        layout<IdentityInfo>("IdentityInfo", "IdentityInfo",
                             {"chnName", "enName", "sex", "birth", "addr", "IDCardNo", "issuingAuthority",
                              "startDate", "endDate", "nation", "passNo", "issueNumber", "certificateType",
                              "permanentResidenceCardNo", "nationalityOrAreaCode", "version",
                              "receivingAuthorityCode", "FingerprintList", "pic"}),
        layout<Fingerprint>("Fingerprint", "Fingerprint", {"fingerprint"}),
        layout<FingerprintData>("FingerprintData", "Fingerprint", {"fingerprintID", "fingerprint"}),
        layout<FingerPrintData>("FingerPrintData", "FingerPrintData",
                                {"fingerPrintData", "fingerPrintPic", "fingerPrintQuality"}),
        layout<FaceData>("FaceData", "FaceData",
                         {"faceTemplate1", "faceTemplate1Quality", "faceTemplate2", "faceTemplate2Quality",
                          "faceData", "faceDataQuality", "infraredFaceData", "infraredFaceDataQuality",
                          "faceFeature"}),
        layout<FaceFeatureData>("FaceFeatureData", "FaceFeature",
                                {"Region", "LeftEyePoint", "RightEyePoint", "LeftMouthPoint", "RightMouthPoint",
                                 "NoseTipPoint"}),
        layout<Region>("Region", "Region", {"height", "width", "x", "y"}),
        layout<LeftEyePoint>("LeftEyePoint", "LeftEyePoint", {"x", "y"}),
        layout<RightEyePoint>("RightEyePoint", "RightEyePoint", {"x", "y"}),
        layout<LeftMouthPoint>("LeftMouthPoint", "LeftMouthPoint", {"x", "y"}),
        layout<RightMouthPoint>("RightMouthPoint", "RightMouthPoint", {"x", "y"}),
        layout<NoseTipPoint>("NoseTipPoint", "NoseTipPoint", {"x", "y"}),
        layout<SearchTaskCond>("SearchTaskCond", "SearchTaskCond",
                               {"searchID", "searchResultPosition", "maxResults"}),
        layout<SearchTaskResponse>("SearchTaskResponse", "SearchTaskResponse",
                                   {"searchID", "responseStatusStrg", "numOfMatches", "totalMatches",
                                    "DataCollections"}),
        layout<DataCollect>("DataCollect", "DataCollect",
                            {"lastCaptureNo", "captureNo", "name", "employeeNo", "IDCardNo", "CardNoList",
                             "FingerprintList", "FaceFeature", "riskDataMark"}),
        layout<SearchCaptureData>("SearchCaptureData", "SearchCaptureData",
                                  {"faceData", "infraredFaceData", "SearchTaskCond"}),
        layout<Rule>("Rule", "Rule", {"dataType", "enable", "uniqueCheck", "len", "num", "fingerprintIDs"}),
        layout<RuleInfo>("RuleInfo", "RuleInfo", {"reqAdminRights", "enableCardNoLenAuto", "RuleList"}),
        layout<UploadFailedDetails>("UploadFailedDetails", "UploadFailedDetails", {"description"}),
    };
    ASSERT_EQ(layouts.size(), 30u);
    for (const Layout& l : layouts) {
        SCOPED_TRACE(l.message);
        Tree tree(l.defaultObject());
        ASSERT_TRUE(cJSON_IsObject(tree.get()));
        EXPECT_EQ(keysOf(tree.get()), l.keys);
        if (l.rootKey != nullptr) {
            EXPECT_STREQ(l.rootName(), l.rootKey);
        }
    }
}

TEST(MessageLayout, DefaultsAreWrittenInFull) {
    EXPECT_EQ(compactOf(BatchPassThroughReq()),
              R"({"guid":"","cancel":false,"command":0,"hasNext":false,"condBuffer":"",)"
              R"("condBufferEncoding":"raw","maxResultNum":0,"batchSendDataList":[]})");
    EXPECT_EQ(compactOf(BatchSendData()), R"({"id":"","inBuffer":"","inBufferEncoding":"raw"})");
    // A default-built base-library error code is (0, 0).
    EXPECT_EQ(compactOf(BatchReturnData()), R"({"id":"","code":"0-0","outBuffer":"","outBufferEncoding":""})");

    const std::string point = R"({"x":0,"y":0})";
    const std::string feature = R"({"Region":{"height":0,"width":0,"x":0,"y":0},"LeftEyePoint":)" + point +
                                R"(,"RightEyePoint":)" + point + R"(,"LeftMouthPoint":)" + point +
                                R"(,"RightMouthPoint":)" + point + R"(,"NoseTipPoint":)" + point + "}";
    EXPECT_EQ(compactOf(FaceData()),
              R"({"faceTemplate1":"","faceTemplate1Quality":0,"faceTemplate2":"","faceTemplate2Quality":0,)"
              R"("faceData":"","faceDataQuality":0,"infraredFaceData":"","infraredFaceDataQuality":0,)"
              R"("faceFeature":)" + feature + "}");
    EXPECT_EQ(compactOf(DataCollect()),
              R"({"lastCaptureNo":0,"captureNo":0,"name":"","employeeNo":"","IDCardNo":"","CardNoList":[],)"
              R"("FingerprintList":[],"FaceFeature":)" + feature + R"(,"riskDataMark":false})");
    EXPECT_EQ(compactOf(RuleInfo()), R"({"reqAdminRights":false,"enableCardNoLenAuto":false,"RuleList":[]})");
    EXPECT_EQ(compactOf(Rule()),
              R"({"dataType":"","enable":false,"uniqueCheck":false,"len":0,"num":0,"fingerprintIDs":[]})");
}

TEST(MessageLayout, EachKeyIsBoundToItsOwnMember) {
    IdentityInfo id;
    std::string* const texts[] = {&id.m_strChnName, &id.m_strEnName, &id.m_strSex, &id.m_strBirth,
                                  &id.m_strAddr, &id.m_strIDCardNo, &id.m_strIssuingAuthority,
                                  &id.m_strStartDate, &id.m_strEndDate, &id.m_strPassNo, &id.m_strIssueNumber,
                                  &id.m_strCertificateType, &id.m_strPermanentResidenceCardNo,
                                  &id.m_strNationalityOrAreaCode, &id.m_strVersion,
                                  &id.m_strReceivingAuthorityCode, &id.m_strPic};
    int n = 0;
    for (std::string* t : texts) {
        *t = "v" + std::to_string(n++);
    }
    id.m_nNation = 56;
    id.m_vecFingerprintList.resize(1);
    id.m_vecFingerprintList[0].m_strFingerprint = "fp";
    EXPECT_EQ(compactOf(id),
              R"({"chnName":"v0","enName":"v1","sex":"v2","birth":"v3","addr":"v4","IDCardNo":"v5",)"
              R"("issuingAuthority":"v6","startDate":"v7","endDate":"v8","nation":56,"passNo":"v9",)"
              R"("issueNumber":"v10","certificateType":"v11","permanentResidenceCardNo":"v12",)"
              R"("nationalityOrAreaCode":"v13","version":"v14","receivingAuthorityCode":"v15",)"
              R"("FingerprintList":[{"fingerprint":"fp"}],"pic":"v16"})");

    FaceData face;
    face.m_strFaceTemplate1 = "t1";
    face.m_nFaceTemplate1Quality = 1;
    face.m_strFaceTemplate2 = "t2";
    face.m_nFaceTemplate2Quality = 2;
    face.m_strFaceData = "f";
    face.m_nFaceDataQuality = 3;
    face.m_strInfraredFaceData = "i";
    face.m_nInfraredFaceDataQuality = 4;
    FaceFeatureData& g = face.m_stFaceFeature;
    g.m_stRegion.m_dHeight = 1.5;
    g.m_stRegion.m_dWidth = 2.5;
    g.m_stRegion.m_dX = 3.5;
    g.m_stRegion.m_dY = 4.5;
    g.m_stLeftEyePoint.m_dX = 5;
    g.m_stRightEyePoint.m_dX = 6;
    g.m_stLeftMouthPoint.m_dX = 7;
    g.m_stRightMouthPoint.m_dX = 8;
    g.m_stNoseTipPoint.m_dY = 9;
    EXPECT_EQ(compactOf(face),
              R"({"faceTemplate1":"t1","faceTemplate1Quality":1,"faceTemplate2":"t2","faceTemplate2Quality":2,)"
              R"("faceData":"f","faceDataQuality":3,"infraredFaceData":"i","infraredFaceDataQuality":4,)"
              R"("faceFeature":{"Region":{"height":1.5,"width":2.5,"x":3.5,"y":4.5},)"
              R"("LeftEyePoint":{"x":5,"y":0},"RightEyePoint":{"x":6,"y":0},"LeftMouthPoint":{"x":7,"y":0},)"
              R"("RightMouthPoint":{"x":8,"y":0},"NoseTipPoint":{"x":0,"y":9}}})");

    BatchPassThroughReq req;
    req.m_strGuid = "g";
    req.m_bCancel = true;
    req.m_nCommand = 2554;
    req.m_strCondBuffer = "c";
    req.m_nMaxResultNum = 3;
    req.m_vecBatchSendDataList.resize(1);
    req.m_vecBatchSendDataList[0].m_strId = "1";
    req.m_vecBatchSendDataList[0].m_strInBuffer = "in";
    EXPECT_EQ(compactOf(req),
              R"({"guid":"g","cancel":true,"command":2554,"hasNext":false,"condBuffer":"c",)"
              R"("condBufferEncoding":"raw","maxResultNum":3,)"
              R"("batchSendDataList":[{"id":"1","inBuffer":"in","inBufferEncoding":"raw"}]})");

    // Every kind once more through a whole body and back.
    DataCollect record;
    record.m_nLastCaptureNo = 9;
    record.m_nCaptureNo = 8;
    record.m_strName = "n";
    record.m_strEmployeeNo = "e";
    record.m_strIDCardNo = "i";
    record.m_vecCardNoList = {"c1", "c2"};
    record.m_vecFingerprintList.resize(2);
    record.m_vecFingerprintList[1].m_nFingerprintID = 4;
    record.m_vecFingerprintList[1].m_strFingerprint = "f4";
    record.m_stFaceFeature.m_stNoseTipPoint.m_dX = 0.25;
    record.m_bRiskDataMark = true;
    SearchTaskResponse response;
    response.m_strSearchID = "s";
    response.m_strResponseStatusStrg = "MORE";
    response.m_nNumOfMatches = 1;
    response.m_nTotalMatches = 2;
    response.m_vecDataCollections = {record, record};
    SearchTaskResponse back;
    ASSERT_TRUE(TParseJSONStr(back, TToJSONStr(response)));
    EXPECT_EQ(compactOf(back), compactOf(response));
    EXPECT_EQ(back.m_vecDataCollections[1].m_vecFingerprintList[1].m_strFingerprint, "f4");
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
