// Owner of a cJSON tree for the programs outside the library (the virtual
// station, the tools and their tests): the root and everything under it go
// together. The library keeps its own (Common/Protocol/JSONStruct/JsonTree.h):
// neither side includes the other's internals.
#ifndef SUPPORT_OWNEDJSONTREE_H
#define SUPPORT_OWNEDJSONTREE_H

#include <cjson/cJSON.h>

#include <memory>

namespace support {

struct JsonTreeDeleter {
    void operator()(cJSON* tree) const { cJSON_Delete(tree); }
};
using JsonTree = std::unique_ptr<cJSON, JsonTreeDeleter>;

}  // namespace support

#endif  // SUPPORT_OWNEDJSONTREE_H
