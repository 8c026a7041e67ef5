#include "engine/sqlite/WritingDatabases.h"

#include <algorithm>

#include "engine/sqlite/DatabaseState.h"

namespace engine::sqlite {

void WritingDatabases::add(const std::shared_ptr<DatabaseState>& database) {
    std::erase_if(m_databases, [](const auto& known) { return known.expired(); });
    m_databases.push_back(database);
}

void WritingDatabases::settleAll() {
    for (const auto& known : m_databases) {
        const auto database = known.lock();
        if (database && database->isOpen()) database->settleWrites();
    }
}

}  // namespace engine::sqlite
