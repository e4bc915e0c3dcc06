// Capture capabilities: which kinds of capture the station supports.
#include <cstring>
#include <memory>
#include <new>

#include "BaseSDK/OPRALStrategy.h"
#include "CapabilityDocument.h"
#include "EnrollmentOperator.h"
#include "KestroBase.h"
#include "LastError.h"
#include "Common/LogSource.h"
#include "SdkError.h"
#include "ZornNetSDK.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kCapabilitiesRequest = "GET /OPRAL/AccessControl/capabilities\r\n";
constexpr char kAbilityRequest[] = "<AcsAbility version=\"2.0\" />";
constexpr uint32_t kAbilityBufferSize = 10240;

}  // namespace

bool CEnrollmentStation::getDevCability(CaptureAbility& ability) {
    return m_pOperator->getDevAbility(ability);
}

// Two sources: the capability document answers the card, identity card,
// rule and preset flags; the SDK's ability document the fingerprint and face
// flags. A failure between the two leaves the first four flags written.
bool CEnrollmentOperator::getDevAbility(CaptureAbility& ability) {
    if (!requireSession(m_lUserID)) return false;

    std::string reply;
    if (!configRequest(kCapabilitiesRequest, std::string(), reply)) {
        return false;
    }
    const CapabilityFlags capabilities = scanCapabilityDocument(reply);
    ability.isSupportCaptureCardInfo = capabilities.captureCardInfo;
    ability.isSupportCaptureIDInfo = capabilities.captureIDInfo;
    ability.isSupportCaptureCardRule = capabilities.captureCardRule;
    ability.isSupportCapturePresetParam = capabilities.capturePresetParam;

    std::unique_ptr<char[]> buffer(new (std::nothrow) char[kAbilityBufferSize]());
    if (!buffer) {
        setLastError(kErrMainLibrary, kErrNoBuffer);
        return false;
    }
    // The SDK wants a writable request buffer.
    char request[sizeof kAbilityRequest];
    std::memcpy(request, kAbilityRequest, sizeof request);
    if (!NET_DVR_GetDeviceAbility(static_cast<int32_t>(m_lUserID), NET_DVR_ACS_ABILITY, request,
                                  static_cast<uint32_t>(sizeof request - 1), buffer.get(),
                                  kAbilityBufferSize)) {
        const int32_t error = takeSdkError();
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule, "[%s]get acs ability failed. ErrorCode [%d].[%s(%d)]",
            "EnrollmentStation::CEnrollmentOperator::getDevAbility", error, kSrcEnrollmentOperator,
            __LINE__);
        return false;
    }
    const AbilityFlags abilities = scanAbilityDocument(buffer.get(), kAbilityBufferSize);
    ability.isSupportCaptureFingerPrint = abilities.captureFingerPrint;
    ability.isSupportCaptureFace = abilities.captureFace;
    return true;
}

}  // namespace EnrollmentStation
