// One self-contained HTML page showing the people of an offline store search.
#ifndef STATIONCTL_GALLERY_H
#define STATIONCTL_GALLERY_H

#include <string>
#include <vector>

#include "EnrollmentStation/EnrollmentStation.h"

namespace stationctl {

// Every record becomes one <article class="person"> with its face and
// infrared pictures inline (data: URIs) and its fields; nothing is fetched.
std::string renderGallery(const std::vector<EnrollmentStation::SearchCaptureInfomation>& records,
                          const std::string& stationName);

std::string escapeHtml(const std::string& text);

}  // namespace stationctl

#endif  // STATIONCTL_GALLERY_H
