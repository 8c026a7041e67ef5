#pragma once

#include <memory>
#include <string>

#include "engine/Field.h"

namespace engine::sqlite {

class DatabaseState;
class NewRecord;
class RecordCursor;
struct FieldDef;

// A field that reads through its table's cursor and writes into its table's new record.
class SqliteField : public Field {
public:
    SqliteField(std::shared_ptr<DatabaseState> database, const FieldDef& def,
                std::shared_ptr<RecordCursor> cursor, std::shared_ptr<NewRecord> newRecord);

    std::string Name() override;
    Variant Value() override;
    // Throws ReadOnly, NoNewRecord (no AddNew) or ValueRefused (see toStored); a refused
    // value leaves the new record as it was.
    void SetValue(const Variant& value) override;

private:
    std::shared_ptr<DatabaseState> m_database;
    const FieldDef& m_def;  // owned by the database's TableState, which lives as long
    std::shared_ptr<RecordCursor> m_cursor;
    std::shared_ptr<NewRecord> m_newRecord;
};

}  // namespace engine::sqlite
