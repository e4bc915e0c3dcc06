#include "Common/Protocol/JSONStruct/KeySet.h"

#include <cassert>

#include "Common/Protocol/JSONStruct/FieldTable.h"

namespace protocol {

void KeySet::add(const detail::FieldDesc* table, std::size_t index) {
    assert(index < kMaxFields);
    assert(m_table == nullptr || m_table == table);
    m_table = table;
    m_bits |= std::uint64_t{1} << index;
}

bool KeySet::contains(const std::string& key) const {
    for (std::size_t i = 0; i < kMaxFields; ++i) {
        if ((m_bits >> i & 1u) != 0 && key == m_table[i].key) return true;
    }
    return false;
}

std::size_t KeySet::size() const {
    std::size_t count = 0;
    for (std::uint64_t bits = m_bits; bits != 0; bits &= bits - 1) ++count;
    return count;
}

std::set<std::string> KeySet::names() const {
    std::set<std::string> keys;
    for (std::size_t i = 0; i < kMaxFields; ++i) {
        if ((m_bits >> i & 1u) != 0) keys.emplace(m_table[i].key);
    }
    return keys;
}

}  // namespace protocol
