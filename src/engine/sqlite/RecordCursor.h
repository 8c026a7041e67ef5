#pragma once

#include <memory>
#include <string>

#include "engine/Variant.h"
#include "engine/sqlite/CatalogModel.h"
#include "engine/sqlite/Statement.h"

namespace engine::sqlite {

class DatabaseState;
class TableState;

// A table's cursor: one SELECT stepped row by row in the order of the active index
// (its fields, then insertion order) or, without one, in insertion order. A cursor that
// was never moved stands on the first record.
class RecordCursor {
public:
    RecordCursor(std::shared_ptr<DatabaseState> database, TableState& table);

    // Orders by the fields of index (by position) from the next MoveFirst on; nullptr: none.
    // The cursor then stands before its first record again.
    void setOrder(const IndexDef* index);

    void moveFirst();
    // Moves rows records forward; NoCurrentRecord when the cursor is already past the last,
    // InvalidArgument for a negative count.
    void move(int rows);
    bool eof();

    // The value of field in the current record; NoCurrentRecord when there is none.
    Variant value(const FieldDef& field);

private:
    void ensureStarted();

    std::shared_ptr<DatabaseState> m_database;
    TableState& m_table;
    std::string m_orderBy;
    std::unique_ptr<Statement> m_select;
    bool m_started = false;
    bool m_onRow = false;
};

}  // namespace engine::sqlite
