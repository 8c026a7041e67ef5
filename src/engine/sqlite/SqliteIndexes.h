#pragma once

#include <memory>
#include <vector>

#include "engine/Indexes.h"
#include "engine/sqlite/NameIndex.h"

namespace engine::sqlite {

class DatabaseState;
class RecordCursor;
class SqliteIndex;
class TableState;

// A table's indexes in their defined order; Activate sets the order of the table's cursor.
class SqliteIndexes : public Indexes {
public:
    SqliteIndexes(std::shared_ptr<DatabaseState> database, TableState& table,
                  std::vector<std::shared_ptr<SqliteIndex>> indexes,
                  std::shared_ptr<RecordCursor> cursor);

    std::int32_t Count() override;
    // InvalidArgument for a position outside 0 .. Count() - 1.
    std::shared_ptr<Index> ItemAt(std::int32_t position) override;
    // key: Text (a name) or Int16/Int32 (a position); TypeMismatch for other types,
    // NoSuchIndex when nothing matches. The cursor then stands before its first record.
    void Activate(const Variant& key) override;

private:
    int positionOf(const Variant& key);

    std::shared_ptr<DatabaseState> m_database;
    TableState& m_table;
    std::vector<std::shared_ptr<SqliteIndex>> m_indexes;
    std::shared_ptr<RecordCursor> m_cursor;
    NameIndex m_names;
};

}  // namespace engine::sqlite
