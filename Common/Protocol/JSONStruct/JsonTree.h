// Owner of a cJSON tree: the root and everything under it go together.
// The one owning pointer of the library and its tests; the programs outside
// the library have their own (support/OwnedJsonTree.h).
#ifndef COMMON_PROTOCOL_JSONSTRUCT_JSONTREE_H
#define COMMON_PROTOCOL_JSONSTRUCT_JSONTREE_H

#include <cjson/cJSON.h>

#include <memory>

namespace protocol {

struct JsonTreeDeleter {
    void operator()(cJSON* tree) const { cJSON_Delete(tree); }
};
using JsonTree = std::unique_ptr<cJSON, JsonTreeDeleter>;

}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_JSONTREE_H
