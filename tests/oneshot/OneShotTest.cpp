#include "OneShotTest.h"

#include <cjson/cJSON.h>

#include "KestroBase.h"
#include "VirtualStation/StationControl.h"

namespace oneshot {

std::vector<SentRequest> sentRequests() {
    std::vector<SentRequest> requests;
    for (const vstation::CallRecord& call : vstation::callLog()) {
        if (call.call != "NET_DVR_STDXMLConfig") continue;
        const size_t end = call.text.find("\r\n");
        const size_t split = end == std::string::npos ? call.text.size() : end + 2;
        requests.push_back(SentRequest{call.text.substr(0, split), call.text.substr(split)});
    }
    return requests;
}

std::string compact(const std::string& json) {
    cJSON* tree = cJSON_Parse(json.c_str());
    if (!tree) return std::string();
    char* text = cJSON_PrintUnformatted(tree);
    std::string result = text ? text : "";
    cJSON_free(text);
    cJSON_Delete(tree);
    return result;
}

void markLastError() {
    Kestro::Base::Error::SetLastError(Kestro::Base::Error::ErrorCode(kMarkedError.first, kMarkedError.second));
}

void OneShotTest::loginQuietly(EnrollmentStation::CEnrollmentStation& station) {
    ASSERT_TRUE(login(station));
    vstation::clearCallLog();
    clearLog();
}

}  // namespace oneshot
