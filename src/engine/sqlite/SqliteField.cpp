#include "engine/sqlite/SqliteField.h"

#include "engine/sqlite/CatalogModel.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/NewRecord.h"
#include "engine/sqlite/RecordCursor.h"
#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

SqliteField::SqliteField(std::shared_ptr<DatabaseState> database, const FieldDef& def,
                         std::shared_ptr<RecordCursor> cursor, std::shared_ptr<NewRecord> newRecord)
    : m_database(std::move(database)),
      m_def(def),
      m_cursor(std::move(cursor)),
      m_newRecord(std::move(newRecord)) {}

std::string SqliteField::Name() {
    m_database->requireOpen();
    return m_def.name;
}

Variant SqliteField::Value() {
    return m_cursor->value(m_def);
}

void SqliteField::SetValue(const Variant& value) {
    m_database->requireWritable();
    m_newRecord->set(m_def, value);
}

}  // namespace engine::sqlite
