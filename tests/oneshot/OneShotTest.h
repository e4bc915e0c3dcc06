// Fixture of the one-shot operation tests: the station fixture plus a look at
// the configuration requests the station received.
#ifndef ES_TESTS_ONESHOTTEST_H
#define ES_TESTS_ONESHOTTEST_H

#include <string>
#include <vector>

#include "StationTest.h"

namespace oneshot {

// One NET_DVR_STDXMLConfig request as the station received it.
struct SentRequest {
    std::string line;  // "\r\n" included
    std::string body;
};

// Every configuration request since the call log was last cleared.
std::vector<SentRequest> sentRequests();

// `json` printed compactly, keys in their order; "" when it is not JSON.
std::string compact(const std::string& json);

using estest::profileWith;

// Sets the last error to a value no operation uses, to see it left alone.
void markLastError();
constexpr std::pair<int, int> kMarkedError{7, 7};

class OneShotTest : public StationTest {
protected:
    // Logs in, then forgets the login's calls and log lines.
    void loginQuietly(EnrollmentStation::CEnrollmentStation& station);
};

}  // namespace oneshot

#endif  // ES_TESTS_ONESHOTTEST_H
