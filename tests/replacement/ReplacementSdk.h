// The test program's own SDK: a record of the calls it served and the
// answers it gives.
#ifndef ES_TESTS_REPLACEMENTSDK_H
#define ES_TESTS_REPLACEMENTSDK_H

#include <cstdint>
#include <string>
#include <vector>

namespace replacement {

constexpr int32_t kHandle = 4242;
constexpr uint8_t kLanguageMask = 2;
constexpr int32_t kRefusal = 23;  // every call this SDK does not serve fails with it

struct Served {
    std::string call;
    int64_t handle = 0;
    std::string address;
    uint16_t port = 0;
};

std::vector<Served>& served();

}  // namespace replacement

#endif  // ES_TESTS_REPLACEMENTSDK_H
