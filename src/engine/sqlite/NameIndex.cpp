#include "engine/sqlite/NameIndex.h"

#include "engine/sqlite/NameFold.h"

namespace engine::sqlite {

void NameIndex::add(std::string_view name, int position) {
    m_exact.emplace(std::string(name), position);
    m_folded.emplace(foldName(name), position);
}

std::optional<int> NameIndex::find(std::string_view name) const {
    if (auto exact = m_exact.find(name); exact != m_exact.end()) return exact->second;
    if (auto folded = m_folded.find(foldName(name)); folded != m_folded.end()) {
        return folded->second;
    }
    return std::nullopt;
}

}  // namespace engine::sqlite
