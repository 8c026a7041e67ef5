#pragma once

#include <chrono>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/sqlite/CatalogModel.h"
#include "engine/sqlite/Connection.h"

namespace engine::sqlite {

class TableState;

// What every object of one open database shares: the connection, the catalog, the
// per-table state and the write bracketing (autocommit, bulk batches, caller transactions).
// Objects hold it by shared_ptr; once the database is closed every use raises an error.
class DatabaseState {
public:
    // Opens and checks the file (see SqliteServer::OpenDatabase for the errors).
    DatabaseState(const std::string& path, bool readOnly);
    ~DatabaseState();
    DatabaseState(const DatabaseState&) = delete;
    DatabaseState& operator=(const DatabaseState&) = delete;

    // The open connection; throws InvalidArgument once the database is closed.
    Connection& connection();
    // Throws unless the database is open and writable (ReadOnly when opened write-protected).
    void requireWritable();
    bool isOpen() const noexcept { return m_open; }
    void requireOpen() const;

    const std::string& path() const noexcept { return m_path; }
    const std::vector<UserRecord>& users() const noexcept { return m_users; }
    const std::vector<std::unique_ptr<TableState>>& tables() const noexcept { return m_tables; }

    // Brackets one stored record or other change. Outside bulk mode and caller transactions
    // each change is its own transaction; in bulk mode changes are grouped into batches.
    void beforeWrite();
    void afterWrite();
    // After a failed change: notices a transaction that SQLite rolled back by itself.
    void afterFailedWrite() noexcept;

    // Bulk mode: records are committed in batches of kBatchRecords or kBatchTime.
    void setBulkMode(bool enabled);
    // Commits an open bulk batch. Throws engine::Error when the commit fails.
    void commitBatch();

    // A caller's transaction (inTransaction): any open batch is committed first.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction() noexcept;

    // Commits pending bulk work and closes the file. Never throws.
    void close() noexcept;

    static constexpr int kBatchRecords = 5000;
    static constexpr std::chrono::milliseconds kBatchTime{250};

private:
    void forgetRecordCounts() noexcept;

    std::string m_path;
    bool m_readOnly;
    bool m_open = true;
    Connection m_connection;
    std::vector<UserRecord> m_users;
    std::vector<std::unique_ptr<TableState>> m_tables;

    bool m_bulk = false;
    bool m_batchOpen = false;  // a bulk batch transaction is open
    int m_batchRecords = 0;
    std::chrono::steady_clock::time_point m_batchStart;
    bool m_callerTransaction = false;
};

}  // namespace engine::sqlite
