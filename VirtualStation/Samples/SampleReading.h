// Reading the collect samples and offline records out of a station profile.
// Lenient, like the rest of a family's keys: a value of the wrong kind is
// passed over and the field keeps what it had.
#ifndef VSTATION_SAMPLEREADING_H
#define VSTATION_SAMPLEREADING_H

#include <cstdint>
#include <string>

#include "VirtualStation/Vocabulary.h"

struct cJSON;

namespace vstation {
namespace profile {

void readText(const cJSON* object, const char* key, std::string* out);
// Base64 text into bytes.
void readBytes(const cJSON* object, const char* key, std::string* out);
void readByte(const cJSON* object, const char* key, uint8_t* out);
void readInteger(const cJSON* object, const char* key, int32_t* out);
void readFlag(const cJSON* object, const char* key, bool* out);
// {"region": {"x", "y", "width", "height"}, "leftEye": {"x", "y"}, "rightEye",
//  "leftMouth", "rightMouth", "noseTip"}
void readGeometry(const cJSON* object, const char* key, FaceGeometry* out);

}  // namespace profile
}  // namespace vstation

#endif  // VSTATION_SAMPLEREADING_H
