// The few cJSON builders the commands share, over the tree owner of the
// programs outside the library.
#ifndef STATIONCTL_JSONTREE_H
#define STATIONCTL_JSONTREE_H

#include <cjson/cJSON.h>

#include <memory>
#include <string>

#include "OwnedJsonTree.h"

namespace stationctl {

using support::JsonTree;

inline JsonTree newObject() { return JsonTree(cJSON_CreateObject()); }

inline JsonTree parseJson(const std::string& text) {
    return JsonTree(cJSON_ParseWithLength(text.c_str(), text.size()));
}

// Compact one-line text: one document per line keeps streams easy to split.
inline std::string printCompact(const cJSON* node) {
    std::unique_ptr<char, decltype(&cJSON_free)> text(cJSON_PrintUnformatted(node), &cJSON_free);
    return text ? std::string(text.get()) : std::string();
}

}  // namespace stationctl

#endif  // STATIONCTL_JSONTREE_H
