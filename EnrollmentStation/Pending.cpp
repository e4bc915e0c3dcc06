// Operations whose implementation has not landed yet. Each block is removed
// when its family's source file arrives; this file goes when it is empty.
#include "EnrollmentStation/EnrollmentStation.h"
#include "EnrollmentOperator.h"

namespace EnrollmentStation {

// ---- fingerprint, face, search --------------------------------------------
bool CEnrollmentStation::captureFingerInfo(FingerPrintInfomation&) { return false; }
bool CEnrollmentStation::captureFaceInfo(FaceInformation&) { return false; }
bool CEnrollmentStation::searchCaptureData(std::vector<SearchCaptureInfomation>&) { return false; }
bool CEnrollmentStation::searchCaptureData(SearchCallback, void*) { return false; }
void CEnrollmentStation::stopSearchCaptureData(const bool&) {}
bool CEnrollmentOperator::captureFingerInfo(protocol::FingerPrintData&) { return false; }
bool CEnrollmentOperator::captureFaceInfo(protocol::FaceData&) { return false; }
bool CEnrollmentOperator::searchCaptureData(std::vector<protocol::SearchCaptureData>&) { return false; }
bool CEnrollmentOperator::searchCaptureData(SearchCallback, void*) { return false; }
void CEnrollmentOperator::stopSearchCaptureData(const bool&) {}
// ---- end fingerprint, face, search ----------------------------------------

}  // namespace EnrollmentStation
