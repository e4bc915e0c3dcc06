#include "Pictures.h"

#include <cerrno>
#include <cstring>
#include <fstream>

#include "KestroBase.h"

namespace stationctl {

void sniffType(Picture& picture) {
    static const char kPng[] = "\x89PNG\r\n\x1a\n";
    const std::string& b = picture.bytes;
    if (b.compare(0, 8, kPng, 8) == 0) {
        picture.extension = "png";
        picture.mimeType = "image/png";
    } else if (b.size() >= 3 && static_cast<unsigned char>(b[0]) == 0xFF &&
               static_cast<unsigned char>(b[1]) == 0xD8 && static_cast<unsigned char>(b[2]) == 0xFF) {
        picture.extension = "jpg";
        picture.mimeType = "image/jpeg";
    } else {
        picture.extension = "bin";
        picture.mimeType = "application/octet-stream";
    }
}

bool decodePicture(const std::string& base64, Picture& picture) {
    if (base64.empty()) return false;
    if (!Kestro::Base::Encrypt::Base64Decode(picture.bytes, base64) || picture.bytes.empty()) {
        return false;
    }
    sniffType(picture);
    return true;
}

std::string dataUri(const std::string& base64) {
    Picture picture;
    if (!decodePicture(base64, picture)) return std::string();
    return "data:" + picture.mimeType + ";base64," + base64;
}

bool writeFile(const std::string& path, const std::string& bytes, std::string& error) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (out) out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (out) out.close();
    if (!out) {
        error = "cannot write " + path + ": " + std::strerror(errno);
        return false;
    }
    return true;
}

}  // namespace stationctl
