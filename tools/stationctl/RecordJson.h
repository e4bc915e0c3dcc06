// The library's records as JSON, with the records' own field names; the one
// source of both the --json documents and the text output.
#ifndef STATIONCTL_RECORDJSON_H
#define STATIONCTL_RECORDJSON_H

#include "EnrollmentStation/EnrollmentStation.h"
#include "JsonTree.h"

namespace stationctl {

// Defined for every record a command shows: CaptureAbility, RFCardCap,
// RFCardParam, CaptureRuleInfo, IdentityInfomation, FingerPrintInfomation,
// FaceInformation, SearchCaptureInfomation, offLineRuleInfomation,
// UploadFailedDetailsInfomation, FaceParam.
template <typename Record>
JsonTree toJson(const Record& record);

}  // namespace stationctl

#endif  // STATIONCTL_RECORDJSON_H
