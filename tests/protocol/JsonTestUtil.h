// Small helpers for looking at the trees and texts the messages produce.
#ifndef TESTS_PROTOCOL_JSONTESTUTIL_H
#define TESTS_PROTOCOL_JSONTESTUTIL_H

#include "Common/Protocol/JSONStruct/JsonTree.h"

#include <string>
#include <vector>

namespace prototest {

using Tree = protocol::JsonTree;

inline Tree parse(const std::string& text) {
    return Tree(cJSON_Parse(text.c_str()));
}

inline std::vector<std::string> keysOf(const cJSON* object) {
    std::vector<std::string> keys;
    for (const cJSON* c = object != nullptr ? object->child : nullptr; c != nullptr; c = c->next) {
        keys.emplace_back(c->string != nullptr ? c->string : "");
    }
    return keys;
}

// Compact text of a tree, for comparing whole objects.
inline std::string compact(const cJSON* tree) {
    char* printed = cJSON_PrintUnformatted(tree);
    std::string text = printed != nullptr ? printed : "";
    cJSON_free(printed);
    return text;
}

template <class M>
std::string compactOf(const M& msg) {
    Tree tree(msg.toJSON());
    return compact(tree.get());
}

}  // namespace prototest

#endif  // TESTS_PROTOCOL_JSONTESTUTIL_H
