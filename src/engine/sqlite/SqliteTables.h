#pragma once

#include <memory>
#include <vector>

#include "engine/Tables.h"
#include "engine/sqlite/NameIndex.h"

namespace engine::sqlite {

class DatabaseState;
class SqliteTable;

// A database's tables in catalog order, looked up by name in O(1). Each table is one
// object for the life of the collection, so its cursor is the same however it is reached.
class SqliteTables : public Tables {
public:
    explicit SqliteTables(const std::shared_ptr<DatabaseState>& database);

    std::int32_t Count() override;
    // InvalidArgument for a position outside 0 .. Count() - 1.
    std::shared_ptr<Table> ItemAt(std::int32_t position) override;
    // key must be Text (TypeMismatch otherwise); NoSuchTable when no table has that name.
    std::shared_ptr<Table> Item(const Variant& key) override;

private:
    std::shared_ptr<DatabaseState> m_database;
    std::vector<std::shared_ptr<SqliteTable>> m_tables;
    NameIndex m_names;
};

}  // namespace engine::sqlite
