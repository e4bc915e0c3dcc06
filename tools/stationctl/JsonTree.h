// Owning handle of a cJSON tree and the few builders the commands share.
#ifndef STATIONCTL_JSONTREE_H
#define STATIONCTL_JSONTREE_H

#include <cjson/cJSON.h>

#include <memory>
#include <string>

namespace stationctl {

struct JsonDeleter {
    void operator()(cJSON* node) const { cJSON_Delete(node); }
};
using JsonPtr = std::unique_ptr<cJSON, JsonDeleter>;

inline JsonPtr newObject() { return JsonPtr(cJSON_CreateObject()); }

inline JsonPtr parseJson(const std::string& text) {
    return JsonPtr(cJSON_ParseWithLength(text.c_str(), text.size()));
}

// Compact one-line text: one document per line keeps streams easy to split.
inline std::string printCompact(const cJSON* node) {
    std::unique_ptr<char, decltype(&cJSON_free)> text(cJSON_PrintUnformatted(node), &cJSON_free);
    return text ? std::string(text.get()) : std::string();
}

}  // namespace stationctl

#endif  // STATIONCTL_JSONTREE_H
