// Base64 as the station writes it into JSON (standard alphabet, "=" padding)
// and reads it from profiles.
#ifndef VSTATION_BASE64CODEC_H
#define VSTATION_BASE64CODEC_H

#include <string>

namespace vstation {

std::string base64Encode(const std::string& bytes);
// False for text that is not well-formed Base64 (length, alphabet, padding).
bool base64Decode(const std::string& text, std::string* bytes);

}  // namespace vstation

#endif  // VSTATION_BASE64CODEC_H
