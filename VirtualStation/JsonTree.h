// Owner of a cJSON tree: the root and everything under it go together.
// The one owning pointer of the virtual station.
#ifndef VSTATION_JSONTREE_H
#define VSTATION_JSONTREE_H

#include <cjson/cJSON.h>

#include <memory>

namespace vstation {

struct JsonTreeDeleter {
    void operator()(cJSON* tree) const { cJSON_Delete(tree); }
};
using JsonTree = std::unique_ptr<cJSON, JsonTreeDeleter>;

}  // namespace vstation

#endif  // VSTATION_JSONTREE_H
