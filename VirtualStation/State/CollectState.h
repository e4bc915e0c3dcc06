// CollectState: what the station's reader and camera collect for the live
// fingerprint and face collections.
//
// Thread safety: guarded by the station's mutex. A connection takes the
// samples' shared pointers when it starts, so its reports keep pointing at
// valid bytes while a sample is replaced.
#ifndef VSTATION_COLLECTSTATE_H
#define VSTATION_COLLECTSTATE_H

#include <cstddef>
#include <memory>
#include <string>

#include "VirtualStation/Vocabulary.h"

struct cJSON;

namespace vstation {

// The built-in samples: a ridge image and template for the finger, the drawn
// face of person 0 with its infrared variant for the face.
FingerprintSample defaultFingerprintSample();
FaceSample defaultFaceSample();

// Template bytes that look like a reader's: a small header, then bytes that
// vary with `seed`. The same seed gives the same template.
std::string sampleTemplate(int seed, size_t size);

struct CollectState {
    // Profile keys "fingerprintSample" and "faceSample"; a missing key (or
    // one that is not an object) keeps the built-in sample.
    void load(const cJSON* profile);

    std::shared_ptr<const FingerprintSample> finger;
    std::shared_ptr<const FaceSample> face;
};

}  // namespace vstation

#endif  // VSTATION_COLLECTSTATE_H
