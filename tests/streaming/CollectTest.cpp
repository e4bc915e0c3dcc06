// Fingerprint and face collection against the virtual station: what the
// caller receives, what the station was sent, and every way a collection fails.
#include <gtest/gtest.h>

#include <chrono>

#include "KestroBase.h"
#include "StreamingSupport.h"
#include "ZornNetSDK.h"
#include "VirtualStation/StationControl.h"
#include "VirtualStation/StreamControl.h"

using streamtest::LoggedInTest;

namespace {

using Finger = EnrollmentStation::FingerPrintInfomation;
using Face = EnrollmentStation::FaceInformation;

class FingerCollectTest : public LoggedInTest {};
class FaceCollectTest : public LoggedInTest {};

vstation::FingerprintSample fingerSample(std::string templateBytes, std::string picture, uint8_t quality) {
    vstation::FingerprintSample sample;
    sample.templateBytes = std::move(templateBytes);
    sample.picture = std::move(picture);
    sample.quality = quality;
    return sample;
}

TEST_F(FingerCollectTest, DeliversTemplateAsHexAndPictureUpToItsFirstZeroByte) {
    ASSERT_TRUE(vstation::setFingerprintSample(fingerSample(std::string("\x01\xAB\xFF", 3), std::string("PQ\0RS", 5), 77)));
    Finger info;
    ASSERT_TRUE(station->captureFingerInfo(info));
    EXPECT_EQ(info.fingerPrintData, "01ABFF");
    EXPECT_EQ(info.fingerPrintPic, "PQ");
    EXPECT_EQ(info.fingerPrintQuality, 77);
    EXPECT_TRUE(logged("Finger Length:[3], Finger Quality:[77]"));
    EXPECT_TRUE(logged("Finger collect callback. Finished."));

    // The job asked for finger 1 with a 132-byte block, and closed its connection.
    const std::vector<uint8_t> block = streamtest::lastStartBlock();
    ASSERT_EQ(block.size(), 132u);
    EXPECT_EQ(block[0], 132);
    EXPECT_EQ(block[5], 1);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
    EXPECT_EQ(streamtest::callCount("NET_DVR_StopRemoteConfig"), 1);
}

TEST_F(FingerCollectTest, WithoutTemplateQualityIsZeroAndThePictureStillArrives) {
    ASSERT_TRUE(vstation::setFingerprintSample(fingerSample("", "\x05\x06\x07\x08\x09", 90)));
    Finger info;
    ASSERT_TRUE(station->captureFingerInfo(info));
    EXPECT_EQ(info.fingerPrintData, "");
    EXPECT_EQ(info.fingerPrintQuality, 0);
    EXPECT_EQ(info.fingerPrintPic, "\x05\x06\x07\x08\x09");
}

TEST_F(FingerCollectTest, BuiltInSampleIsAFullTemplateAndARawImage) {
    Finger info;
    ASSERT_TRUE(station->captureFingerInfo(info));
    EXPECT_EQ(info.fingerPrintData.size(), 1024u);
    EXPECT_EQ(info.fingerPrintPic.size(), 64u * 64u);
    EXPECT_GT(info.fingerPrintQuality, 0);
}

TEST_F(FingerCollectTest, FailuresLeaveTheRecordUntouchedWithTheirCodes) {
    Finger info;
    info.fingerPrintData = "keep";

    // The station reports failure, with and without its error word.
    vstation::StreamScript failed;
    failed.ending = vstation::StreamEnding::Failed;
    failed.records = 0;
    failed.error = 77;
    vstation::scriptStream(NET_DVR_CAPTURE_FINGERPRINT_INFO, failed);
    EXPECT_FALSE(station->captureFingerInfo(info));
    EXPECT_EQ(lastError(), std::make_pair(69, 8203));
    EXPECT_TRUE(logged("Finger collect. Process failed. ErrorCode [77]."));

    failed.statusLength = 4;
    vstation::scriptStream(NET_DVR_CAPTURE_FINGERPRINT_INFO, failed);
    clearLog();
    EXPECT_FALSE(station->captureFingerInfo(info));
    EXPECT_TRUE(logged("Finger collect. Process failed. ErrorCode [0]."));

    // Finished without any data.
    vstation::StreamScript empty;
    empty.ending = vstation::StreamEnding::Finished;
    empty.records = 0;
    vstation::scriptStream(NET_DVR_CAPTURE_FINGERPRINT_INFO, empty);
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(0, 0));
    EXPECT_FALSE(station->captureFingerInfo(info));
    EXPECT_EQ(lastError(), std::make_pair(69, 8203));

