// Every copy between a boundary record and a protocol message, in one place,
// so the operations read as check, request, convert.
//
// Thread safety: pure functions. The readers that take a message by rvalue
// move its texts out (pictures and templates run to hundreds of kilobytes).
#ifndef ENROLLMENTSTATION_RECORDCONVERSION_H
#define ENROLLMENTSTATION_RECORDCONVERSION_H

#include "Common/Protocol/JSONStruct/Messages.h"
#include "EnrollmentStation/EnrollmentStation.h"

namespace EnrollmentStation {

// Records the station is sent.
protocol::CaptureRule toMessage(const CaptureRuleInfo& rule);
protocol::RuleInfo toMessage(const offLineRuleInfomation& rule);
// Only the card types `offered` lists are sent, in the station's own order:
// CPU, EM, M1, ID.
protocol::RFCardCfgData toMessage(const RFCardParam& param, const RFCardCap& offered);

// Records the station answers with.
RFCardCap toRecord(const protocol::RFCardCfgCap& message);
// Card types the message does not list keep the values `param` had.
void readInto(const protocol::RFCardCfgData& message, RFCardParam& param);
// Fingerprints are appended: a record in reuse keeps the ones it holds.
void readInto(const protocol::IdentityInfo& message, IdentityInfomation& info);
void readInto(protocol::FingerPrintData&& message, FingerPrintInfomation& info);
void readInto(protocol::FaceData&& message, FaceInformation& info);
void readInto(const protocol::UploadFailedDetails& message, UploadFailedDetailsInfomation& details);
// False, leaving `info` as it was, for a document without a data record.
bool readInto(protocol::SearchCaptureData&& message, SearchCaptureInfomation& info);

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_RECORDCONVERSION_H
