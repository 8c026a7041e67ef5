#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "engine/sqlite/CatalogModel.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/KeepAlive.h"
#include "engine/sqlite/Transaction.h"
#include "engine/sqlite/ValueConversion.h"
#include "engine/sqlite/WriteAhead.h"

namespace engine::sqlite {

class LogFolder;
class TableState;
class WritingDatabases;

// What every object of one open database shares: the connection, the catalog, the
// per-table state and the write bracketing (autocommit, bulk batches, caller transactions).
// Objects hold it by shared_ptr; once the database is closed every use raises an error.
//
// The bracketing is one state (WriteState); each change of it happens in the one function
// named for it below. A caller's transaction is the one Transaction object held here; in bulk
// mode the writer (WriteAhead) stores the records and holds the open batch.
class DatabaseState {
public:
    // How a file is opened: AsStored reads it as it lies on disk, read-only, leaving aside the
    // unfinished writes of a file left mid-write (its write-ahead log or rollback journal).
    enum class Access { Writable, ReadOnly, AsStored };

    // Opens and checks the file (see SqliteServer::OpenDatabase for the errors); keepAlive and
    // writing are the server's.
    DatabaseState(const std::string& path, Access access, std::shared_ptr<KeepAlive> keepAlive,
                  std::shared_ptr<WritingDatabases> writing);
    ~DatabaseState();
    DatabaseState(const DatabaseState&) = delete;
    DatabaseState& operator=(const DatabaseState&) = delete;

    // The entry checks, one of which begins every engine call on an object of this database:
    // requireOpen for a call that reads only the catalog or the object's own state,
    // requireSettled (or connection) for one that uses the file, requireWritable for one that
    // changes it. Each throws InvalidArgument once the database is closed or while the
    // caller's keep-alive hook runs; requireSettled the failure of a queued record too. Inline,
    // as every call for every field of every record passes one of them.
    void requireOpen() const {
        if (m_state == WriteState::Closed) refuseClosed();
        m_keepAlive->requireIdle();
    }
    void requireSettled() {
        requireOpen();
        settleWrites();
    }
    // Throws unless the database is open and writable (ReadOnly when opened write-protected).
    void requireWritable() {
        requireOpen();
        if (m_readOnly) refuseReadOnly();
    }
    // The open connection, after requireSettled.
    Connection& connection();
    // The connection as it is, for storing a record in the transaction that is open.
    Connection& connectionInUse() noexcept { return m_connection; }
    bool isOpen() const noexcept { return m_state != WriteState::Closed; }

    const std::string& path() const noexcept { return m_path; }
    const std::vector<UserRecord>& users() const noexcept { return m_users; }
    const std::vector<std::unique_ptr<TableState>>& tables() const noexcept { return m_tables; }

    // Brackets one change other than a queued record: outside bulk mode and caller
    // transactions each change is its own transaction; in bulk mode the open batch is
    // committed first.
    void beforeWrite() {
        requireWritable();
        if (m_state == WriteState::Bulk) commitBatch();
    }

    // Whether a record of table goes to the bulk load's writer: in bulk mode, outside a caller's
    // transaction, for a table whose keys no live unique index checks (a duplicate key is
    // then reported by the index's rebuild, not by the record).
    bool writesAhead(const TableState& table) const noexcept;
    // Queues values, one record packed (RecordBytes.h), as one record of table (see
    // WriteAhead::queue); the caller checked that the database is writable. Throws the failure
    // of an earlier record once the writer has reported one, as settleWrites does.
    void queueRecord(TableState& table, std::span<const char> values);
    // Waits until every queued record is stored; throws the failure of one.
    void settleWrites() {
        if (m_writeAhead) settleWriteAhead();
    }
    // settleWrites for every database of the server, for a read that reaches the end of a table.
    void settleServerWrites();
    // Runs one long step (see KeepAlive::runAside) while the caller stays alive. work uses only
    // a connection obtained before. Passes on what work throws.
    void runAside(const std::function<void()>& work) { m_keepAlive->runAside(work); }
    // runAside for work that writes a great many new pages in one transaction, as an index
    // build does, after commitBatch. In bulk mode outside a caller's transaction the file keeps
    // a rollback journal for the time of work: its pages are then written once, into the file,
    // instead of into the log and later again from there into the file.
    void runBuildAside(const std::function<void()>& work);

    // After a failed change: notices a transaction that SQLite rolled back by itself.
    void afterFailedWrite() noexcept;

    // Before a cursor starts reading: drops the indexes tables keep during a load (see
    // KeptIndexes), as none can be dropped while the cursor reads. Throws engine::Error.
    void stopKeepingIndexes();

    // Bulk mode: records are stored by a writer thread and committed in batches (see
    // WriteAhead), and the file writes ahead into a log meanwhile. Any open batch is committed
    // first. Throws engine::Error.
    void setBulkMode(bool enabled);
    // Stores the queued records and commits an open bulk batch, the records stored before a
    // failed one included. Throws engine::Error when either fails.
    void commitBatch();

    // A caller's transaction (inTransaction): any open batch is committed first. Each throws
    // engine::Error; after a failed begin no transaction is open, after a failed commit the
    // caller rolls back.
    void beginTransaction();
    void commitTransaction();
    void rollbackTransaction() noexcept;

    // Commits pending bulk work and closes the file. Never throws.
    void close() noexcept;

private:
    enum class WriteState {
        Closed,         // released: every use raises an error
        SingleChanges,  // each change is its own transaction (rollback journal)
        Bulk,           // write-ahead log, records stored in batches by the writer
        Caller,         // a caller's transaction is open (rollback journal)
        BulkCaller,     // a caller's transaction is open in bulk mode
    };

    [[noreturn]] static void refuseClosed();
    [[noreturn]] static void refuseReadOnly();
    void settleWriteAhead();
    void startLogFolder() noexcept;
    void stopLogFolder() noexcept;

    bool isBulk() const noexcept;
    bool isCallerTransaction() const noexcept;

    // A caller's transaction -> Bulk or SingleChanges, rolling back what is open.
    void endTransaction() noexcept;
    // After changes may have been rolled back: each table counts its records again and no
    // longer trusts the indexes it keeps (see KeptIndexes).
    void forgetUncommitted() noexcept;

    std::string m_path;
    bool m_readOnly;
    std::shared_ptr<KeepAlive> m_keepAlive;  // outlives the connection's progress handler
    std::shared_ptr<WritingDatabases> m_writing;
    Connection m_connection;
    std::vector<UserRecord> m_users;
    std::vector<std::unique_ptr<TableState>> m_tables;

    WriteState m_state = WriteState::SingleChanges;
    std::optional<Transaction> m_transaction;  // the caller's transaction
    std::unique_ptr<WriteAhead> m_writeAhead;  // in bulk mode, from the first queued record
    std::unique_ptr<LogFolder> m_logFolder;    // in bulk mode
};

}  // namespace engine::sqlite
