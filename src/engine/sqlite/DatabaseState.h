#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/sqlite/CatalogModel.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/KeepAlive.h"
#include "engine/sqlite/Transaction.h"

namespace engine::sqlite {

class TableState;

// What every object of one open database shares: the connection, the catalog, the
// per-table state and the write bracketing (autocommit, bulk batches, caller transactions).
// Objects hold it by shared_ptr; once the database is closed every use raises an error.
//
// The bracketing is one state (WriteState); each change of it happens in the one function
// named for it below, and the open transaction, if any, is the one Transaction object held.
class DatabaseState {
public:
    // Opens and checks the file (see SqliteServer::OpenDatabase for the errors); keepAlive is
    // the server's and serves every long statement on this file.
    DatabaseState(const std::string& path, bool readOnly, std::shared_ptr<KeepAlive> keepAlive);
    ~DatabaseState();
    DatabaseState(const DatabaseState&) = delete;
    DatabaseState& operator=(const DatabaseState&) = delete;

    // The open connection; throws InvalidArgument once the database is closed or while the
    // caller's keep-alive hook runs.
    Connection& connection();
    // Throws unless the database is open and writable (ReadOnly when opened write-protected).
    void requireWritable();
    bool isOpen() const noexcept { return m_state != WriteState::Closed; }
    void requireOpen() const;

    const std::string& path() const noexcept { return m_path; }
    const std::vector<UserRecord>& users() const noexcept { return m_users; }
    const std::vector<std::unique_ptr<TableState>>& tables() const noexcept { return m_tables; }

    // Brackets one stored record or other change. Outside bulk mode and caller transactions
    // each change is its own transaction; in bulk mode changes are grouped into batches.
    // Both run once per record: they test the state and return in the common case.
    void beforeWrite() {
        requireWritable();
        if (m_state == WriteState::Bulk) beginBatch();
    }
    void afterWrite() {
        if (m_state == WriteState::BulkBatch) countBatchRecord();
    }
    // Runs one long step (see KeepAlive::runAside) while the caller stays alive. work uses only
    // a connection obtained before. Passes on what work throws.
    void runAside(const std::function<void()>& work) { m_keepAlive->runAside(work); }

    // After a failed change: notices a transaction that SQLite rolled back by itself.
    void afterFailedWrite() noexcept;

    // Bulk mode: records are committed in batches of kBatchRecords or kBatchTime, and the file
    // writes ahead into a log meanwhile. Any open batch is committed first. Throws
    // engine::Error.
    void setBulkMode(bool enabled);
    // Commits an open bulk batch. Throws engine::Error when the commit fails.
    void commitBatch();

    // A caller's transaction (inTransaction): any open batch is committed first. Each throws
    // engine::Error; after a failed begin no transaction is open, after a failed commit the
    // caller rolls back.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction() noexcept;

    // Commits pending bulk work and closes the file. Never throws.
    void close() noexcept;

    static constexpr int kBatchRecords = 5000;
    static constexpr std::chrono::milliseconds kBatchTime{250};

private:
    enum class WriteState {
        Closed,         // released: every use raises an error
        SingleChanges,  // each change is its own transaction (rollback journal)
        Bulk,           // write-ahead log, no batch open: the next change begins one
        BulkBatch,      // write-ahead log, a batch transaction is open
        Caller,         // a caller's transaction is open (rollback journal)
        BulkCaller,     // a caller's transaction is open in bulk mode
    };

    bool isBulk() const noexcept;
    bool isCallerTransaction() const noexcept;

    // Bulk -> BulkBatch.
    void beginBatch();
    // Counts a stored record of the open batch and commits the batch when it is full or old.
    void countBatchRecord();
    // BulkBatch or a caller's transaction -> Bulk or SingleChanges, rolling back what is open.
    void endTransaction() noexcept;
    void forgetRecordCounts() noexcept;

    std::string m_path;
    bool m_readOnly;
    std::shared_ptr<KeepAlive> m_keepAlive;  // outlives the connection's progress handler
    Connection m_connection;
    std::vector<UserRecord> m_users;
    std::vector<std::unique_ptr<TableState>> m_tables;

    WriteState m_state = WriteState::SingleChanges;
    std::optional<Transaction> m_transaction;  // the open batch or caller's transaction
    int m_batchRecords = 0;
    std::chrono::steady_clock::time_point m_batchStart;
};

}  // namespace engine::sqlite
