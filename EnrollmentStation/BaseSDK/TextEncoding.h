// Text forms of the raw bytes that the station sends: hex for templates and
// fingerprints, Base64 for pictures and face templates, and the text of a
// zero-terminated buffer.
//
// Thread safety: pure functions.
#ifndef ENROLLMENTSTATION_BASESDK_TEXTENCODING_H
#define ENROLLMENTSTATION_BASESDK_TEXTENCODING_H

#include <cstddef>
#include <string>

namespace EnrollmentStation {

// Two uppercase hex digits per byte, no separators: {0x01, 0xAB} -> "01AB".
std::string hexText(const void* data, size_t length);

// Standard Base64 ("+", "/", "=" padding), no line breaks: 4 characters for
// every started group of 3 bytes. One pass, into a string reserved up front,
// since pictures run to hundreds of kilobytes.
std::string base64Text(const void* data, size_t length);

// The text of a buffer up to its first zero byte, never past `size` bytes.
std::string textUpToNul(const char* buffer, size_t size);

}  // namespace EnrollmentStation

#endif  // ENROLLMENTSTATION_BASESDK_TEXTENCODING_H
