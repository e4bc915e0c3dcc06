// The offline store search in both forms: paging, the records and documents
// the caller receives, and the failure table.
#include <gtest/gtest.h>

#include <cjson/cJSON.h>

#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "StreamingSupport.h"
#include "ZornNetSDK.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"

using streamtest::LoggedInTest;

namespace {

using Results = std::vector<EnrollmentStation::SearchCaptureInfomation>;

class SearchTest : public LoggedInTest {
protected:
    void SetUp() override {
        LoggedInTest::SetUp();
        vstation::clearOfflineRecords();
    }

    void store(const std::vector<vstation::OfflineRecord>& records) {
        ASSERT_TRUE(vstation::addOfflineRecords(records));
    }

    void script(vstation::StreamEnding ending, int records, int32_t error = 0) {
        vstation::StreamScript s;
        s.ending = ending;
        s.records = records;
        s.error = error;
        ASSERT_TRUE(vstation::scriptStream(NET_DVR_SEARCH_CAPTURE_DATA, s));
    }
};

// Collects the callback documents; the status of each and the whole texts.
struct Collector {
    std::mutex mutex;
    std::vector<std::string> documents;
    std::vector<std::string> statuses;

    static int callback(std::string document, void* user) {
        auto* self = static_cast<Collector*>(user);
        cJSON* root = cJSON_Parse(document.c_str());
        const cJSON* response =
            cJSON_GetObjectItemCaseSensitive(cJSON_GetObjectItemCaseSensitive(root, "SearchCaptureData"), "SearchTaskCond");
        const cJSON* status = cJSON_GetObjectItemCaseSensitive(response, "responseStatusStrg");
        std::lock_guard<std::mutex> lock(self->mutex);
        self->statuses.push_back(cJSON_IsString(status) ? status->valuestring : "<none>");
        self->documents.push_back(std::move(document));
        cJSON_Delete(root);
        return 12345;  // ignored
    }
};

TEST_F(SearchTest, ThreeRecordsArePagedOneByOneAndAppendedBehindWhatWasThere) {
    std::vector<vstation::OfflineRecord> records = streamtest::people(3);
    records[1].IDCardNo = "440305199207158822";
    records[1].cardNoList = {"3F2A9C11", "7C01D4E2"};
    records[1].fingerprints = {{1, "AQID"}, {4, "/w=="}};
    records[1].faceFeature.leftEye = {12.75, 30};
    records[1].riskDataMark = true;
    records[1].facePicture = "FACE";
    records[1].infraredPicture = "IR";
    store(records);

    Results results(2);
    results[0].searchID = "earlier";
    ASSERT_TRUE(station->searchCaptureData(results));
    ASSERT_EQ(results.size(), 5u);
    EXPECT_EQ(results[0].searchID, "earlier");

    const std::vector<streamtest::Page> pages = streamtest::sentPages();
    ASSERT_EQ(pages.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(pages[i].position, i);
        EXPECT_EQ(pages[i].maxResults, 1);
        EXPECT_EQ(pages[i].searchId, pages[0].searchId);
        EXPECT_EQ(results[2 + i].searchID, pages[0].searchId);
        EXPECT_EQ(results[2 + i].dataCollectList.size(), 1u);
        EXPECT_EQ(results[2 + i].numOfMatches, 1);
        EXPECT_EQ(results[2 + i].totalMatches, 3);
    }
    EXPECT_FALSE(pages[0].searchId.empty());
    EXPECT_EQ(results[2].responseStatusStrg, "MORE");
    EXPECT_EQ(results[3].responseStatusStrg, "MORE");
    EXPECT_EQ(results[4].responseStatusStrg, "OK");

    const EnrollmentStation::SearchCaptureInfomation& second = results[3];
    EXPECT_EQ(streamtest::base64Decoded(second.faceData), "FACE");
    EXPECT_EQ(streamtest::base64Decoded(second.infraredFaceData), "IR");
    EXPECT_EQ(results[2].faceData, "");
    const EnrollmentStation::DataCollectInfomation& person = second.dataCollectList[0];
    EXPECT_EQ(person.name, "P1");
    EXPECT_EQ(person.employeeNo, "E1");
    EXPECT_EQ(person.captureNo, 2);
    EXPECT_EQ(person.IDCardNo, "440305199207158822");
    EXPECT_EQ(person.cardNoList, (std::vector<std::string>{"3F2A9C11", "7C01D4E2"}));
    ASSERT_EQ(person.fingerprintList.size(), 2u);
    EXPECT_EQ(person.fingerprintList[0].fingerprintID, 1);
    EXPECT_EQ(person.fingerprintList[0].fingerprint, "010203");
    EXPECT_EQ(person.fingerprintList[1].fingerprintID, 4);
    EXPECT_EQ(person.fingerprintList[1].fingerprint, "FF");
    EXPECT_EQ(person.faceFeature.leftEyePoint.x, 12.75);
    EXPECT_TRUE(person.riskDataMark);

    EXPECT_EQ(vstation::openHandles().longConnections, 0);
    EXPECT_TRUE(logged("search opral cond"));
    EXPECT_TRUE(logged("Caputre data callback."));
}

TEST_F(SearchTest, PicturesOf204800BytesOrMoreAreLeftOut) {
    std::vector<vstation::OfflineRecord> records = streamtest::people(2);
    records[0].facePicture = std::string(204799, 'a');
    records[0].infraredPicture = std::string(204800, 'b');
    records[1].facePicture = std::string(204800, 'c');
    records[1].infraredPicture = std::string(204799, 'd');
    store(records);

    Results results;
    ASSERT_TRUE(station->searchCaptureData(results));
    ASSERT_EQ(results.size(), 2u);
    EXPECT_EQ(streamtest::base64Decoded(results[0].faceData), records[0].facePicture);
    EXPECT_EQ(results[0].infraredFaceData, "");
    EXPECT_EQ(results[1].faceData, "");
    EXPECT_EQ(streamtest::base64Decoded(results[1].infraredFaceData), records[1].infraredPicture);
    EXPECT_TRUE(logged("face size [204799], second face size [204800]"));
}

TEST_F(SearchTest, AnEmptyStoreAnswersNoMatch) {
    Results results(1);
    EXPECT_FALSE(station->searchCaptureData(results));
    EXPECT_EQ(results.size(), 1u);
    EXPECT_EQ(lastError(), std::make_pair(0, 0));

    Collector collector;
    EXPECT_TRUE(station->searchCaptureData(&Collector::callback, &collector));
    EXPECT_EQ(collector.statuses, std::vector<std::string>{"NO MATCH"});
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(SearchTest, CallbackFormHandsOverEachRecordAsADocument) {
    store(streamtest::people(3));
    Collector collector;
    EXPECT_TRUE(station->searchCaptureData(&Collector::callback, &collector));
    EXPECT_EQ(collector.statuses, (std::vector<std::string>{"MORE", "MORE", "OK"}));

    cJSON* root = cJSON_Parse(collector.documents[2].c_str());
    const cJSON* document = cJSON_GetObjectItemCaseSensitive(root, "SearchCaptureData");
    ASSERT_TRUE(cJSON_IsString(cJSON_GetObjectItemCaseSensitive(document, "faceData")));
    ASSERT_TRUE(cJSON_IsString(cJSON_GetObjectItemCaseSensitive(document, "infraredFaceData")));
    const cJSON* response = cJSON_GetObjectItemCaseSensitive(document, "SearchTaskCond");
    EXPECT_EQ(cJSON_GetObjectItemCaseSensitive(response, "totalMatches")->valueint, 3);
    const cJSON* list = cJSON_GetObjectItemCaseSensitive(response, "DataCollections");
    ASSERT_EQ(cJSON_GetArraySize(list), 1);
    EXPECT_STREQ(cJSON_GetObjectItemCaseSensitive(cJSON_GetArrayItem(list, 0), "name")->valuestring, "P2");
    cJSON_Delete(root);

    // Without a user pointer nothing is handed over, and the search still ends.
    Collector unused;
    EXPECT_TRUE(station->searchCaptureData(&Collector::callback, nullptr));
    EXPECT_TRUE(unused.documents.empty());
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

// Every field, so that a reader that drops or misplaces one is caught.
void expectSameRecord(const EnrollmentStation::SearchCaptureInfomation& a,
                      const EnrollmentStation::SearchCaptureInfomation& b) {
    EXPECT_EQ(std::tie(a.faceData, a.infraredFaceData, a.searchID, a.responseStatusStrg, a.numOfMatches,
                       a.totalMatches),
              std::tie(b.faceData, b.infraredFaceData, b.searchID, b.responseStatusStrg, b.numOfMatches,
                       b.totalMatches));
    ASSERT_EQ(a.dataCollectList.size(), 1u);
    ASSERT_EQ(b.dataCollectList.size(), 1u);
    const EnrollmentStation::DataCollectInfomation& p = a.dataCollectList[0];
    const EnrollmentStation::DataCollectInfomation& q = b.dataCollectList[0];
    EXPECT_EQ(std::tie(p.lastCaptureNo, p.captureNo, p.name, p.employeeNo, p.IDCardNo, p.cardNoList, p.riskDataMark),
              std::tie(q.lastCaptureNo, q.captureNo, q.name, q.employeeNo, q.IDCardNo, q.cardNoList, q.riskDataMark));
    ASSERT_EQ(p.fingerprintList.size(), q.fingerprintList.size());
    for (std::size_t i = 0; i < p.fingerprintList.size(); ++i) {
        EXPECT_EQ(p.fingerprintList[i].fingerprintID, q.fingerprintList[i].fingerprintID);
        EXPECT_EQ(p.fingerprintList[i].fingerprint, q.fingerprintList[i].fingerprint);
    }
    const EnrollmentStation::FaceFeatureInfo& f = p.faceFeature;
    const EnrollmentStation::FaceFeatureInfo& g = q.faceFeature;
    EXPECT_EQ(std::tie(f.region.height, f.region.width, f.region.x, f.region.y),
              std::tie(g.region.height, g.region.width, g.region.x, g.region.y));
    for (auto point : {&EnrollmentStation::FaceFeatureInfo::leftEyePoint, &EnrollmentStation::FaceFeatureInfo::rightEyePoint,
                       &EnrollmentStation::FaceFeatureInfo::leftMouthPoint,
                       &EnrollmentStation::FaceFeatureInfo::rightMouthPoint,
                       &EnrollmentStation::FaceFeatureInfo::noseTipPoint}) {
        EXPECT_EQ((f.*point).x, (g.*point).x);
        EXPECT_EQ((f.*point).y, (g.*point).y);
    }
}

// The saved state brings the store back field for field: a member saved
// under a name the profile reader does not know would come back at its default.
TEST_F(SearchTest, ASavedStoreLoadsBackFieldForField) {
    std::vector<vstation::OfflineRecord> records = streamtest::people(1);
    vstation::OfflineRecord& r = records[0];
    r.lastCaptureNo = 6;
    r.IDCardNo = "440305199207158822";
    r.cardNoList = {"3F2A9C11", "7C01D4E2"};
    r.fingerprints = {{3, "AQID"}, {4, "/w=="}};
    r.faceFeature = {1.5, 2.5, 3.5, 4.5, {5.5, 6.5}, {7.5, 8.5}, {9.5, 10.5}, {11.5, 12.5}, {13.5, 14.5}};
    r.riskDataMark = true;
    r.facePicture = "FACE";
    r.infraredPicture = "IR";
    store(records);
    Results before;
    ASSERT_TRUE(station->searchCaptureData(before));

    std::string state;
    ASSERT_TRUE(vstation::stationState(&state));
    cJSON* profile = cJSON_Parse(vstation::defaultProfile().c_str());
    cJSON* saved = cJSON_Parse(state.c_str());
    cJSON* first = cJSON_GetArrayItem(cJSON_GetObjectItemCaseSensitive(profile, "stations"), 0);
    ASSERT_TRUE(first && saved);
    while (cJSON* key = saved->child) {
        cJSON_DeleteItemFromObjectCaseSensitive(first, key->string);
        cJSON_AddItemToObject(first, key->string, cJSON_DetachItemViaPointer(saved, key));
    }
    char* text = cJSON_PrintUnformatted(profile);
    const std::string profileText = text;
    cJSON_free(text);
    cJSON_Delete(saved);
    cJSON_Delete(profile);

    station->uninitEnrollmentStation();
    std::string error;
    ASSERT_TRUE(vstation::loadProfile(profileText, &error)) << error;
    ASSERT_TRUE(login(*station));
    Results after;
    ASSERT_TRUE(station->searchCaptureData(after));
    ASSERT_EQ(after.size(), 1u);
    after[0].searchID = before[0].searchID;
    expectSameRecord(after[0], before[0]);
}

TEST_F(SearchTest, CallbackDocumentsReadIntoTheListFormsRecords) {
    using EnrollmentStation::CEnrollmentStation;
    using Status = EnrollmentStation::SearchDocumentStatus;
    std::vector<vstation::OfflineRecord> records = streamtest::people(2);
    records[0].cardNoList = {"3F2A9C11", "7C01D4E2"};
    records[0].fingerprints = {{1, "AQID"}, {4, "/w=="}};
    records[0].faceFeature.x = 1.5;
    records[0].faceFeature.height = 4.5;
    records[0].faceFeature.noseTip = {7.25, 8};
    records[0].facePicture = "FACE";
    records[1].IDCardNo = "440305199207158822";
    records[1].infraredPicture = "IR";
    records[1].riskDataMark = true;
    store(records);

    Results list;
    ASSERT_TRUE(station->searchCaptureData(list));
    Collector collector;
    ASSERT_TRUE(station->searchCaptureData(&Collector::callback, &collector));
    ASSERT_EQ(collector.documents.size(), 2u);
    // Each search has an ID of its own; everything else is the same.
    const std::string callbackSearch = streamtest::sentPages().back().searchId;
    for (std::size_t i = 0; i < 2; ++i) {
        EnrollmentStation::SearchCaptureInfomation read;
        EXPECT_EQ(CEnrollmentStation::readSearchDocument(collector.documents[i], read),
                  i == 0 ? Status::More : Status::Last);
        EXPECT_EQ(read.searchID, callbackSearch);
        list[i].searchID = callbackSearch;
        expectSameRecord(read, list[i]);
    }

    // Documents without a record leave the record as it was.
    const auto untouched = [&](const std::string& document, Status expected) {
        SCOPED_TRACE(document);
        EnrollmentStation::SearchCaptureInfomation record;
        record.searchID = "kept";
        EXPECT_EQ(CEnrollmentStation::readSearchDocument(document, record), expected);
        EXPECT_EQ(record.searchID, "kept");
    };
    untouched("not json", Status::Unreadable);
    untouched(R"({"OtherRoot":{}})", Status::Unreadable);
    untouched(R"({"SearchCaptureData":{"SearchTaskCond":{"responseStatusStrg":"MORE","DataCollections":[]}}})",
              Status::Unreadable);
    untouched(R"({"SearchCaptureData":{"SearchTaskCond":{"responseStatusStrg":"SOMETHING","DataCollections":[{}]}}})",
              Status::Unreadable);

    vstation::clearOfflineRecords();
    Collector empty;
    ASSERT_TRUE(station->searchCaptureData(&Collector::callback, &empty));
    ASSERT_EQ(empty.documents.size(), 1u);
    untouched(empty.documents[0], Status::NoMatch);

    store(streamtest::people(1));
    script(vstation::StreamEnding::Failed, 0, 9);
    Collector failed;
    ASSERT_TRUE(station->searchCaptureData(&Collector::callback, &failed));
    ASSERT_EQ(failed.documents.size(), 1u);
    untouched(failed.documents[0], Status::Failed);
}

TEST_F(SearchTest, AStationFailureKeepsTheRecordsSoFar) {
    store(streamtest::people(4));
    script(vstation::StreamEnding::Failed, 2, 9);
    Results results;
    EXPECT_TRUE(station->searchCaptureData(results));
    EXPECT_EQ(results.size(), 2u);
    EXPECT_EQ(lastError(), std::make_pair(69, 8203));
    EXPECT_TRUE(logged("Search capture data. Process failed. ErrorCode [9]."));

    script(vstation::StreamEnding::Failed, 0, 9);
    Results none;
    EXPECT_FALSE(station->searchCaptureData(none));

    script(vstation::StreamEnding::Failed, 1, 9);
    Collector collector;
    EXPECT_TRUE(station->searchCaptureData(&Collector::callback, &collector));
    EXPECT_EQ(collector.statuses, (std::vector<std::string>{"MORE", "NET_SDK_CALLBACK_STATUS_FAILED"}));
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(SearchTest, AForeignUnreadableOrFinishedReplyEndsTheSearchSilently) {
    store(streamtest::people(4));
    for (vstation::StreamEnding ending : {vstation::StreamEnding::ForeignSearchID, vstation::StreamEnding::Unparsable,
                                          vstation::StreamEnding::Finished}) {
        script(ending, 1);
        Results results;
        EXPECT_TRUE(station->searchCaptureData(results));
        EXPECT_EQ(results.size(), 1u);
    }
    EXPECT_EQ(lastError(), std::make_pair(0, 0));
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(SearchTest, AnEmptyMoreReplyAsksForTheSamePositionAgain) {
    store(streamtest::people(2));
    vstation::StreamScript s;
    s.emptyPages = 1;
    vstation::scriptStream(NET_DVR_SEARCH_CAPTURE_DATA, s);
    Results results;
    ASSERT_TRUE(station->searchCaptureData(results));
    EXPECT_EQ(results.size(), 2u);
    const std::vector<streamtest::Page> pages = streamtest::sentPages();
    ASSERT_EQ(pages.size(), 3u);
    EXPECT_EQ(pages[0].position, 0);
    EXPECT_EQ(pages[1].position, 0);
    EXPECT_EQ(pages[2].position, 1);
}

TEST_F(SearchTest, ConnectionAndPageFailures) {
    store(streamtest::people(3));

    // No connection: the list form fails without a code, the callback form
    // ends at once without a call.
    vstation::failNext("NET_DVR_StartRemoteConfig", NET_DVR_ERR_PARAMETER, 2);
    Results results;
    EXPECT_FALSE(station->searchCaptureData(results));
    EXPECT_EQ(lastError(), std::make_pair(0, 0));
    Collector collector;
    EXPECT_TRUE(station->searchCaptureData(&Collector::callback, &collector));
    EXPECT_TRUE(collector.documents.empty());

    // A page that cannot be sent ends the search with the records so far.
    vstation::failNext("NET_DVR_SendRemoteConfig", NET_DVR_ERR_SEND);
    EXPECT_FALSE(station->searchCaptureData(results));
    EXPECT_EQ(lastError(), (std::pair<int, int>(50, NET_DVR_ERR_SEND)));
    EXPECT_TRUE(logged("NET_DVR_SendRemoteConfig failed!"));

    struct FailSecondPage {
        static int callback(std::string document, void* user) {
            vstation::failNext("NET_DVR_SendRemoteConfig", NET_DVR_ERR_SEND);
            return Collector::callback(std::move(document), user);
        }
    };
    Collector firstOnly;
    EXPECT_TRUE(station->searchCaptureData(&FailSecondPage::callback, &firstOnly));
    EXPECT_EQ(firstOnly.statuses, std::vector<std::string>{"MORE"});
    EXPECT_EQ(lastError(), (std::pair<int, int>(50, NET_DVR_ERR_SEND)));
    EXPECT_EQ(vstation::openHandles().longConnections, 0);

    // Without a session.
    EnrollmentStation::CEnrollmentStation loggedOut;
    EXPECT_FALSE(loggedOut.searchCaptureData(results));
    EXPECT_EQ(lastError(), std::make_pair(69, 8200));
    EXPECT_FALSE(loggedOut.searchCaptureData(&Collector::callback, &collector));
    EXPECT_EQ(lastError(), std::make_pair(69, 8200));
}

}  // namespace
