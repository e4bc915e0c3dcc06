// The XML capability scans and the status document reading, on their own.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "BaseSDK/ResponseStatus.h"
#include "CapabilityDocument.h"

using namespace EnrollmentStation;

namespace {

std::vector<bool> flags(const CapabilityFlags& f) {
    return {f.rfCardCfg, f.captureCardInfo, f.captureIDInfo, f.captureCardRule, f.capturePresetParam};
}

AbilityFlags scanAbility(const std::string& text) { return scanAbilityDocument(text.c_str(), text.size() + 1); }

TEST(CapabilityScan, FindsNamesInScanOrderAmongDirectChildren) {
    EXPECT_EQ(flags(scanCapabilityDocument(
                  "<A><isSupportRFCardCfg>true</isSupportRFCardCfg><!-- c --> text "
                  "<isSupportCaptureCardInfo>1</isSupportCaptureCardInfo>"
                  "<isSupportCaptureIDInfo>true</isSupportCaptureIDInfo>"
                  "<isSupportCaptureCardRule>TRUE</isSupportCaptureCardRule>"
                  "<isSupportCapturePresetParam>true </isSupportCapturePresetParam></A>")),
              (std::vector<bool>{true, true, true, false, false}));
    // Nested one level deeper, or named with another case: not seen.
    EXPECT_EQ(flags(scanCapabilityDocument("<A><x><isSupportCaptureCardInfo>true</isSupportCaptureCardInfo></x>"
                                           "<issupportcaptureIDInfo>true</issupportcaptureIDInfo></A>")),
              std::vector<bool>(5, false));
}

TEST(CapabilityScan, SearchRestartsWhereItStartedWhenANameIsMissing) {
    // Card info is not there: the ID search starts at the first child again
    // and still finds ID info standing before the RF element.
    EXPECT_EQ(flags(scanCapabilityDocument("<A><isSupportCaptureIDInfo>1</isSupportCaptureIDInfo>"
                                           "<isSupportRFCardCfg>1</isSupportRFCardCfg></A>")),
              (std::vector<bool>{true, false, false, false, false}));
    // Rule before card info: card info found, rule behind it never is.
    EXPECT_EQ(flags(scanCapabilityDocument("<A><isSupportCaptureCardRule>true</isSupportCaptureCardRule>"
                                           "<isSupportCaptureCardInfo>true</isSupportCaptureCardInfo></A>")),
              (std::vector<bool>{false, true, false, false, false}));
}

TEST(CapabilityScan, BadDocumentsGiveFalseFlags) {
    for (const char* text : {"", "not xml", "<A>", "<A></B>", "<?xml version=\"1.0\"?>",
                             "<!DOCTYPE d [<!ENTITY e \"&e;\">]><A><isSupportRFCardCfg>&e;</isSupportRFCardCfg></A>"}) {
        SCOPED_TRACE(text);
        EXPECT_EQ(flags(scanCapabilityDocument(text)), std::vector<bool>(5, false));
    }
}

TEST(AbilityScan, PresenceCountsAndTheBufferBoundsTheRead) {
    const AbilityFlags both = scanAbility("<AcsAbility><CaptureFingerPrint>no</CaptureFingerPrint><CaptureFace/></AcsAbility>");
    EXPECT_TRUE(both.captureFingerPrint && both.captureFace);
    const AbilityFlags reversed = scanAbility("<a><CaptureFace/><CaptureFingerPrint/></a>");
    EXPECT_TRUE(reversed.captureFingerPrint);
    EXPECT_FALSE(reversed.captureFace);

    // A document that fills its buffer exactly is read to the buffer's end;
    // the heap buffer lets the sanitizer catch any read past it.
    const std::string text = "<a><CaptureFace/></a>";
    std::unique_ptr<char[]> exact(new char[text.size()]);
    std::memcpy(exact.get(), text.data(), text.size());
    EXPECT_TRUE(scanAbilityDocument(exact.get(), text.size()).captureFace);
    EXPECT_FALSE(scanAbilityDocument(exact.get(), text.size() - 1).captureFace);
}

TEST(ResponseStatusParse, ReadsKeysWithoutCaseAndTypes) {
    ResponseStatus status;
    parseResponseStatus(status, R"({"REQUESTURL": "/x", "statusCode": 4.9, "statusString": 5, "errorCode": -1,
                                    "errorCode": 7, "errorMsg": "m", "tryTimes": true})");
    EXPECT_EQ(status.requestURL, "/x");
    EXPECT_EQ(status.statusCode, 4);
    EXPECT_EQ(status.statusString, "");
    EXPECT_EQ(status.errorCode, 4294967295u);
    EXPECT_TRUE(isDeviceError(status));
    EXPECT_EQ(status.errorMsg, "m");
    EXPECT_EQ(status.tryTimes, 1);

    for (const char* harmless : {"[1]", "\"text\"", R"({"errorCode": {"errorCode": 9}})"}) {
        SCOPED_TRACE(harmless);
        ResponseStatus other;
        parseResponseStatus(other, harmless);
        EXPECT_FALSE(isDeviceError(other));
    }
    ResponseStatus deep;
    parseResponseStatus(deep, std::string(5000, '[') + std::string(5000, ']'));
    EXPECT_EQ(deep.errorCode, 0u);
}

}  // namespace
