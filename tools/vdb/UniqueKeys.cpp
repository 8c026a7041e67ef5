#include "vdb/UniqueKeys.h"

#include <utility>

namespace vdb {

UniqueKeys::UniqueKeys(std::string index, std::vector<std::size_t> probePositions,
                       std::size_t expectedKeys)
    : m_index(std::move(index)), m_positions(std::move(probePositions)) {
    m_keys.reserve(expectedKeys);
}

bool UniqueKeys::add(const std::vector<engine::sqlite::ValueProbe>& probes) {
    m_key.clear();
    for (const std::size_t position : m_positions) {
        if (!probes[position].appendStoredKey(m_key)) return true;
    }
    return m_keys.insert(m_key).second;
}

}  // namespace vdb
