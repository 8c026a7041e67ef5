#include "engine/sqlite/SqliteIndex.h"

#include <cstdint>
#include <string>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Catalog.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/Statement.h"
#include "engine/sqlite/TableState.h"
#include "engine/sqlite/Transaction.h"

namespace engine::sqlite {

namespace {

constexpr int kReportedDuplicates = 3;

// SQLite's sorter, which builds an index, sorts lists as large as the page cache may grow;
// lists of 4 MiB sort faster than larger ones and hold less memory. For the time of a build the
// cache has that size, then the size it had.
class SorterCache {
public:
    explicit SorterCache(Connection& connection) : m_connection(connection) {
        Statement size(connection, "PRAGMA cache_size");
        size.step();
        m_sizeBefore = size.columnInt(0);
        connection.exec("PRAGMA cache_size=-4096");
    }
    ~SorterCache() {
        try {
            m_connection.exec("PRAGMA cache_size=" + std::to_string(m_sizeBefore));
        } catch (...) {  // the cache keeps the build's size
        }
    }
    SorterCache(const SorterCache&) = delete;
    SorterCache& operator=(const SorterCache&) = delete;

private:
    Connection& m_connection;
    std::int64_t m_sizeBefore;
};

std::string describeKey(const Statement& row, std::size_t columns) {
    std::string key;
    for (std::size_t i = 0; i < columns; ++i) {
        key += (i ? "; " : "") + row.columnText(static_cast<int>(i));
    }
    return "(" + key + ")";
}

}  // namespace

SqliteIndex::SqliteIndex(std::shared_ptr<DatabaseState> database, TableState& table,
                         std::size_t position)
    : m_database(std::move(database)), m_table(table), m_position(position) {}

IndexDef& SqliteIndex::def() {
    m_database->requireOpen();
    return m_table.def().indexes[m_position];
}

std::string SqliteIndex::Name() {
    return def().name;
}

std::string SqliteIndex::DisplayName(std::int32_t) {
    const IndexDef& index = def();
    return index.displayName.empty() ? index.name : index.displayName;
}

void SqliteIndex::Rebuild() {
    IndexDef& index = def();
    m_database->requireWritable();
    m_database->commitBatch();
    if (!index.pending) {
        Connection& connection = m_database->connection();
        m_database->runBuildAside([&] {
            const SorterCache cache(connection);
            connection.exec("REINDEX " + indexSqlName(index.id));
        });
        return;
    }
    createPending(index);
}

void SqliteIndex::createPending(IndexDef& index) {
    Connection& connection = m_database->connection();
    KeptIndexes& kept = m_table.keptIndexes();
    try {
        if (kept.isKept(connection, m_position)) {
            markKeptLive(connection, index);
        } else {
            buildPending(index);
        }
    } catch (const Error& error) {
        if (error.code() == codes::DuplicateKey) throwDuplicates(index);
        throw;
    }
    index.pending = false;
    kept.markBuilt(m_position);
}

void SqliteIndex::markKeptLive(Connection& connection, const IndexDef& index) {
    m_database->runAside([&] {
        Transaction built(connection);
        Catalog::setPending(connection, index.id, false);
        built.commit();
    });
}

void SqliteIndex::buildPending(const IndexDef& index) {
    Connection& connection = m_database->connection();
    m_database->runBuildAside([&] {
        const SorterCache cache(connection);
        Transaction rebuild(connection, "rebuild");
        connection.exec("DROP INDEX IF EXISTS " + indexSqlName(index.id));
        connection.exec(Catalog::createIndexSql(m_table.def(), index));
        Catalog::setPending(connection, index.id, false);
        rebuild.commit();
    });
}

void SqliteIndex::throwDuplicates(const IndexDef& index) {
    const std::string columns = columnList(index.fields);
    Statement duplicates(m_database->connection(),
                         "SELECT " + columns + " FROM " + dataTableName(m_table.def().id) +
                             " WHERE " + columnList(index.fields, " IS NOT NULL AND ") +
                             " IS NOT NULL GROUP BY " + columns + " HAVING count(*) > 1 LIMIT " +
                             std::to_string(kReportedDuplicates));
    std::string keys;
    while (duplicates.step()) {
        keys += (keys.empty() ? "" : ", ") + describeKey(duplicates, index.fields.size());
    }
    throw Error(codes::DuplicateKey,
                messages::rebuildDuplicates(m_table.def().name, index.name, keys));
}

}  // namespace engine::sqlite
