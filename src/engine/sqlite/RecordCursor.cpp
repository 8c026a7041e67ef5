#include "engine/sqlite/RecordCursor.h"

#include <limits>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/TableState.h"

namespace engine::sqlite {

namespace {

[[noreturn]] void damaged(const DatabaseState& database) {
    throw Error(codes::NotADatabase, messages::notADatabase(database.path()));
}

std::int64_t checkedInteger(const DatabaseState& database, const Statement::Value& stored,
                            Statement::ColumnType type, std::int64_t low, std::int64_t high) {
    if (type != Statement::ColumnType::Integer) damaged(database);
    const std::int64_t number = stored.integer();
    if (number < low || number > high) damaged(database);
    return number;
}

}  // namespace

RecordCursor::RecordCursor(std::shared_ptr<DatabaseState> database, TableState& table)
    : m_database(std::move(database)), m_table(table) {}

void RecordCursor::setOrder(const IndexDef* index) {
    // Finalizing the statement uses the connection.
    m_database->requireSettled();
    m_orderBy.clear();
    if (index) {
        for (int position : index->fields) m_orderBy += columnName(position) + ", ";
    }
    m_select.reset();
    m_started = false;
    m_onRow = false;
}

void RecordCursor::moveFirst() {
    Connection& connection = m_database->connection();
    if (m_select) m_select->reset();
    m_database->stopKeepingIndexes();
    if (!m_select) {
        const std::string columns = columnList(m_table.def().fields);
        m_select = std::make_unique<Statement>(connection, "SELECT " + columns + " FROM " +
                                                               dataTableName(m_table.def().id) +
                                                               " ORDER BY " + m_orderBy + "rowid");
    }
    m_started = true;
    m_onRow = false;
    m_onRow = m_select->step();
}

void RecordCursor::move(int rows) {
    if (rows < 0) {
        throw Error(codes::InvalidArgument, messages::cursorForwardOnly());
    }
    ensureStarted();
    for (int i = 0; i < rows; ++i) {
        if (!m_onRow) throw Error(codes::NoCurrentRecord, messages::endOfTable());
        m_database->requireSettled();
        m_onRow = false;
        m_onRow = m_select->step();
    }
    if (!m_onRow) m_database->settleServerWrites();
}

bool RecordCursor::eof() {
    ensureStarted();
    return !m_onRow;
}

Variant RecordCursor::value(const FieldDef& field) {
    m_database->requireSettled();
    if (!m_started) moveFirst();
    if (!m_onRow) throw Error(codes::NoCurrentRecord, messages::noCurrentRecord());
    const Statement::Value stored = m_select->columnValue(field.position);
    const Statement::ColumnType type = stored.type();
    if (type == Statement::ColumnType::Null) return {};
    switch (field.type) {
        case FieldType::Text:
            if (type != Statement::ColumnType::Text) damaged(*m_database);
            return Variant(std::string(stored.text()));
        case FieldType::Int16:
            return Variant(static_cast<std::int16_t>(
                checkedInteger(*m_database, stored, type, std::numeric_limits<std::int16_t>::min(),
                               std::numeric_limits<std::int16_t>::max())));
        case FieldType::Int32:
            return Variant(static_cast<std::int32_t>(
                checkedInteger(*m_database, stored, type, std::numeric_limits<std::int32_t>::min(),
                               std::numeric_limits<std::int32_t>::max())));
        case FieldType::Bool:
            return Variant(checkedInteger(*m_database, stored, type, 0, 1) != 0);
    }
    damaged(*m_database);
}

void RecordCursor::ensureStarted() {
    m_database->requireOpen();
    if (!m_started) moveFirst();
}

}  // namespace engine::sqlite
