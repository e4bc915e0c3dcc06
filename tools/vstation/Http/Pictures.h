// Pictures as the page hands them over.
#ifndef VSTATION_TOOL_HTTP_PICTURES_H
#define VSTATION_TOOL_HTTP_PICTURES_H

#include <string>

namespace vstation_tool {

// "image/png" or "image/jpeg" by the bytes' signature; "" for anything else.
inline std::string pictureType(const std::string& bytes) {
    if (bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") == 0) return "image/png";
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xff\xd8\xff") == 0) return "image/jpeg";
    return std::string();
}

}  // namespace vstation_tool

#endif  // VSTATION_TOOL_HTTP_PICTURES_H
