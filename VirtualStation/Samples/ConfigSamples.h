// Built-in contents of a station's configuration family: what a station
// without those profile keys serves.
#ifndef VSTATION_CONFIGSAMPLES_H
#define VSTATION_CONFIGSAMPLES_H

#include <string>

namespace vstation {

// Card type names the reader knows, in the order the station lists them.
extern const char* const kCardTypeNames[4];

// The sample identity card: compact JSON of an "IdentityInfo" object, with
// a small PNG portrait as Base64 and two fingerprint templates.
std::string sampleIdentityCard();

}  // namespace vstation

#endif  // VSTATION_CONFIGSAMPLES_H
