#include "engine/sqlite/SqliteTable.h"

#include <limits>

#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/NewRecord.h"
#include "engine/sqlite/RecordCursor.h"
#include "engine/sqlite/SqliteField.h"
#include "engine/sqlite/SqliteFields.h"
#include "engine/sqlite/SqliteIndex.h"
#include "engine/sqlite/SqliteIndexes.h"
#include "engine/sqlite/TableState.h"

namespace engine::sqlite {

SqliteTable::SqliteTable(std::shared_ptr<DatabaseState> database, TableState& table)
    : m_database(std::move(database)),
      m_table(table),
      m_cursor(std::make_shared<RecordCursor>(m_database, table)),
      m_newRecord(std::make_shared<NewRecord>()),
      m_emptyRecord(VariantArray(table.def().fields.size())) {
    std::vector<std::shared_ptr<SqliteField>> fields;
    for (const FieldDef& def : table.def().fields) {
        fields.push_back(std::make_shared<SqliteField>(m_database, def, m_cursor, m_newRecord));
    }
    m_fields = std::make_shared<SqliteFields>(m_database, table.def(), std::move(fields));
    std::vector<std::shared_ptr<SqliteIndex>> indexes;
    for (std::size_t i = 0; i < table.def().indexes.size(); ++i) {
        indexes.push_back(std::make_shared<SqliteIndex>(m_database, table, i));
    }
    m_indexes = std::make_shared<SqliteIndexes>(m_database, table, std::move(indexes), m_cursor);
}

std::string SqliteTable::Name() {
    m_database->requireOpen();
    return m_table.def().name;
}

std::string SqliteTable::DisplayName(std::int32_t) {
    m_database->requireOpen();
    const auto& def = m_table.def();
    return def.displayName.empty() ? def.name : def.displayName;
}

std::shared_ptr<engine::Fields> SqliteTable::Fields() {
    m_database->requireOpen();
    return m_fields;
}

std::shared_ptr<engine::Indexes> SqliteTable::Indexes() {
    m_database->requireOpen();
    return m_indexes;
}

std::int32_t SqliteTable::RecordCount() {
    m_database->requireSettled();
    const std::int64_t count = m_table.recordCount();
    return static_cast<std::int32_t>(
        std::min<std::int64_t>(count, std::numeric_limits<std::int32_t>::max()));
}

bool SqliteTable::Eof() {
    return m_cursor->eof();
}

void SqliteTable::MoveFirst(std::int32_t) {
    m_cursor->moveFirst();
}

void SqliteTable::Move(std::int32_t rows, std::int32_t) {
    m_cursor->move(rows);
}

Variant SqliteTable::NewRecordBuffer(std::int32_t) {
    m_database->requireOpen();
    return m_emptyRecord;
}

void SqliteTable::AddNew(const Variant& buffer) {
    m_database->requireWritable();
    buffer.array();  // raises TypeMismatch for anything but an array
    m_newRecord->begin();
}

void SqliteTable::Update(std::int32_t) {
    m_database->requireWritable();
    m_table.insert(*m_newRecord);
    m_newRecord->discard();
}

void SqliteTable::DeleteAllRecords() {
    m_database->requireWritable();
    m_table.deleteAll();
}

}  // namespace engine::sqlite
