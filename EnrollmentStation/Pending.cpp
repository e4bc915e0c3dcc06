// Operations whose implementation has not landed yet. Each block is removed
// when its family's source file arrives; this file goes when it is empty.
#include "EnrollmentStation/EnrollmentStation.h"
#include "EnrollmentOperator.h"

namespace EnrollmentStation {

// ---- capabilities, RF card, card, identity card, offline store -----------
bool CEnrollmentStation::getDevCability(CaptureAbility&) { return false; }
bool CEnrollmentStation::getRFCardCacheCap(RFCardCap&) { return false; }
bool CEnrollmentStation::setRFCardParam(RFCardParam&) { return false; }
bool CEnrollmentStation::getRFCardParam(RFCardParam&) { return false; }
bool CEnrollmentStation::captureCardInfo(std::string&) { return false; }
bool CEnrollmentStation::setCaptureCardRule(CaptureRuleInfo&) { return false; }
bool CEnrollmentStation::captureIDCardInfo(IdentityInfomation&) { return false; }
bool CEnrollmentStation::setOfflineCaptureRule(offLineRuleInfomation&) { return false; }
bool CEnrollmentStation::getUploadFailedDetails(UploadFailedDetailsInfomation&) { return false; }
bool CEnrollmentStation::clearEnrollmentStationData() { return false; }
bool CEnrollmentOperator::getDevAbility(CaptureAbility&) { return false; }
bool CEnrollmentOperator::getRFCardCacheCap(RFCardCap&) { return false; }
bool CEnrollmentOperator::setRFCardParam(RFCardParam&) { return false; }
bool CEnrollmentOperator::getRFCardParam(RFCardParam&) { return false; }
bool CEnrollmentOperator::captureCardInfo(std::string&) { return false; }
bool CEnrollmentOperator::setCaptureCardRule(protocol::CaptureRule&) { return false; }
bool CEnrollmentOperator::captureIDCardInfo(protocol::IdentityInfo&) { return false; }
bool CEnrollmentOperator::setOfflineCaptureRule(protocol::RuleInfo&) { return false; }
bool CEnrollmentOperator::getUploadFailedDetails(protocol::UploadFailedDetails&) { return false; }
bool CEnrollmentOperator::clearEnrollmentStationData() { return false; }
// ---- end capabilities, RF card, card, identity card, offline store -------

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

// ---- face parameters, language, files --------------------------------------
bool CEnrollmentStation::setFaceParam(FaceParam&) { return false; }
bool CEnrollmentStation::getFaceParam(FaceParam&) { return false; }
bool CEnrollmentStation::getDeviceLanguageType(int&) { return false; }
bool CEnrollmentStation::uploadFile(const std::string&) { return false; }
bool CEnrollmentStation::downloadFile(const std::string&) { return false; }
bool CEnrollmentOperator::setFaceParam(FaceParam&) { return false; }
bool CEnrollmentOperator::getFaceParam(FaceParam&) { return false; }
bool CEnrollmentOperator::uploadFile(const std::string&) { return false; }
bool CEnrollmentOperator::downloadFile(const std::string&) { return false; }
// ---- end face parameters, language, files ----------------------------------

}  // namespace EnrollmentStation
