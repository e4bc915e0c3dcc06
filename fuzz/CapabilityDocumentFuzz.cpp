// Arbitrary text as the capability document of the configuration protocol.
#include <cstddef>
#include <cstdint>
#include <string>

#include "CapabilityDocument.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The library hands over the reply up to its first zero byte.
    std::string text(reinterpret_cast<const char*>(data), size);
    text = text.substr(0, text.find('\0'));
    (void)EnrollmentStation::scanCapabilityDocument(text);
    return 0;
}
