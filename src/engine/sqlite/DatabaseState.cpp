#include "engine/sqlite/DatabaseState.h"

#include <sqlite3.h>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Catalog.h"
#include "engine/sqlite/ErrorMapping.h"
#include "engine/sqlite/FileHeader.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/TableState.h"

namespace engine::sqlite {

namespace {

Connection openChecked(const std::string& path, bool readOnly) {
    checkFileHeader(path, readOnly);
    try {
        return Connection(path, readOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE);
    } catch (const Error& error) {
        if (error.code() == codes::FileNotFound || error.code() == codes::FileLocked) throw;
        throw Error(codes::NotADatabase, messages::notADatabase(path));
    }
}

// Each commit syncs the journal and the file at the points that keep a killed process from
// damaging it; the extra syncs of FULL would make one-record transactions several times
// slower.
constexpr const char* kWriteSync = "PRAGMA synchronous=NORMAL";

// Outside bulk loads the file keeps a rollback journal, so that a read-only open never needs
// to write anything next to it.
constexpr const char* kRollbackMode = "PRAGMA journal_mode=DELETE";

// During a bulk load the file writes ahead into a log: a batch's commit then costs no disk
// sync, yet a killed process still leaves every committed batch intact. The log is folded
// back into the file every 512 pages (8 MiB), in steps short enough to keep the window
// answering, and when the load ends.
constexpr const char* kBulkMode =
    "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=512; PRAGMA cache_size=-8192";

// A writable open takes the write lock once, so that a file another process is writing
// is reported at the open and not in the middle of a copy.
void probeWriteLock(Connection& connection, const std::string& path) {
    try {
        connection.exec("BEGIN IMMEDIATE; ROLLBACK;");
    } catch (const Error& error) {
        if (!connection.autocommit()) connection.exec("ROLLBACK");
        if (error.code() == codes::FileLocked) {
            throw Error(codes::FileLocked, messages::fileLocked(path));
        }
        throw;
    }
}

}  // namespace

DatabaseState::DatabaseState(const std::string& path, bool readOnly)
    : m_path(path), m_readOnly(readOnly), m_connection(openChecked(path, readOnly)) {
    CatalogData catalog = Catalog::load(m_connection, path);
    if (!readOnly) {
        probeWriteLock(m_connection, path);
        m_connection.exec(kWriteSync);
        m_connection.exec(kRollbackMode);  // finishes a bulk load that was cut off
    }
    m_users = std::move(catalog.users);
    for (TableDef& table : catalog.tables) {
        m_tables.push_back(std::make_unique<TableState>(*this, std::move(table)));
    }
}

DatabaseState::~DatabaseState() {
    close();
}

Connection& DatabaseState::connection() {
    requireOpen();
    return m_connection;
}

void DatabaseState::requireOpen() const {
    if (!m_open) throw Error(codes::InvalidArgument, messages::databaseClosed());
}

void DatabaseState::requireWritable() {
    requireOpen();
    if (m_readOnly) throw Error(codes::ReadOnly, messages::readOnly());
}

void DatabaseState::beforeWrite() {
    requireWritable();
    if (!m_bulk || m_callerTransaction || m_batchOpen) return;
    m_connection.exec("BEGIN IMMEDIATE");
    m_batchOpen = true;
    m_batchRecords = 0;
    m_batchStart = std::chrono::steady_clock::now();
}

void DatabaseState::afterWrite() {
    if (!m_batchOpen) return;
    ++m_batchRecords;
    // The clock is read every 64 records only: a record takes microseconds.
    if (m_batchRecords >= kBatchRecords ||
        (m_batchRecords % 64 == 0 && std::chrono::steady_clock::now() - m_batchStart >= kBatchTime)) {
        commitBatch();
    }
}

void DatabaseState::afterFailedWrite() noexcept {
    if (!m_open || !m_connection.autocommit()) return;
    if (m_batchOpen || m_callerTransaction) forgetRecordCounts();
    m_batchOpen = false;
}

void DatabaseState::setBulkMode(bool enabled) {
    requireWritable();
    commitBatch();
    if (enabled == m_bulk) return;
    m_connection.exec(enabled ? kBulkMode : kRollbackMode);
    m_bulk = enabled;
}

void DatabaseState::commitBatch() {
    if (!m_batchOpen) return;
    try {
        m_connection.exec("COMMIT");
    } catch (...) {
        afterFailedWrite();
        throw;
    }
    m_batchOpen = false;
}

void DatabaseState::beginTransaction() {
    requireWritable();
    commitBatch();
    m_connection.exec("BEGIN IMMEDIATE");
    m_callerTransaction = true;
}

void DatabaseState::commitTransaction() {
    m_connection.exec("COMMIT");
    m_callerTransaction = false;
}

void DatabaseState::rollbackTransaction() noexcept {
    m_callerTransaction = false;
    forgetRecordCounts();
    if (!m_open || m_connection.autocommit()) return;
    try {
        m_connection.exec("ROLLBACK");
    } catch (...) {  // the file stays as it was before the transaction; SQLite rolls back on close
    }
}

void DatabaseState::close() noexcept {
    if (!m_open) return;
    try {
        commitBatch();
    } catch (...) {  // the batch is lost like on a crash; every earlier batch is stored
    }
    rollbackTransaction();
    if (m_bulk) {
        try {
            m_connection.exec(kRollbackMode);
        } catch (...) {  // the next writable open folds the log back into the file
        }
    }
    for (auto& table : m_tables) table->dropStatements();
    m_connection.close();
    m_open = false;
}

void DatabaseState::forgetRecordCounts() noexcept {
    for (auto& table : m_tables) table->forgetRecordCount();
}

}  // namespace engine::sqlite
