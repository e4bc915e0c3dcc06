// Field tables: how a message declares its fields once (key, member, write
// rule) so that one generic walker reads and writes every message.
//
// Internal to the message sources; users include the message headers.
// A table is a constant array built at compile time; the walker keeps no
// state, so any number of threads may walk different messages at once.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_FIELDTABLE_H
#define COMMON_PROTOCOL_JSONSTRUCT_FIELDTABLE_H

#include "Common/Protocol/JSONStruct/ParseJSONUtil.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <type_traits>
#include <vector>

namespace protocol {
namespace detail {

enum class FieldKind : std::uint8_t {
    String,
    Integer,
    Real,
    Flag,
    Nested,
    StringList,
    FlagList,
    IntegerList,
    MessageList,
};

enum class WriteRule : std::uint8_t {
    Always,
    WhenNotEmpty,  // strings and lists only
};

// The few vector operations the walker needs on a list of messages, without
// knowing the element type.
struct MessageListOps {
    void (*clear)(void* list);
    std::size_t (*size)(const void* list);
    IJSONStruct& (*append)(void* list);  // a default element, appended
    const IJSONStruct& (*at)(const void* list, std::size_t index);
};

struct FieldDesc {
    const char* key;  // spelt as written; a string literal
    FieldKind kind;
    WriteRule rule;
    // Address of the member inside its owner. For a nested message it is the
    // member's IJSONStruct side.
    void* (*member)(void* owner);
    const MessageListOps* listOps;  // lists of messages only
};

// A message's framework side. RFCar and RFCardCfgData carry two; theirs is the
// IInboundData one.
template <class M>
IJSONStruct& structOf(M& msg) {
    if constexpr (std::is_base_of_v<IInboundData, M>) {
        return static_cast<IInboundData&>(msg);
    } else {
        static_assert(std::is_base_of_v<IReturnData, M>, "not a protocol message");
        return static_cast<IReturnData&>(msg);
    }
}

template <class M>
const IJSONStruct& structOf(const M& msg) {
    if constexpr (std::is_base_of_v<IInboundData, M>) {
        return static_cast<const IInboundData&>(msg);
    } else {
        return static_cast<const IReturnData&>(msg);
    }
}

template <class M>
constexpr bool isMessage = std::is_base_of_v<IInboundData, M> || std::is_base_of_v<IReturnData, M>;

template <class T>
struct KindOf {
    static_assert(isMessage<T>, "no field kind for this member type");
    static constexpr FieldKind value = FieldKind::Nested;
};
template <> struct KindOf<std::string> { static constexpr FieldKind value = FieldKind::String; };
template <> struct KindOf<std::int32_t> { static constexpr FieldKind value = FieldKind::Integer; };
template <> struct KindOf<double> { static constexpr FieldKind value = FieldKind::Real; };
template <> struct KindOf<bool> { static constexpr FieldKind value = FieldKind::Flag; };
template <> struct KindOf<std::vector<std::string>> { static constexpr FieldKind value = FieldKind::StringList; };
template <> struct KindOf<std::vector<bool>> { static constexpr FieldKind value = FieldKind::FlagList; };
template <> struct KindOf<std::vector<std::int32_t>> { static constexpr FieldKind value = FieldKind::IntegerList; };
template <class M>
struct KindOf<std::vector<M>> {
    static_assert(isMessage<M>, "no field kind for this list type");
    static constexpr FieldKind value = FieldKind::MessageList;
};

template <class M>
struct MessageListOpsFor {
    static void clear(void* list) { static_cast<std::vector<M>*>(list)->clear(); }
    static std::size_t size(const void* list) { return static_cast<const std::vector<M>*>(list)->size(); }
    static IJSONStruct& append(void* list) { return structOf(static_cast<std::vector<M>*>(list)->emplace_back()); }
    static const IJSONStruct& at(const void* list, std::size_t index) {
        return structOf((*static_cast<const std::vector<M>*>(list))[index]);
    }
    static constexpr MessageListOps ops{&clear, &size, &append, &at};
};

template <class T>
constexpr const MessageListOps* listOpsFor() {
    if constexpr (KindOf<T>::value == FieldKind::MessageList) {
        return &MessageListOpsFor<typename T::value_type>::ops;
    } else {
        return nullptr;
    }
}

template <class C, class T>
T memberTypeOf(T C::*);

// First direct child of `node` whose key equals `key`, ignoring ASCII case.
const cJSON* findMember(const cJSON* node, const char* key);

// Reads the fields of `table` from `node` into the object at `owner`.
void readFields(void* owner, KeySet& presentKeys, const FieldDesc* table,
                std::size_t count, const cJSON* node);

// While one of these lives, toJSON on its thread builds trees whose string
// values point into the message instead of copying it: for the body-text
// helpers, which print the tree and free it while the message stays as it is.
// A search result carries two pictures of some 90 KB each as text.
class BorrowedStrings {
public:
    BorrowedStrings();
    ~BorrowedStrings();
    BorrowedStrings(const BorrowedStrings&) = delete;
    BorrowedStrings& operator=(const BorrowedStrings&) = delete;

private:
    bool m_outer;
};

// A new object node from the fields of `table` of the object at `owner`.
cJSON* writeFields(const void* owner, const SerializationIgnoreItemFeatures& filter,
                   const FieldDesc* table, std::size_t count);

// Table building and walking for one owner class. The same Owner must build
// the table and walk it: the member accessors cast the owner pointer back.
template <class Owner>
struct FieldsOf {
    template <auto Member>
    static void* memberOf(void* owner) {
        auto& member = static_cast<Owner*>(owner)->*Member;
        if constexpr (KindOf<std::remove_reference_t<decltype(member)>>::value == FieldKind::Nested) {
            return &structOf(member);
        } else {
            return &member;
        }
    }

    template <auto Member>
    static constexpr FieldDesc field(const char* key, WriteRule rule = WriteRule::Always) {
        using T = decltype(memberTypeOf(Member));
        return FieldDesc{key, KindOf<T>::value, rule, &memberOf<Member>, listOpsFor<T>()};
    }

    template <std::size_t N>
    static void read(Owner& self, const FieldDesc (&table)[N], const cJSON* node) {
        static_assert(N <= KeySet::kMaxFields, "a message's found keys are one bit per field");
        readFields(static_cast<void*>(&self), structOf(self).presentKeys, table, N, node);
    }

    template <std::size_t N>
    static cJSON* write(const Owner& self, const FieldDesc (&table)[N]) {
        return writeFields(static_cast<const void*>(&self), self, table, N);
    }
};

}  // namespace detail
}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_FIELDTABLE_H
