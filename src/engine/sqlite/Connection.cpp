#include "engine/sqlite/Connection.h"

#include <sqlite3.h>

#include "engine/sqlite/ErrorMapping.h"

namespace engine::sqlite {

namespace {

constexpr int kBusyTimeoutMs = 250;  // short: a locked file is reported, not waited for

// SQLite keeps allocation statistics under a lock of the whole process, taken for every
// allocation of every connection, unless told before its first use not to; nothing here reads
// them. Once SQLite is in use the request is refused and changes nothing.
void leaveOutAllocationStatistics() {
    static const int done = sqlite3_config(SQLITE_CONFIG_MEMSTATUS, 0);
    static_cast<void>(done);
}

void configure(sqlite3* db) {
    sqlite3_extended_result_codes(db, 1);
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    sqlite3_db_config(db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_TRIGGER, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_ENABLE_VIEW, 0, nullptr);
    sqlite3_db_config(db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
}

}  // namespace

void Connection::Closer::operator()(sqlite3* db) const noexcept {
    sqlite3_close_v2(db);
}

Connection::Connection(const std::string& path, int openFlags, const char* vfs) {
    leaveOutAllocationStatistics();
    sqlite3* raw = nullptr;
    // Each connection serves one thread at a time, so SQLite need not lock around each call.
    const int rc = sqlite3_open_v2(path.c_str(), &raw, openFlags | SQLITE_OPEN_NOMUTEX, vfs);
    m_db.reset(raw);
    if (rc != SQLITE_OK) throwSqlite(rc, m_db.get(), path);
    configure(m_db.get());
    exec("PRAGMA trusted_schema=OFF; PRAGMA cell_size_check=ON; PRAGMA mmap_size=0;");
}

void Connection::exec(const std::string& sql) {
    char* message = nullptr;
    const int rc = sqlite3_exec(m_db.get(), sql.c_str(), nullptr, nullptr, &message);
    sqlite3_free(message);
    if (rc != SQLITE_OK) throwSqlite(rc, m_db.get(), {});
}

void Connection::close() noexcept {
    if (!m_db) return;
    for (sqlite3_stmt* stmt = sqlite3_next_stmt(m_db.get(), nullptr); stmt;
         stmt = sqlite3_next_stmt(m_db.get(), stmt)) {
        sqlite3_reset(stmt);
    }
    m_db.reset();
}

bool Connection::autocommit() const noexcept {
    return m_db && sqlite3_get_autocommit(m_db.get()) != 0;
}

int Connection::changes() const noexcept {
    return sqlite3_changes(m_db.get());
}

bool Connection::anyStatementBusy() const noexcept {
    for (sqlite3_stmt* statement = sqlite3_next_stmt(m_db.get(), nullptr); statement;
         statement = sqlite3_next_stmt(m_db.get(), statement)) {
        if (sqlite3_stmt_busy(statement)) return true;
    }
    return false;
}

int Connection::parameterLimit() const noexcept {
    return m_db ? sqlite3_limit(m_db.get(), SQLITE_LIMIT_VARIABLE_NUMBER, -1) : 0;
}

}  // namespace engine::sqlite
