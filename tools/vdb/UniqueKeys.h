#pragma once

#include <cstddef>
#include <string>
#include <unordered_set>
#include <vector>

#include "engine/sqlite/ValueProbe.h"

namespace vdb {

// The keys that one unique index of a target table holds, gathered in a hash set from the
// values its fields were last given. Memory: one set node per key, about 70 bytes for keys of
// up to 15 bytes (one or two integer fields), plus the key's bytes for longer text keys; about
// 70 MB for 1,000,000 integer keys.
class UniqueKeys {
public:
    // probePositions: for each field of the index, most significant first, the position of the
    // probe that converts that field's value. expectedKeys sizes the set in advance.
    UniqueKeys(std::string index, std::vector<std::size_t> probePositions,
               std::size_t expectedKeys);

    const std::string& index() const noexcept { return m_index; }
    const std::vector<std::size_t>& probePositions() const noexcept { return m_positions; }

    // Adds the key made of the values that probes last converted. Returns false when the index
    // already holds that key. A key with a field that stores no value is never a duplicate (as
    // in the engine's unique indexes) and is not kept; neither is a key of a refused value.
    bool add(const std::vector<engine::sqlite::ValueProbe>& probes);

private:
    std::string m_index;
    std::vector<std::size_t> m_positions;
    std::unordered_set<std::string> m_keys;
    std::string m_key;  // the key being built, reused for every record
};

}  // namespace vdb
