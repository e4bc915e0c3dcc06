// What the program's own SDK saw and answers.
#ifndef ES_TESTS_REPLACEMENTSDK_H
#define ES_TESTS_REPLACEMENTSDK_H

#include <cstdint>
#include <string>
#include <vector>

#include "ZornNetSDK.h"

namespace replacement {
constexpr int32_t kHandle = 4242;
constexpr uint8_t kLanguageMask = 2;
extern std::vector<std::string> g_calls;
extern std::string g_address;
extern uint16_t g_port;
}  // namespace replacement

#endif  // ES_TESTS_REPLACEMENTSDK_H
