// KeySet: the keys that a message's reads found, kept as a set of strings
// that names each key by its place in the message's field table.
//
// A message's keys all come from its one table, so the set is that table and
// one bit per field: reading a message allocates nothing to remember its
// keys, and copying one copies two words. The spelling is the table's, that
// is the message's, whatever the case of the key in the text.
//
// Thread safety: a plain value, like the message that holds it.
#ifndef COMMON_PROTOCOL_JSONSTRUCT_KEYSET_H
#define COMMON_PROTOCOL_JSONSTRUCT_KEYSET_H

#include <cstddef>
#include <cstdint>
#include <set>
#include <string>

namespace protocol {
namespace detail {
struct FieldDesc;
}  // namespace detail

class KeySet {
public:
    // Fields one table may have at most.
    static constexpr std::size_t kMaxFields = 64;

    // Adds the key of field `index` of `table`, the table of the message that
    // holds the set (the only one its keys ever come from). Adding a key
    // twice keeps one.
    void add(const detail::FieldDesc* table, std::size_t index);

    bool contains(const std::string& key) const;
    std::size_t size() const;
    bool empty() const { return m_bits == 0; }
    // The keys themselves, in order of their spelling.
    std::set<std::string> names() const;

private:
    const detail::FieldDesc* m_table = nullptr;
    std::uint64_t m_bits = 0;
};

}  // namespace protocol

#endif  // COMMON_PROTOCOL_JSONSTRUCT_KEYSET_H