    // The connection cannot be opened (an error other than 7: no restart).
    vstation::failNext("NET_DVR_StartRemoteConfig", NET_DVR_ERR_NOT_SUPPORTED);
    clearLog();
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(station->captureFingerInfo(info));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    EXPECT_EQ(lastError(), std::make_pair(69, 8203));
    EXPECT_FALSE(logged("restart long connect failed"));

    EXPECT_EQ(info.fingerPrintData, "keep");
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(FingerCollectTest, WithoutSessionNothingReachesTheStation) {
    EnrollmentStation::CEnrollmentStation loggedOut;
    Finger finger;
    Face face;
    EXPECT_FALSE(loggedOut.captureFingerInfo(finger));
    EXPECT_EQ(lastError(), std::make_pair(69, 8200));
    EXPECT_FALSE(loggedOut.captureFaceInfo(face));
    EXPECT_EQ(lastError(), std::make_pair(69, 8200));
    EXPECT_EQ(streamtest::callCount("NET_DVR_StartRemoteConfig"), 0);
}

vstation::FaceSample faceSample() {
    vstation::FaceSample sample;
    sample.template1 = "T1";
    sample.template1Quality = 91;
    sample.template2 = "T22";
    sample.template2Quality = 92;
    sample.picture = std::string("\x00\x01\x02\x03", 4);
    sample.pictureQuality = 93;
    sample.infraredPicture = "IR";
    sample.infraredPictureQuality = 94;
    vstation::FaceGeometry& g = sample.geometry;
    g = {1.5, 2.5, 3.5, 4.5, {0.25, 0.1}, {5, 6}, {7, 8}, {9, 10}, {11, 12}};
    return sample;
}

TEST_F(FaceCollectTest, DeliversBase64ItemsQualitiesAndGeometryWidenedFromFloat) {
    ASSERT_TRUE(vstation::setFaceSample(faceSample()));
    Face info;
    ASSERT_TRUE(station->captureFaceInfo(info));
    EXPECT_EQ(info.faceTemplate1, "VDE=");
    EXPECT_EQ(info.faceTemplate1Quality, 91);
    EXPECT_EQ(info.faceTemplate2, "VDIy");
    EXPECT_EQ(info.faceTemplate2Quality, 92);
    EXPECT_EQ(info.faceData, "AAECAw==");
    EXPECT_EQ(info.faceDataQuality, 93);
    EXPECT_EQ(info.infraredFaceData, "SVI=");
    EXPECT_EQ(info.infraredFaceDataQuality, 94);

    const EnrollmentStation::FaceFeatureInfo& f = info.faceFeature;
    EXPECT_EQ(f.region.x, 1.5);
    EXPECT_EQ(f.region.y, 2.5);
    EXPECT_EQ(f.region.width, 3.5);
    EXPECT_EQ(f.region.height, 4.5);
    EXPECT_EQ(f.leftEyePoint.x, 0.25);
    EXPECT_EQ(f.leftEyePoint.y, static_cast<double>(0.1f));
    EXPECT_EQ(f.rightEyePoint.y, 6);
    EXPECT_EQ(f.leftMouthPoint.x, 7);
    EXPECT_EQ(f.rightMouthPoint.y, 10);
    EXPECT_EQ(f.noseTipPoint.x, 11);
    EXPECT_EQ(streamtest::lastStartBlock().size(), 132u);
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

TEST_F(FaceCollectTest, ItemsNotSentStayEmptyWithQualityZero) {
    vstation::FaceSample sample = faceSample();
    sample.template1.clear();
    sample.template2.clear();
    sample.infraredPicture.clear();
    ASSERT_TRUE(vstation::setFaceSample(sample));
    Face info;
    ASSERT_TRUE(station->captureFaceInfo(info));
    EXPECT_EQ(info.faceTemplate1, "");
    EXPECT_EQ(info.faceTemplate1Quality, 0);
    EXPECT_EQ(info.faceTemplate2Quality, 0);
    EXPECT_EQ(info.infraredFaceData, "");
    EXPECT_EQ(info.infraredFaceDataQuality, 0);
    EXPECT_EQ(info.faceData, "AAECAw==");
}

TEST_F(FaceCollectTest, BuiltInSampleCarriesPicturesBrowsersCanShow) {
    Face info;
    ASSERT_TRUE(station->captureFaceInfo(info));
    EXPECT_TRUE(streamtest::wellFormedPng(streamtest::base64Decoded(info.faceData)));
    EXPECT_TRUE(streamtest::wellFormedPng(streamtest::base64Decoded(info.infraredFaceData)));
    EXPECT_GT(info.faceFeature.region.width, 0);
}

// What a progress callback received, in order.
struct ProgressLog {
    std::vector<std::pair<EnrollmentStation::ProgressOperation, int>> reports;
    static void record(const EnrollmentStation::ProgressReport& report, void* user) {
        static_cast<ProgressLog*>(user)->reports.emplace_back(report.operation, report.percent);
    }
};

TEST_F(FaceCollectTest, ProgressReportsFollowTheStationInOrderAndNullTurnsThemOff) {
    using EnrollmentStation::ProgressOperation;
    using Steps = std::vector<std::pair<ProgressOperation, int>>;
    vstation::FaceSample sample = faceSample();
    sample.progressReports = 2;
    ASSERT_TRUE(vstation::setFaceSample(sample));
    ProgressLog log;
    station->setProgressCallback(&ProgressLog::record, &log);
    Face info;
    ASSERT_TRUE(station->captureFaceInfo(info));
    EXPECT_EQ(log.reports, (Steps{{ProgressOperation::FaceCapture, 33}, {ProgressOperation::FaceCapture, 66},
                                  {ProgressOperation::FaceCapture, 100}}));
    EXPECT_EQ(info.faceTemplate1, "VDE=");  // the result is as without reports

    // A fingerprint has no progress to report.
    log.reports.clear();
    Finger finger;
    ASSERT_TRUE(station->captureFingerInfo(finger));
    EXPECT_TRUE(log.reports.empty());

    station->setProgressCallback(nullptr, &log);
    ASSERT_TRUE(station->captureFaceInfo(info));
    EXPECT_TRUE(log.reports.empty());
}

TEST_F(FaceCollectTest, ProgressAloneIsNoResultAndFailuresEndTheCollection) {
    Face info;
    info.faceData = "keep";

    vstation::StreamScript progressOnly;
    progressOnly.ending = vstation::StreamEnding::Finished;
    progressOnly.records = 0;
    vstation::scriptStream(NET_DVR_CAPTURE_FACE_INFO, progressOnly);
    EXPECT_FALSE(station->captureFaceInfo(info));
    EXPECT_EQ(lastError(), std::make_pair(69, 8203));
    EXPECT_TRUE(logged("Face collect callback. Finished."));

    vstation::StreamScript failed;
    failed.ending = vstation::StreamEnding::Failed;
    failed.records = 0;
    failed.error = 41;
    vstation::scriptStream(NET_DVR_CAPTURE_FACE_INFO, failed);
    EXPECT_FALSE(station->captureFaceInfo(info));
    EXPECT_TRUE(logged("Face collect. Process failed. ErrorCode [41]."));

    // An exception carries its error at byte 16; a report too short for it says 0.
    vstation::StreamScript exception;
    exception.ending = vstation::StreamEnding::Exception;
    exception.records = 0;
    exception.error = 55;
    vstation::scriptStream(NET_DVR_CAPTURE_FACE_INFO, exception);
    clearLog();
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(0, 0));
    EXPECT_FALSE(station->captureFaceInfo(info));
    EXPECT_EQ(lastError(), std::make_pair(69, 8203));
    EXPECT_TRUE(logged("Face collect. Process failed. ErrorCode [55]."));
    EXPECT_TRUE(logged("(465)"));

    exception.statusLength = 16;
    vstation::scriptStream(NET_DVR_CAPTURE_FACE_INFO, exception);
    clearLog();
    EXPECT_FALSE(station->captureFaceInfo(info));
    EXPECT_TRUE(logged("Face collect. Process failed. ErrorCode [0]."));

    EXPECT_EQ(info.faceData, "keep");
    EXPECT_EQ(vstation::openHandles().longConnections, 0);
}

}  // namespace
