// The read and write rules of every field kind, once for all messages.
#include "Common/Protocol/JSONStruct/FieldTable.h"

#include <cmath>
#include <cstdint>
#include <limits>

namespace protocol {
namespace detail {
namespace {

thread_local bool t_borrowStrings = false;

// c_str(): the text ends at the first zero byte.
cJSON* stringNode(const std::string& text) {
    return t_borrowStrings ? cJSON_CreateStringReference(text.c_str()) : cJSON_CreateString(text.c_str());
}

char asciiLower(unsigned char c) {
    return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

bool equalsIgnoringCase(const char* a, const char* b) {
    for (; *a != '\0' && *b != '\0'; ++a, ++b) {
        if (asciiLower(static_cast<unsigned char>(*a)) != asciiLower(static_cast<unsigned char>(*b))) {
            return false;
        }
    }
    return *a == *b;
}

// The integer cJSON keeps beside a parsed value: the number cut toward zero
// and held within int32, 1 for true, 0 for everything else. Worked out here
// rather than read from valueint, which nodes built in memory leave unset
// for true.
std::int32_t integerOf(const cJSON* item) {
    if (cJSON_IsNumber(item)) {
        const double d = item->valuedouble;
        if (std::isnan(d)) {
            return 0;
        }
        if (d >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
            return std::numeric_limits<std::int32_t>::max();
        }
        if (d <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
            return std::numeric_limits<std::int32_t>::min();
        }
        return static_cast<std::int32_t>(d);
    }
    return cJSON_IsTrue(item) ? 1 : 0;
}

bool flagOf(const cJSON* item) {
    return integerOf(item) == 1;
}

double realOf(const cJSON* item) {
    return cJSON_IsNumber(item) ? item->valuedouble : 0.0;
}

const char* stringOf(const cJSON* item) {
    return cJSON_IsString(item) && item->valuestring != nullptr ? item->valuestring : "";
}

bool isEmptyField(const FieldDesc& field, const void* member) {
    switch (field.kind) {
    case FieldKind::String:
        return static_cast<const std::string*>(member)->empty();
    case FieldKind::StringList:
        return static_cast<const std::vector<std::string>*>(member)->empty();
    case FieldKind::FlagList:
        return static_cast<const std::vector<bool>*>(member)->empty();
    case FieldKind::IntegerList:
        return static_cast<const std::vector<std::int32_t>*>(member)->empty();
    case FieldKind::MessageList:
        return field.listOps->size(member) == 0;
    default:
        return false;
    }
}

void clearList(const FieldDesc& field, void* member) {
    switch (field.kind) {
    case FieldKind::StringList:
        static_cast<std::vector<std::string>*>(member)->clear();
        break;
    case FieldKind::FlagList:
        static_cast<std::vector<bool>*>(member)->clear();
        break;
    case FieldKind::IntegerList:
        static_cast<std::vector<std::int32_t>*>(member)->clear();
        break;
    case FieldKind::MessageList:
        field.listOps->clear(member);
        break;
    default:
        break;
    }
}

void readValue(const FieldDesc& field, void* member, const cJSON* item) {
    switch (field.kind) {
    case FieldKind::String:
        static_cast<std::string*>(member)->assign(stringOf(item));
        break;
    case FieldKind::Integer:
        *static_cast<std::int32_t*>(member) = integerOf(item);
        break;
    case FieldKind::Real:
        *static_cast<double*>(member) = realOf(item);
        break;
    case FieldKind::Flag:
        *static_cast<bool*>(member) = flagOf(item);
        break;
    case FieldKind::Nested:
        static_cast<IJSONStruct*>(member)->fromJSON(item);
        break;
    // Lists take one entry per child, whatever the member's own type.
    case FieldKind::StringList: {
        auto& list = *static_cast<std::vector<std::string>*>(member);
        for (const cJSON* e = item->child; e != nullptr; e = e->next) {
            list.emplace_back(stringOf(e));
        }
        break;
    }
    case FieldKind::FlagList: {
        auto& list = *static_cast<std::vector<bool>*>(member);
        for (const cJSON* e = item->child; e != nullptr; e = e->next) {
            list.push_back(flagOf(e));
        }
        break;
    }
    case FieldKind::IntegerList: {
        auto& list = *static_cast<std::vector<std::int32_t>*>(member);
        for (const cJSON* e = item->child; e != nullptr; e = e->next) {
            list.push_back(integerOf(e));
        }
        break;
    }
    case FieldKind::MessageList:
        for (const cJSON* e = item->child; e != nullptr; e = e->next) {
            field.listOps->append(member).fromJSON(e);
        }
        break;
    }
}

// Adds `item` to `array`; an item cJSON could not build is simply missing.
void appendTo(cJSON* array, cJSON* item) {
    if (item != nullptr && !cJSON_AddItemToArray(array, item)) {
        cJSON_Delete(item);
    }
}

// List elements are never filtered: the filter is only asked about keys.
cJSON* writeValue(const FieldDesc& field, const void* member) {
    switch (field.kind) {
    case FieldKind::String:
        return stringNode(*static_cast<const std::string*>(member));
    case FieldKind::Integer:
        // cJSON prints an integral value within int range as plain decimal.
        return cJSON_CreateNumber(*static_cast<const std::int32_t*>(member));
    case FieldKind::Real:
        return cJSON_CreateNumber(*static_cast<const double*>(member));
    case FieldKind::Flag:
        return cJSON_CreateBool(*static_cast<const bool*>(member) ? 1 : 0);
    case FieldKind::Nested:
        return static_cast<const IJSONStruct*>(member)->toJSON();
    default:
        break;
    }

    cJSON* array = cJSON_CreateArray();
    if (array == nullptr) {
        return nullptr;
    }
    switch (field.kind) {
    case FieldKind::StringList:
        for (const std::string& s : *static_cast<const std::vector<std::string>*>(member)) {
            appendTo(array, stringNode(s));
        }
        break;
    case FieldKind::FlagList:
        for (bool b : *static_cast<const std::vector<bool>*>(member)) {
            appendTo(array, cJSON_CreateBool(b ? 1 : 0));
        }
        break;
    case FieldKind::IntegerList:
        for (std::int32_t n : *static_cast<const std::vector<std::int32_t>*>(member)) {
            appendTo(array, cJSON_CreateNumber(n));
        }
        break;
    case FieldKind::MessageList: {
        const std::size_t count = field.listOps->size(member);
        for (std::size_t i = 0; i < count; ++i) {
            appendTo(array, field.listOps->at(member, i).toJSON());
        }
        break;
    }
    default:
        break;
    }
    return array;
}

}  // namespace

BorrowedStrings::BorrowedStrings() : m_outer(t_borrowStrings) { t_borrowStrings = true; }
BorrowedStrings::~BorrowedStrings() { t_borrowStrings = m_outer; }

const cJSON* findMember(const cJSON* node, const char* key) {
    if (node == nullptr) {
        return nullptr;
    }
    for (const cJSON* child = node->child; child != nullptr; child = child->next) {
        if (child->string != nullptr && equalsIgnoringCase(child->string, key)) {
            return child;
        }
    }
    return nullptr;
}

void readFields(void* owner, KeySet& presentKeys, const FieldDesc* table,
                std::size_t count, const cJSON* node) {
    if (node == nullptr) {
        return;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const FieldDesc& field = table[i];
        void* member = field.member(owner);
        // A list is emptied first, so an absent key leaves it empty.
        clearList(field, member);
        const cJSON* item = findMember(node, field.key);
        if (item == nullptr) {
            continue;
        }
        readValue(field, member, item);
        presentKeys.add(table, i);
    }
}

cJSON* writeFields(const void* owner, const SerializationIgnoreItemFeatures& filter,
                   const FieldDesc* table, std::size_t count) {
    cJSON* object = cJSON_CreateObject();
    if (object == nullptr) {
        return nullptr;
    }
    // The accessors only hand out addresses; nothing below writes through them.
    void* mutableOwner = const_cast<void*>(owner);
    for (std::size_t i = 0; i < count; ++i) {
        const FieldDesc& field = table[i];
        if (filter.isIgnoreItem(field.key)) {
            continue;
        }
        const void* member = field.member(mutableOwner);
        if (field.rule == WriteRule::WhenNotEmpty && isEmptyField(field, member)) {
            continue;
        }
        cJSON* item = writeValue(field, member);
        // Keys are string literals, so the tree may borrow them.
        if (item != nullptr && !cJSON_AddItemToObjectCS(object, field.key, item)) {
            cJSON_Delete(item);
        }
    }
    return object;
}

}  // namespace detail
}  // namespace protocol
