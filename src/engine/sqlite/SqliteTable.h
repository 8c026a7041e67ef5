#pragma once

#include <memory>
#include <string>

#include "engine/Table.h"
#include "engine/Variant.h"

namespace engine::sqlite {

class DatabaseState;
class NewRecord;
class RecordCursor;
class SqliteFields;
class SqliteIndexes;
class TableState;

// One table of an open database with its own cursor and new record. Flags and reserved
// arguments (32, 0) are accepted and ignored.
class SqliteTable : public Table {
public:
    SqliteTable(std::shared_ptr<DatabaseState> database, TableState& table);

    std::string Name() override;
    std::string DisplayName(std::int32_t reserved) override;  // the name when none is set
    std::shared_ptr<engine::Fields> Fields() override;        // the same object every time
    std::shared_ptr<engine::Indexes> Indexes() override;
    std::int32_t RecordCount() override;

    bool Eof() override;
    void MoveFirst(std::int32_t flags) override;
    void Move(std::int32_t rows, std::int32_t flags) override;

    // An array with one Empty per field; every call hands out the same one.
    Variant NewRecordBuffer(std::int32_t reserved) override;
    // Begins a record with every field NULL; buffer must hold an array (TypeMismatch).
    // A record begun before and not stored is discarded. ReadOnly when write-protected.
    void AddNew(const Variant& buffer) override;
    // Stores the record begun; NoNewRecord without one, DuplicateKey for a key a maintained
    // unique index already holds (the record then stays begun, so it can be corrected).
    void Update(std::int32_t flags) override;
    void DeleteAllRecords() override;

private:
    std::shared_ptr<DatabaseState> m_database;
    TableState& m_table;
    std::shared_ptr<RecordCursor> m_cursor;
    std::shared_ptr<NewRecord> m_newRecord;
    std::shared_ptr<SqliteFields> m_fields;
    std::shared_ptr<SqliteIndexes> m_indexes;
    Variant m_emptyRecord;  // one Empty per field
};

}  // namespace engine::sqlite
