// Nothing lost silently, nothing kept for nobody.
#include <gtest/gtest.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

#include "StreamingSupport.h"
#include "VirtualStation/StreamControl.h"

using streamtest::LoggedInTest;

namespace {

// Bytes in use on the heap, where the C library counts them (glibc); the
// Windows heap has no such count, and there 0 leaves the check out.
size_t heapInUse() {
#ifdef __GLIBC__
    return mallinfo2().uordblks;
#else
    return 0;
#endif
}

class NoLossTest : public LoggedInTest {};

TEST_F(NoLossTest, ACallbackFormSearchWithoutCallbackKeepsNothing) {
    vstation::clearOfflineRecords();
    vstation::GeneratedRecords plan;
    plan.count = 40;
    plan.facePictureBytes = 150000;
    ASSERT_TRUE(vstation::addGeneratedRecords(plan));
    int user = 0;
    const size_t before = heapInUse();
    EXPECT_TRUE(station->searchCaptureData(nullptr, &user));
    EXPECT_TRUE(station->searchCaptureData([](std::string, void*) { return 0; }, nullptr));
    // Kept, the 40 documents would hold 8 MB of Base64 pictures until the next search.
    EXPECT_LT(heapInUse(), before + 1000000);
}

TEST_F(NoLossTest, AFingerprintThatIsNotBase64IsLoggedWithItsRecord) {
    vstation::clearOfflineRecords();
    std::vector<vstation::OfflineRecord> records = streamtest::people(1);
    records[0].captureNo = 77;
    records[0].fingerprints = {{1, "AQID"}, {2, "@@@"}};
    ASSERT_TRUE(vstation::addOfflineRecords(records));
    std::vector<EnrollmentStation::SearchCaptureInfomation> results;
    ASSERT_TRUE(station->searchCaptureData(results));
    ASSERT_EQ(results.size(), 1u);
    ASSERT_EQ(results[0].dataCollectList[0].fingerprintList.size(), 2u);
    EXPECT_EQ(results[0].dataCollectList[0].fingerprintList[0].fingerprint, "010203");
    EXPECT_TRUE(logged("Record captureNo[77]: field fingerprint of fingerprintID[2] is not Base64."));
    EXPECT_FALSE(logged("fingerprintID[1] is not Base64"));
}

}  // namespace
