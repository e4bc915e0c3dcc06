// One request of the station's configuration protocol: a request line, an
// optional JSON body, and either a reply body or a status document.
//
// Thread safety: a COPRALStrategy serves one request on one thread and is
// then thrown away; nothing here is shared.
#ifndef ENROLLMENTSTATION_BASESDK_OPRALSTRATEGY_H
#define ENROLLMENTSTATION_BASESDK_OPRALSTRATEGY_H

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "BaseSDK/ResponseStatus.h"

namespace EnrollmentStation {

// Sizes and time-out every one-shot request of the library uses.
constexpr int32_t kReplyBufferSize = 10240;
constexpr int32_t kStatusBufferSize = 1024;
constexpr uint32_t kRequestTimeoutMs = 15000;

struct TransparentRequest {
    std::string url;       // request line, "\r\n" included
    std::string inBuffer;  // JSON body; empty for none
    uint32_t recvTimeOut = kRequestTimeoutMs;
    uint8_t forceEncrypt = 0;
};

class COPRALStrategy {
public:
    COPRALStrategy(int32_t outBufferSize, int32_t statusBufferSize);

    // (Re)allocates both buffers zero-filled; on failure sets (69, 8201) and
    // leaves the failed buffer absent.
    void initBuffer();

    // Sends `request`. True with the reply body in `result`. False with the
    // status text in `status` and the last error set to (69, 8201) without
    // buffers, (50, SDK error) when the station left no status document,
    // (68, errorCode) when the document's errorCode is above 1, and left as
    // it was otherwise. Each string is written only on its own outcome.
    bool stepRun(std::string& result, std::string& status, long userId,
                 const TransparentRequest& request);

private:
    std::unique_ptr<char[]> m_outBuffer;
    int32_t m_outBufferSize;
    std::unique_ptr<char[]> m_statusBuffer;
    int32_t m_statusBufferSize;
};

// The common round trip of the one-shot operations: a request with
// `requestLine` and `body`, the library's buffer sizes and time-out. True
// with the reply body in `reply`. When the station refused the request with
// a code (last error (68, errorCode)), its status document goes to `refusal`.
bool sendConfigRequest(long userId, const char* requestLine, const std::string& body,
                       std::string& reply, std::optional<StationStatus>& refusal);

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_BASESDK_OPRALSTRATEGY_H
