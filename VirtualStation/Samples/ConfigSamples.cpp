#include "Samples/ConfigSamples.h"

#include <cjson/cJSON.h>

#include <cstddef>
#include <memory>

#include "OwnedJsonTree.h"

namespace vstation {

const char* const kCardTypeNames[4] = {"EMCard", "M1Card", "CPUCard", "IDCard"};

namespace {

// 24x30 grey portrait, PNG.
constexpr const char* kPortraitPng =
    "iVBORw0KGgoAAAANSUhEUgAAABgAAAAeCAAAAAATRYE5AAAAkUlEQVR42rXRXQrDIAwH8Jwuh9jLShltmZAJaqUaGjzqbjLGGNTa"
    "wPbQ/2N+iPmApxI4BYqIlAMQTimxNCA5Bh9ilh0Ujs4+rItcalgXR+ZuyC1rDTxbM9wGY2euIQea+ms/Ucg78DR2l24kn398of6h"
    "dqXOoU6u70rf7t+Hwm9qwG02gNgItOUPwVH5HcDz4QVRgdLywWhkswAAAABJRU5ErkJggg==";

// Two 256-byte fingerprint templates as the card chip holds them, Base64.
constexpr const char* kCardFingerprints[2] = {
    "A7lonwUEotJkceqRLxuG+9KOp64T7KDyr0IkjQZmb2TmalXKOlcYC/sw1Ee9U4bZ4JIw6qiDrGH2F3tuF5mQAoC/U9fCrJqGnKvD"
    "gnQ+EQxafWgOMiIdhMHL5hjcs5dfNDBvnJpF1HI55do8sHflIu2JeDAZksq/otcoOPdVaDSeA9EArKtHUVFJFQipyIL0FsbTOp+H"
    "hPcpuCpqZk60zLs/PW23v4V2AgmaGPsrN9l3Se2nKUXTPmBrTc7C5LFQ3han2/xI06c9bWQkAAg74dP3EMaKnvAdfhjvotZ9dl0Z"
    "lN09zHQHVVfscBZGC1K3urFW67HI+TMIJbrgI5qL1g==",
    "BHvKg4t53mPNlDvuc/SYjWTD7AOhTcwBb7M5bZ4cg8589m78biNJroh7rnqiGwkOiM8fB8dLVY+XctMwKyBumsT3gqKd+/REba9C"
    "yHl2PNPYpcG8Z6eb2TFQFoht6qSEx/6ACgvieerdwmdsKaMFG2qK2vN6jPJQ6pihEX36xiJtkcKw6ynnWAjb219h7DMxO4GmmYcH"
    "ldBSPA1epd7HUO7SL7N/mrI+VXvY0F4asHoo+lgKSApGSFHS4qG5wBAbwmqZ9hx9Fu0Daeez+rn804KpBOCGbtTC9s7GH2DaijDB"
    "+Fwu4IG8sPG5Q9/r0bX4VTTtRd32VQGIvkkDSEJVbA==",
};

// The card's text fields in document order; "nation", a number, stands
// between the two lists.
struct TextField {
    const char* key;
    const char* text;
};

constexpr TextField kCardTextsBeforeNation[] = {
    {"chnName", "\xE6\x9E\x97\xE6\x99\x93\xE9\x9B\xA8"},  // a sample name
    {"enName", "LIN XIAOYU"},
    {"sex", "female"},
    {"birth", "1992-04-18"},
    {"addr", "18 Harbour Road, Unit 5"},
    {"IDCardNo", "990102199204180026"},
    {"issuingAuthority", "Harbour District Office"},
    {"startDate", "2016-09-01"},
    {"endDate", "2036-09-01"},
};

constexpr TextField kCardTextsAfterNation[] = {
    {"passNo", ""},
    {"issueNumber", "01"},
    {"certificateType", "identityCard"},
    {"permanentResidenceCardNo", ""},
    {"nationalityOrAreaCode", ""},
    {"version", ""},
    {"receivingAuthorityCode", ""},
};

template <size_t N>
void addTexts(cJSON* object, const TextField (&fields)[N]) {
    for (const TextField& field : fields) cJSON_AddStringToObject(object, field.key, field.text);
}

}  // namespace

std::string sampleIdentityCard() {
    support::JsonTree card(cJSON_CreateObject());
    cJSON* object = card.get();
    addTexts(object, kCardTextsBeforeNation);
    cJSON_AddNumberToObject(object, "nation", 1);
    addTexts(object, kCardTextsAfterNation);
    cJSON* list = cJSON_AddArrayToObject(object, "FingerprintList");
    for (const char* fingerprint : kCardFingerprints) {
        cJSON* entry = cJSON_CreateObject();
        cJSON_AddStringToObject(entry, "fingerprint", fingerprint);
        cJSON_AddItemToArray(list, entry);
    }
    cJSON_AddStringToObject(object, "pic", kPortraitPng);

    char* text = cJSON_PrintUnformatted(object);
    std::string result = text ? text : "";
    cJSON_free(text);
    return result;
}

}  // namespace vstation
