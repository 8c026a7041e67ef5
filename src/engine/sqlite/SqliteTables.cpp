#include "engine/sqlite/SqliteTables.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/SqliteTable.h"
#include "engine/sqlite/TableState.h"

namespace engine::sqlite {

SqliteTables::SqliteTables(const std::shared_ptr<DatabaseState>& database) : m_database(database) {
    const auto& tables = database->tables();
    for (std::size_t i = 0; i < tables.size(); ++i) {
        m_tables.push_back(std::make_shared<SqliteTable>(database, *tables[i]));
        m_names.add(tables[i]->def().name, static_cast<int>(i));
    }
}

std::int32_t SqliteTables::Count() {
    m_database->requireOpen();
    return static_cast<std::int32_t>(m_tables.size());
}

std::shared_ptr<Table> SqliteTables::ItemAt(std::int32_t position) {
    m_database->requireOpen();
    if (position < 0 || position >= Count()) {
        throw Error(codes::InvalidArgument, messages::invalidTableNumber(position));
    }
    return m_tables[static_cast<std::size_t>(position)];
}

std::shared_ptr<Table> SqliteTables::Item(const Variant& key) {
    m_database->requireOpen();
    const std::string& name = key.text();
    if (auto position = m_names.find(name)) return m_tables[static_cast<std::size_t>(*position)];
    throw Error(codes::NoSuchTable, messages::noSuchTable(name));
}

}  // namespace engine::sqlite
