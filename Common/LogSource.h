// Module tag, source names and line numbers that the library's log lines carry.
#ifndef COMMON_LOGSOURCE_H
#define COMMON_LOGSOURCE_H

namespace EnrollmentStation {

constexpr const char* kLogModule = "EnrollmentStation";
constexpr int kLogTrace = 3;
constexpr int kLogFailure = 5;

constexpr const char* kSrcEnrollmentOperator = "EnrollmentStation\\EnrollmentOperator";
constexpr const char* kSrcBaseSDK = "EnrollmentStation\\BaseSDK";
constexpr const char* kSrcFileUtil = "EnrollmentStation\\FileUtil\\FileUtil";
constexpr const char* kSrcParseJSONUtil = "Common\\Protocol/JSONStruct/ParseJSONUtil";

// The transport's and the message framework's lines carry these numbers, not
// __LINE__: field notes and log filters written for earlier releases find a
// failure by its source and line, so the numbers stay as those releases
// printed them however this code is laid out.
namespace logline {
// The one-shot transparent request.
constexpr int kTransparentInput = 72;
constexpr int kTransparentOutput = 98;
constexpr int kTransparentSdkFailed = 89;
constexpr int kTransparentDeviceFailed = 82;
// The long connection.
constexpr int kLongConnectStart = 105;
constexpr int kConnectBroken = 141;
constexpr int kRestartFailed = 129;
constexpr int kStopWithoutHandle = 173;
constexpr int kStopFailed = 162;
// The search and collect process.
constexpr int kSearchCondition = 621;
constexpr int kSendRemoteConfig = 626;
constexpr int kSendRemoteConfigFailed = 631;
constexpr int kFingerReport = 213;
constexpr int kFingerFinished = 227;
constexpr int kFingerFailed = 234;
constexpr int kFaceFinished = 449;
constexpr int kFaceFailed = 456;
constexpr int kFaceException = 465;
constexpr int kSearchReport = 260;
constexpr int kSearchFinished = 333;
constexpr int kSearchFailed = 340;
// The message framework.
constexpr int kParseFailed = 38;
constexpr int kRootKeyMissing = 46;
}  // namespace logline

}  // namespace EnrollmentStation

#endif  // COMMON_LOGSOURCE_H
