// Arbitrary bytes as the ability reply buffer, possibly without a zero byte.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include "CapabilityDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // An exact-size copy, so reading one byte past the buffer is caught.
    std::unique_ptr<char[]> buffer(new char[size ? size : 1]);
    if (size) std::memcpy(buffer.get(), data, size);
    (void)EnrollmentStation::scanAbilityDocument(buffer.get(), size);
    return 0;
}
