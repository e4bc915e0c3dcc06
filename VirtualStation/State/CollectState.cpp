#include "State/CollectState.h"

#include <cjson/cJSON.h>

#include <cstdint>

#include "Samples/SamplePictures.h"
#include "Samples/SampleReading.h"

namespace vstation {

std::string sampleTemplate(int seed, size_t size) {
    std::string bytes(size, '\0');
    uint32_t state = 0x9E3779B9u ^ static_cast<uint32_t>(seed) * 2654435761u;
    for (size_t i = 0; i < size; ++i) {
        // xorshift: cheap, repeatable, and no run of zero bytes
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        bytes[i] = static_cast<char>(state >> 24);
    }
    if (size >= 4) {
        bytes[0] = 'F';
        bytes[1] = 'T';
        bytes[2] = static_cast<char>(size >> 8);
        bytes[3] = static_cast<char>(size & 0xFF);
    }
    return bytes;
}

FingerprintSample defaultFingerprintSample() {
    FingerprintSample sample;
    sample.templateBytes = sampleTemplate(1, 512);
    sample.picture = pictures::fingerprintImage(1);
    sample.quality = 87;
    return sample;
}

FaceSample defaultFaceSample() {
    FaceSample sample;
    sample.template1 = sampleTemplate(101, 512);
    sample.template1Quality = 92;
    sample.template2 = sampleTemplate(102, 512);
    sample.template2Quality = 88;
    sample.picture = pictures::facePng(0);
    sample.pictureQuality = 90;
    sample.infraredPicture = pictures::infraredFacePng(0);
    sample.infraredPictureQuality = 84;
    sample.geometry = pictures::drawnFaceGeometry(0);
    return sample;
}

void CollectState::load(const cJSON* profile) {
    FingerprintSample fingerSample = defaultFingerprintSample();
    const cJSON* fingerObject = cJSON_GetObjectItemCaseSensitive(profile, "fingerprintSample");
    if (cJSON_IsObject(fingerObject)) {
        profile::readBytes(fingerObject, "template", &fingerSample.templateBytes);
        profile::readBytes(fingerObject, "picture", &fingerSample.picture);
        profile::readByte(fingerObject, "quality", &fingerSample.quality);
    }
    finger = std::make_shared<const FingerprintSample>(std::move(fingerSample));

    FaceSample faceSample = defaultFaceSample();
    const cJSON* faceObject = cJSON_GetObjectItemCaseSensitive(profile, "faceSample");
    if (cJSON_IsObject(faceObject)) {
        profile::readBytes(faceObject, "template1", &faceSample.template1);
        profile::readByte(faceObject, "template1Quality", &faceSample.template1Quality);
        profile::readBytes(faceObject, "template2", &faceSample.template2);
        profile::readByte(faceObject, "template2Quality", &faceSample.template2Quality);
        profile::readBytes(faceObject, "picture", &faceSample.picture);
        profile::readByte(faceObject, "pictureQuality", &faceSample.pictureQuality);
        profile::readBytes(faceObject, "infraredPicture", &faceSample.infraredPicture);
        profile::readByte(faceObject, "infraredPictureQuality", &faceSample.infraredPictureQuality);
        profile::readGeometry(faceObject, "geometry", &faceSample.geometry);
        int32_t progress = faceSample.progressReports;
        profile::readInteger(faceObject, "progressReports", &progress);
        if (progress >= 0 && progress <= 99) faceSample.progressReports = progress;
    }
    face = std::make_shared<const FaceSample>(std::move(faceSample));
}

}  // namespace vstation
