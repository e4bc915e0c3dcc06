#include "Samples/SampleReading.h"

#include <cjson/cJSON.h>

#include <cmath>
#include <string>
#include <utility>

#include "State/Base64Codec.h"

namespace vstation {
namespace profile {

namespace {

const cJSON* member(const cJSON* object, const char* key) {
    return cJSON_IsObject(object) ? cJSON_GetObjectItemCaseSensitive(object, key) : nullptr;
}

void readReal(const cJSON* object, const char* key, double* out) {
    const cJSON* item = member(object, key);
    if (cJSON_IsNumber(item)) *out = item->valuedouble;
}

void readPoint(const cJSON* object, const char* key, FacePoint2D* out) {
    const cJSON* point = member(object, key);
    readReal(point, "x", &out->x);
    readReal(point, "y", &out->y);
}

}  // namespace

void readText(const cJSON* object, const char* key, std::string* out) {
    const cJSON* item = member(object, key);
    if (cJSON_IsString(item) && item->valuestring != nullptr) *out = item->valuestring;
}

void readBytes(const cJSON* object, const char* key, std::string* out) {
    const cJSON* item = member(object, key);
    std::string bytes;
    if (cJSON_IsString(item) && item->valuestring != nullptr && base64Decode(item->valuestring, &bytes)) {
        *out = std::move(bytes);
    }
}

void readByte(const cJSON* object, const char* key, uint8_t* out) {
    const cJSON* item = member(object, key);
    if (cJSON_IsNumber(item) && item->valuedouble >= 0 && item->valuedouble <= 255) {
        *out = static_cast<uint8_t>(item->valuedouble);
    }
}

void readInteger(const cJSON* object, const char* key, int32_t* out) {
    const cJSON* item = member(object, key);
    if (cJSON_IsNumber(item) && std::fabs(item->valuedouble) < 2147483648.0) {
        *out = static_cast<int32_t>(item->valuedouble);
    }
}

void readFlag(const cJSON* object, const char* key, bool* out) {
    const cJSON* item = member(object, key);
    if (cJSON_IsBool(item)) *out = cJSON_IsTrue(item);
}

void readGeometry(const cJSON* object, const char* key, FaceGeometry* out) {
    const cJSON* geometry = member(object, key);
    if (!geometry) return;
    const cJSON* region = member(geometry, "region");
    readReal(region, "x", &out->x);
    readReal(region, "y", &out->y);
    readReal(region, "width", &out->width);
    readReal(region, "height", &out->height);
    readPoint(geometry, "leftEye", &out->leftEye);
    readPoint(geometry, "rightEye", &out->rightEye);
    readPoint(geometry, "leftMouth", &out->leftMouth);
    readPoint(geometry, "rightMouth", &out->rightMouth);
    readPoint(geometry, "noseTip", &out->noseTip);
}

}  // namespace profile
}  // namespace vstation
