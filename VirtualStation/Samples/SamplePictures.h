// Pictures the station shows without any profile: small real PNG files drawn
// in code (a face per person, an infrared-looking grey variant) and a raw
// fingerprint image as a reader delivers it.
//
// Thread safety: pure functions.
#ifndef VSTATION_SAMPLEPICTURES_H
#define VSTATION_SAMPLEPICTURES_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "VirtualStation/Vocabulary.h"

namespace vstation {
namespace pictures {

// A PNG file of `width` x `height` pixels, 8 bits per channel. `pixels` holds
// the rows top to bottom, `channels` bytes per pixel (1 grey, 3 RGB). The
// image data is stored uncompressed, so the file is a little larger than
// the pixels.
std::string encodePng(uint32_t width, uint32_t height, int channels, const std::vector<uint8_t>& pixels);

// A face drawn for `person` (any number; colours and features vary with it),
// 96 x 112 pixels, colour or infrared grey. Some 32 KB and 11 KB.
std::string facePng(int person);
std::string infraredFacePng(int person);
// Where the face of facePng(person) is, in its pixels.
FaceGeometry drawnFaceGeometry(int person);

// Pads a PNG file to exactly `size` bytes with a private ancillary chunk that
// viewers skip. A size below the file's own (plus the 12 bytes of a chunk)
// gives `size` bytes of a repeating pattern instead, which is no picture.
std::string paddedTo(const std::string& png, size_t size);

// A fingerprint as the reader's raw 8-bit grey image, 64 x 64, ridges drawn
// for `finger`. Like a sensor's image it holds no zero byte.
std::string fingerprintImage(int finger);

}  // namespace pictures
}  // namespace vstation

#endif  // VSTATION_SAMPLEPICTURES_H
