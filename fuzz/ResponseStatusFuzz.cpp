// Arbitrary bytes in a status buffer: the text is read up to the first zero
// byte or the buffer's end, then parsed as a status document.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "BaseSDK/ResponseStatus.h"
#include "BaseSDK/TextEncoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so reading one byte past the buffer is caught.
    std::unique_ptr<char[]> buffer(new char[size ? size : 1]);
    if (size) std::memcpy(buffer.get(), data, size);
    EnrollmentStation::ResponseStatus status;
    EnrollmentStation::parseResponseStatus(status, EnrollmentStation::textUpToNul(buffer.get(), size));
    (void)EnrollmentStation::isDeviceError(status);
    return 0;
}
