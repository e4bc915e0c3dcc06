// Module tag and source names that the library's log lines carry.
#ifndef ENROLLMENTSTATION_LOGSOURCE_H
#define ENROLLMENTSTATION_LOGSOURCE_H

namespace EnrollmentStation {

constexpr const char* kLogModule = "EnrollmentStation";
constexpr int kLogTrace = 3;
constexpr int kLogFailure = 5;

constexpr const char* kSrcEnrollmentOperator = "EnrollmentStation\\EnrollmentOperator";
constexpr const char* kSrcBaseSDK = "EnrollmentStation\\BaseSDK";
constexpr const char* kSrcFileUtil = "EnrollmentStation\\FileUtil\\FileUtil";

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_LOGSOURCE_H
