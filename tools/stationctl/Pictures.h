// Pictures the station sends as Base64 text: decoding, type sniffing, files.
#ifndef STATIONCTL_PICTURES_H
#define STATIONCTL_PICTURES_H

#include <string>

namespace stationctl {

struct Picture {
    std::string bytes;
    std::string extension;  // "png", "jpg", or "bin" when the type is unknown
    std::string mimeType;
};

// The type as the bytes' magic numbers tell it.
void sniffType(Picture& picture);

// False for empty or malformed Base64.
bool decodePicture(const std::string& base64, Picture& picture);

// "data:image/png;base64,..." for an inline picture.
std::string dataUri(const std::string& base64);

// Writes `bytes` to `path` whole; false with `error` otherwise.
bool writeFile(const std::string& path, const std::string& bytes, std::string& error);

}  // namespace stationctl

#endif  // STATIONCTL_PICTURES_H
