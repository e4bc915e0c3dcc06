// Body text of the messages against cJSON used by hand for the same document:
// a search result carrying two 64 KiB pictures as Base64 (about 175 KB of
// JSON) and a small card reply.
#include "Common/Protocol/JSONStruct/Messages.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

namespace {

std::string base64Of(const std::string& bytes) {
    static const char kDigits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t v = (std::uint8_t(bytes[i]) << 16) | (std::uint8_t(bytes[i + 1]) << 8) |
                                std::uint8_t(bytes[i + 2]);
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += kDigits[(v >> 6) & 63];
        out += kDigits[v & 63];
    }
    if (i < bytes.size()) {
        std::uint32_t v = std::uint8_t(bytes[i]) << 16;
        if (i + 1 < bytes.size()) {
            v |= std::uint8_t(bytes[i + 1]) << 8;
        }
        out += kDigits[v >> 18];
        out += kDigits[(v >> 12) & 63];
        out += i + 1 < bytes.size() ? kDigits[(v >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::string picture(std::uint32_t seed) {
    std::string bytes(64 * 1024, '\0');
    for (char& b : bytes) {
        seed = seed * 1664525u + 1013904223u;
        b = static_cast<char>(seed >> 24);
    }
    return base64Of(bytes);
}

protocol::SearchCaptureData largeResult() {
    protocol::SearchCaptureData result;
    result.m_strFaceData = picture(1);
    result.m_strInfraredFaceData = picture(2);
    protocol::SearchTaskResponse& response = result.m_stSearchTaskCond;
    response.m_strSearchID = "3F2504E0-4F89-41D3-9A0C-0305E82C3301";
    response.m_strResponseStatusStrg = "MORE";
    response.m_nNumOfMatches = 1;
    response.m_nTotalMatches = 240;
    protocol::DataCollect record;
    record.m_nLastCaptureNo = 240;
    record.m_nCaptureNo = 17;
    record.m_strName = "Test Person";
    record.m_strEmployeeNo = "E-0017";
    record.m_strIDCardNo = "110101199003070000";
    record.m_vecCardNoList = {"3355443201"};
    record.m_vecFingerprintList.resize(1);
    record.m_vecFingerprintList[0].m_nFingerprintID = 1;
    record.m_vecFingerprintList[0].m_strFingerprint = "RlAAAAAA";
    record.m_stFaceFeature.m_stRegion.m_dHeight = 0.42;
    record.m_stFaceFeature.m_stRegion.m_dWidth = 0.31;
    record.m_stFaceFeature.m_stRegion.m_dX = 0.35;
    record.m_stFaceFeature.m_stRegion.m_dY = 0.2;
    response.m_vecDataCollections.push_back(record);
    return result;
}

protocol::CardInfo smallCard() {
    protocol::CardInfo card;
    card.m_strCardNo = "3355443201";
    card.m_strCardType = "M1Card";
    return card;
}

// The same documents built directly with cJSON.
cJSON* rawPoint(double x, double y) {
    cJSON* p = cJSON_CreateObject();
    cJSON_AddNumberToObject(p, "x", x);
    cJSON_AddNumberToObject(p, "y", y);
    return p;
}

cJSON* rawLarge(const protocol::SearchCaptureData& m) {
    const protocol::SearchTaskResponse& r = m.m_stSearchTaskCond;
    cJSON* root = cJSON_CreateObject();
    cJSON* doc = cJSON_AddObjectToObject(root, "SearchCaptureData");
    cJSON_AddStringToObject(doc, "faceData", m.m_strFaceData.c_str());
    cJSON_AddStringToObject(doc, "infraredFaceData", m.m_strInfraredFaceData.c_str());
    cJSON* resp = cJSON_AddObjectToObject(doc, "SearchTaskCond");
    cJSON_AddStringToObject(resp, "searchID", r.m_strSearchID.c_str());
    cJSON_AddStringToObject(resp, "responseStatusStrg", r.m_strResponseStatusStrg.c_str());
    cJSON_AddNumberToObject(resp, "numOfMatches", r.m_nNumOfMatches);
    cJSON_AddNumberToObject(resp, "totalMatches", r.m_nTotalMatches);
    cJSON* list = cJSON_AddArrayToObject(resp, "DataCollections");
    for (const protocol::DataCollect& d : r.m_vecDataCollections) {
        cJSON* rec = cJSON_CreateObject();
        cJSON_AddNumberToObject(rec, "lastCaptureNo", d.m_nLastCaptureNo);
        cJSON_AddNumberToObject(rec, "captureNo", d.m_nCaptureNo);
        cJSON_AddStringToObject(rec, "name", d.m_strName.c_str());
        cJSON_AddStringToObject(rec, "employeeNo", d.m_strEmployeeNo.c_str());
        cJSON_AddStringToObject(rec, "IDCardNo", d.m_strIDCardNo.c_str());
        cJSON* cards = cJSON_AddArrayToObject(rec, "CardNoList");
        for (const std::string& c : d.m_vecCardNoList) {
            cJSON_AddItemToArray(cards, cJSON_CreateString(c.c_str()));
        }
        cJSON* fps = cJSON_AddArrayToObject(rec, "FingerprintList");
        for (const protocol::FingerprintData& f : d.m_vecFingerprintList) {
            cJSON* fp = cJSON_CreateObject();
            cJSON_AddNumberToObject(fp, "fingerprintID", f.m_nFingerprintID);
            cJSON_AddStringToObject(fp, "fingerprint", f.m_strFingerprint.c_str());
            cJSON_AddItemToArray(fps, fp);
        }
        const protocol::FaceFeatureData& g = d.m_stFaceFeature;
        cJSON* feature = cJSON_AddObjectToObject(rec, "FaceFeature");
        cJSON* region = cJSON_AddObjectToObject(feature, "Region");
        cJSON_AddNumberToObject(region, "height", g.m_stRegion.m_dHeight);
        cJSON_AddNumberToObject(region, "width", g.m_stRegion.m_dWidth);
        cJSON_AddNumberToObject(region, "x", g.m_stRegion.m_dX);
        cJSON_AddNumberToObject(region, "y", g.m_stRegion.m_dY);
        cJSON_AddItemToObject(feature, "LeftEyePoint", rawPoint(g.m_stLeftEyePoint.m_dX, g.m_stLeftEyePoint.m_dY));
        cJSON_AddItemToObject(feature, "RightEyePoint", rawPoint(g.m_stRightEyePoint.m_dX, g.m_stRightEyePoint.m_dY));
        cJSON_AddItemToObject(feature, "LeftMouthPoint", rawPoint(g.m_stLeftMouthPoint.m_dX, g.m_stLeftMouthPoint.m_dY));
        cJSON_AddItemToObject(feature, "RightMouthPoint",
                              rawPoint(g.m_stRightMouthPoint.m_dX, g.m_stRightMouthPoint.m_dY));
        cJSON_AddItemToObject(feature, "NoseTipPoint", rawPoint(g.m_stNoseTipPoint.m_dX, g.m_stNoseTipPoint.m_dY));
        cJSON_AddBoolToObject(rec, "riskDataMark", d.m_bRiskDataMark);
        cJSON_AddItemToArray(list, rec);
    }
    return root;
}

cJSON* rawSmall(const protocol::CardInfo& m) {
    cJSON* root = cJSON_CreateObject();
    cJSON* doc = cJSON_AddObjectToObject(root, "CardInfo");
    cJSON_AddStringToObject(doc, "cardNo", m.m_strCardNo.c_str());
    cJSON_AddStringToObject(doc, "cardType", m.m_strCardType.c_str());
    return root;
}

std::string rawPrint(cJSON* tree) {
    char* printed = cJSON_Print(tree);
    std::string text(printed);
    cJSON_free(printed);
    cJSON_Delete(tree);
    return text;
}

template <class M>
void frameworkWrite(benchmark::State& state, const M& msg) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = protocol::TToJSONStr(msg);
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

template <class M>
void frameworkRead(benchmark::State& state, const M& msg) {
    const std::string text = protocol::TToJSONStr(msg);
    for (auto _ : state) {
        M back;
        benchmark::DoNotOptimize(protocol::TParseJSONStr(back, text));
        benchmark::DoNotOptimize(back);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

template <class M, class Build>
void rawWrite(benchmark::State& state, const M& msg, Build build) {
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::string text = rawPrint(build(msg));
        bytes = text.size();
        benchmark::DoNotOptimize(text);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes));
}

template <class M>
void rawRead(benchmark::State& state, const M& msg) {
    const std::string text = protocol::TToJSONStr(msg);
    for (auto _ : state) {
        cJSON* tree = cJSON_Parse(text.c_str());
        benchmark::DoNotOptimize(tree);
        cJSON_Delete(tree);
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

const protocol::SearchCaptureData& large() {
    static const protocol::SearchCaptureData msg = largeResult();
    return msg;
}
const protocol::CardInfo& small() {
    static const protocol::CardInfo msg = smallCard();
    return msg;
}

void BM_LargeWrite_Framework(benchmark::State& s) { frameworkWrite(s, large()); }
void BM_LargeWrite_RawCJSON(benchmark::State& s) { rawWrite(s, large(), rawLarge); }
void BM_LargeRead_Framework(benchmark::State& s) { frameworkRead(s, large()); }
void BM_LargeRead_RawCJSON(benchmark::State& s) { rawRead(s, large()); }
void BM_SmallWrite_Framework(benchmark::State& s) { frameworkWrite(s, small()); }
void BM_SmallWrite_RawCJSON(benchmark::State& s) { rawWrite(s, small(), rawSmall); }
void BM_SmallRead_Framework(benchmark::State& s) { frameworkRead(s, small()); }
void BM_SmallRead_RawCJSON(benchmark::State& s) { rawRead(s, small()); }

}  // namespace

BENCHMARK(BM_LargeWrite_Framework);
BENCHMARK(BM_LargeWrite_RawCJSON);
BENCHMARK(BM_LargeRead_Framework);
BENCHMARK(BM_LargeRead_RawCJSON);
BENCHMARK(BM_SmallWrite_Framework);
BENCHMARK(BM_SmallWrite_RawCJSON);
BENCHMARK(BM_SmallRead_Framework);
BENCHMARK(BM_SmallRead_RawCJSON);

BENCHMARK_MAIN();
