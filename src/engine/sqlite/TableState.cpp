#include "engine/sqlite/TableState.h"

#include <utility>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/RecordBytes.h"

namespace engine::sqlite {

namespace {

// Several records go in with OR FAIL: a record that breaks a constraint ends the statement and
// leaves the records before it stored, as storing them one by one would. SQLite then keeps no
// statement journal, which it would otherwise write for every statement into a table with a
// unique index, such as one kept during a load (see KeptIndexes).
std::string insertSql(const TableDef& def, std::size_t records) {
    std::string row = "(";
    for (std::size_t i = 0; i < def.fields.size(); ++i) row += i ? ", ?" : "?";
    row += ")";
    std::string sql = std::string(records > 1 ? "INSERT OR FAIL INTO " : "INSERT INTO ") +
                      dataTableName(def.id) + "(" + columnList(def.fields) + ") VALUES " + row;
    for (std::size_t i = 1; i < records; ++i) sql += ", " + row;
    return sql;
}

void bindAll(Statement& statement, std::span<const StoredView> values) {
    for (std::size_t i = 0; i < values.size(); ++i) {
        bindStored(statement, static_cast<int>(i) + 1, values[i]);
    }
}

}  // namespace

void bindStored(Statement& statement, int parameter, const StoredView& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        statement.bindInt(parameter, *number);
    } else if (const auto* text = std::get_if<std::string_view>(&value)) {
        statement.bindTextInPlace(parameter, *text);
    } else {
        statement.bindNull(parameter);
    }
}

TableState::TableState(DatabaseState& database, TableDef def)
    : m_database(database), m_def(std::move(def)), m_keptIndexes(m_def) {}

std::int64_t TableState::recordCount() {
    if (!m_recordCount) {
        Statement count(m_database.connection(), "SELECT count(*) FROM " + dataTableName(m_def.id));
        // Counting is a single step of SQLite's that its progress handler cannot interrupt,
        // some 40 ms for five million records.
        m_database.runAside([&count] { count.step(); });
        m_recordCount = count.columnInt(0);
    }
    return *m_recordCount;
}

void TableState::insert(NewRecord& record) {
    const std::int64_t before = recordCount();
    const std::span<const char> values = record.finish();
    if (m_database.writesAhead(*this)) {
        m_database.queueRecord(*this, values);
    } else {
        m_database.beforeWrite();
        m_views.assign(m_def.fields.size(), std::monostate{});
        record_bytes::read(values, m_views);
        try {
            store(m_views);
        } catch (...) {
            m_database.afterFailedWrite();
            throw;
        }
    }
    m_recordCount = before + 1;
}

void TableState::store(std::span<const StoredView> values) {
    if (!m_insert) {
        m_insert = std::make_unique<Statement>(m_database.connectionInUse(), insertSql(m_def, 1));
    }
    m_keptIndexes.beforeStore(m_database.connectionInUse(), values);
    try {
        bindAll(*m_insert, values);
        m_insert->run();
    } catch (const Error& error) {
        if (error.code() == codes::DuplicateKey) throwDuplicate(values);
        throw;
    }
}

void TableState::storeTogether(std::span<const StoredView> values) {
    std::size_t stored = 0;
    if (canStoreTogether()) {
        Connection& connection = m_database.connectionInUse();
        m_keptIndexes.beforeStore(connection, values);
        try {
            bindAll(*m_insertTogether, values);
            m_insertTogether->run();
            return;
        } catch (...) {
            // The records before the failing one stay stored; the failing one and those after
            // it are stored one at a time below, as if they had come one by one.
            if (connection.autocommit()) throw;
            stored = static_cast<std::size_t>(connection.changes());
        }
    }
    const std::size_t fields = m_def.fields.size();
    for (std::size_t record = stored; record < kStoredTogether; ++record) {
        store(values.subspan(record * fields, fields));
    }
}

bool TableState::canStoreTogether() {
    if (m_insertTogether) return true;
    Connection& connection = m_database.connectionInUse();
    const std::size_t parameters = m_def.fields.size() * kStoredTogether;
    if (parameters == 0 || parameters > static_cast<std::size_t>(connection.parameterLimit())) {
        return false;
    }
    m_insertTogether = std::make_unique<Statement>(connection, insertSql(m_def, kStoredTogether));
    return true;
}

bool TableState::checksUniqueKeys() const noexcept {
    for (const IndexDef& index : m_def.indexes) {
        if (index.unique && !index.pending) return true;
    }
    return false;
}

void TableState::deleteAll() {
    m_database.beforeWrite();
    try {
        Connection& connection = m_database.connection();
        const std::string sql = "DELETE FROM " + dataTableName(m_def.id);
        m_database.runAside([&] { connection.exec(sql); });
    } catch (...) {
        m_database.afterFailedWrite();
        throw;
    }
    m_recordCount = 0;
    m_keptIndexes.tableEmptied();
}

void TableState::throwDuplicate(std::span<const StoredView> values) {
    for (const IndexDef& index : m_def.indexes) {
        if (!index.unique || index.pending) continue;
        std::string sql = "SELECT 1 FROM " + dataTableName(m_def.id) + " WHERE 1";
        for (int position : index.fields) sql += " AND " + columnName(position) + " IS ?";
        Statement probe(m_database.connectionInUse(), sql);
        for (std::size_t i = 0; i < index.fields.size(); ++i) {
            bindStored(probe, static_cast<int>(i) + 1,
                       values[static_cast<std::size_t>(index.fields[i])]);
        }
        if (probe.step()) {
            throw Error(codes::DuplicateKey, messages::recordKeyExists(m_def.name, index.name));
        }
    }
    throw Error(codes::DuplicateKey, messages::recordKeyExists(m_def.name));
}

}  // namespace engine::sqlite
