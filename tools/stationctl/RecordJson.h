// The library's records as JSON, with the records' own field names; the one
// source of both the --json documents and the text output.
#ifndef STATIONCTL_RECORDJSON_H
#define STATIONCTL_RECORDJSON_H

#include <string>

#include "EnrollmentStation/EnrollmentStation.h"
#include "JsonTree.h"

namespace stationctl {

namespace es = EnrollmentStation;

JsonPtr toJson(const es::CaptureAbility& ability);
JsonPtr toJson(const es::RFCardCap& cap);
JsonPtr toJson(const es::RFCardParam& param);
JsonPtr toJson(const es::CaptureRuleInfo& rule);
JsonPtr toJson(const es::IdentityInfomation& info);
JsonPtr toJson(const es::FingerPrintInfomation& info);
JsonPtr toJson(const es::FaceInformation& info);
JsonPtr toJson(const es::SearchCaptureInfomation& record);
JsonPtr toJson(const es::offLineRuleInfomation& rule);
JsonPtr toJson(const es::UploadFailedDetailsInfomation& details);
JsonPtr toJson(const es::FaceParam& param);

// Reads one document of the record-by-record search into the record the list
// form would have given. False for a document without a person record (the
// "NO MATCH" and failure documents); `status` then holds its status text.
bool fromSearchDocument(const std::string& document, es::SearchCaptureInfomation& record,
                        std::string& status);

}  // namespace stationctl

#endif  // STATIONCTL_RECORDJSON_H
