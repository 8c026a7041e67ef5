#pragma once

#include <memory>
#include <string>
#include <vector>

#include "engine/Fields.h"
#include "engine/sqlite/NameIndex.h"

namespace engine::sqlite {

class DatabaseState;
class SqliteField;
struct TableDef;

// A table's fields in field order, looked up by name in O(1).
class SqliteFields : public Fields {
public:
    // fields: one per field of table, in its order.
    SqliteFields(std::shared_ptr<DatabaseState> database, const TableDef& table,
                 std::vector<std::shared_ptr<SqliteField>> fields);

    std::int32_t Count() override;
    // InvalidArgument for a position outside 0 .. Count() - 1.
    std::shared_ptr<Field> ItemAt(std::int32_t position) override;
    // key must be Text (TypeMismatch otherwise); NoSuchField when no field has that name.
    std::shared_ptr<Field> Item(const Variant& key) override;

private:
    std::shared_ptr<DatabaseState> m_database;
    std::string m_tableName;
    std::vector<std::shared_ptr<SqliteField>> m_fields;
    std::vector<std::string> m_fieldNames;  // by position
    NameIndex m_names;
    std::size_t m_nextGuess = 0;  // the position after the last one found
};

}  // namespace engine::sqlite
