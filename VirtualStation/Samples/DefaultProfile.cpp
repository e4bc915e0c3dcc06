// The built-in profile: the station a demo talks to without any set-up.
// Families add nothing here; a station without their keys gets their samples.
#include "State/Profile.h"

namespace vstation {

const char* builtInProfileText() {
    return R"({
  "stations": [
    {
      "address": "127.0.0.1",
      "port": 8000,
      "accounts": [
        { "userName": "admin", "password": "Station#2026" }
      ],
      "languageMask": 1,
      "serialNumber": "VS-ES0001-2026-0000001"
    }
  ]
}
)";
}

}  // namespace vstation
