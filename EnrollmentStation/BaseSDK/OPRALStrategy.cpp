#include "BaseSDK/OPRALStrategy.h"

#include <cstring>
#include <new>

#include "KestroBase.h"
#include "LastError.h"
#include "BaseSDK/TextEncoding.h"
#include "Common/LogSource.h"
#include "SdkError.h"
#include "ZornNetSDK.h"

namespace EnrollmentStation {

namespace {

constexpr const char* kStepRunMethod = "EnrollmentStation::COPRALStrategy::stepRun";

std::unique_ptr<char[]> zeroedBuffer(int32_t size) {
    if (size <= 0) return nullptr;
    return std::unique_ptr<char[]>(new (std::nothrow) char[static_cast<size_t>(size)]());
}

}  // namespace

COPRALStrategy::COPRALStrategy(int32_t outBufferSize, int32_t statusBufferSize)
    : m_outBufferSize(outBufferSize), m_statusBufferSize(statusBufferSize) {}

void COPRALStrategy::initBuffer() {
    m_outBuffer = zeroedBuffer(m_outBufferSize);
    if (!m_outBuffer) {
        setLastError(kErrMainLibrary, kErrNoBuffer);
        return;
    }
    m_statusBuffer = zeroedBuffer(m_statusBufferSize);
    if (!m_statusBuffer) setLastError(kErrMainLibrary, kErrNoBuffer);
}

bool COPRALStrategy::stepRun(std::string& result, std::string& status, long userId,
                             const TransparentRequest& request) {
    if (!m_outBuffer || !m_statusBuffer) {
        setLastError(kErrMainLibrary, kErrNoBuffer);
        return false;
    }

    // The SDK takes non-const pointers; it only reads the request texts.
    NET_DVR_XML_CONFIG_INPUT input;
    std::memset(&input, 0, sizeof input);
    input.dwSize = sizeof input;
    input.lpRequestUrl = const_cast<char*>(request.url.data());
    input.dwRequestUrlLen = static_cast<uint32_t>(request.url.size());
    if (!request.inBuffer.empty()) {
        input.lpInBuffer = const_cast<char*>(request.inBuffer.data());
        input.dwInBufferSize = static_cast<uint32_t>(request.inBuffer.size());
    }
    input.dwRecvTimeOut = request.recvTimeOut;
    input.byForceEncrypt = request.forceEncrypt;

    NET_DVR_XML_CONFIG_OUTPUT output;
    std::memset(&output, 0, sizeof output);
    output.dwSize = sizeof output;
    output.lpOutBuffer = m_outBuffer.get();
    output.dwOutBufferSize = static_cast<uint32_t>(m_outBufferSize);
    output.lpStatusBuffer = m_statusBuffer.get();
    output.dwStatusSize = static_cast<uint32_t>(m_statusBufferSize);
    std::memset(m_outBuffer.get(), 0, static_cast<size_t>(m_outBufferSize));
    std::memset(m_statusBuffer.get(), 0, static_cast<size_t>(m_statusBufferSize));

    Kestro::Base::details::VexaFormatLog(kLogTrace, kLogModule,
                                         "[%s]Transparent input content : %s[%s(%d)]",
                                         kStepRunMethod, request.inBuffer.c_str(), kSrcBaseSDK, logline::kTransparentInput);

    if (NET_DVR_STDXMLConfig(static_cast<int32_t>(userId), &input, &output)) {
        result = textUpToNul(m_outBuffer.get(), static_cast<size_t>(m_outBufferSize));
        Kestro::Base::details::VexaFormatLog(kLogTrace, kLogModule,
                                             "[%s]Transparent output content : %s[%s(%d)]",
                                             kStepRunMethod, result.c_str(), kSrcBaseSDK, logline::kTransparentOutput);
        return true;
    }

    status = textUpToNul(m_statusBuffer.get(), static_cast<size_t>(m_statusBufferSize));
    if (status.empty()) {
        const int32_t error = takeSdkError();
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule, "[%s]NET_DVR_STDXMLConfig process failed, Url[%s], Error[%d][%s(%d)]",
            kStepRunMethod, request.url.c_str(), error, kSrcBaseSDK, logline::kTransparentSdkFailed);
        return false;
    }

    ResponseStatus parsed;
    parseResponseStatus(parsed, status);
    if (isDeviceError(parsed)) {
        Kestro::Base::details::VexaFormatLog(
            kLogFailure, kLogModule, "[%s]NET_DVR_STDXMLConfig process failed, Url[%s], Error[%s][%s(%d)]",
            kStepRunMethod, request.url.c_str(), status.c_str(), kSrcBaseSDK, logline::kTransparentDeviceFailed);
        setLastError(kErrMainDevice, static_cast<int>(parsed.errorCode));
    }
    return false;
}

bool sendConfigRequest(long userId, const char* requestLine, const std::string& body,
                       std::string& reply, std::optional<StationStatus>& refusal) {
    TransparentRequest request;
    request.url = requestLine;
    request.inBuffer = body;
    COPRALStrategy strategy(kReplyBufferSize, kStatusBufferSize);
    strategy.initBuffer();
    std::string status;
    if (strategy.stepRun(reply, status, userId, request)) return true;
    // Read again rather than handed out of stepRun: only refusals get here.
    ResponseStatus parsed;
    parseResponseStatus(parsed, status);
    if (isDeviceError(parsed)) refusal = std::move(parsed);
    return false;
}

}  // namespace EnrollmentStation
