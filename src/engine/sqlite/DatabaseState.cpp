#include "engine/sqlite/DatabaseState.h"

#include <sqlite3.h>

#include <algorithm>
#include <exception>
#include <string>
#include <thread>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Catalog.h"
#include "engine/sqlite/ErrorMapping.h"
#include "engine/sqlite/FileHeader.h"
#include "engine/sqlite/LogFolder.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/ReadAheadVfs.h"
#include "engine/sqlite/TableState.h"
#include "engine/sqlite/Transaction.h"
#include "engine/sqlite/WritingDatabases.h"

namespace engine::sqlite {

namespace {

// A URI that opens path as an unchangeable file: SQLite then reads neither a write-ahead log
// nor a rollback journal beside it and takes no lock.
std::string asStoredUri(const std::string& path) {
    std::string uri = "file:";
    for (const char c : path) {
        if (c == '%' || c == '?' || c == '#') {
            static constexpr char kHex[] = "0123456789ABCDEF";
            const auto byte = static_cast<unsigned char>(c);
            uri += {'%', kHex[byte >> 4], kHex[byte & 0xF]};
        } else {
            uri += c;
        }
    }
    return uri + "?immutable=1";
}

Connection connect(const std::string& path, DatabaseState::Access access) {
    switch (access) {
        case DatabaseState::Access::Writable:
            return Connection(path, SQLITE_OPEN_READWRITE);
        case DatabaseState::Access::ReadOnly:
            return Connection(path, SQLITE_OPEN_READONLY, readAheadVfs());
        case DatabaseState::Access::AsStored:
            break;
    }
    return Connection(asStoredUri(path), SQLITE_OPEN_READONLY | SQLITE_OPEN_URI, readAheadVfs());
}

Connection openChecked(const std::string& path, DatabaseState::Access access) {
    checkFileHeader(path, access == DatabaseState::Access::ReadOnly);
    try {
        return connect(path, access);
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
// back into the file every 512 pages (8 MiB) by a LogFolder, or, where none could be opened,
// by SQLite after the commit that reaches them; and when the load ends.
const std::string kBulkMode =
    "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=" + std::to_string(LogFolder::kFoldPages) +
    "; PRAGMA cache_size=-8192";

// Building an index sorts the whole table; SQLite's sorter then sorts and merges parts of it
// on helper threads while it reads on. One per processor, up to four.
std::string sorterThreads() {
    const unsigned processors = std::clamp(std::thread::hardware_concurrency(), 1U, 4U);
    return "PRAGMA threads=" + std::to_string(processors);
}

// A writable open takes the write lock once, so that a file another process is writing
// is reported at the open and not in the middle of a copy.
void probeWriteLock(Connection& connection, const std::string& path) {
    try {
        Transaction probe(connection);
    } catch (const Error& error) {
        if (error.code() == codes::FileLocked) {
            throw Error(codes::FileLocked, messages::fileLocked(path));
        }
        throw;
    }
}

}  // namespace

DatabaseState::DatabaseState(const std::string& path, Access access,
                             std::shared_ptr<KeepAlive> keepAlive,
                             std::shared_ptr<WritingDatabases> writing)
    : m_path(path),
      m_readOnly(access != Access::Writable),
      m_keepAlive(std::move(keepAlive)),
      m_writing(std::move(writing)),
      m_connection(openChecked(path, access)) {
    m_keepAlive->attach(m_connection.handle());
    if (m_readOnly) keepAliveWhileReadingAhead(m_connection.handle(), *m_keepAlive);
    CatalogData catalog = Catalog::load(m_connection, path);
    if (!m_readOnly) {
        probeWriteLock(m_connection, path);
        m_connection.exec(kWriteSync);
        m_connection.exec(kRollbackMode);  // finishes a bulk load that was cut off
        m_connection.exec(sorterThreads());
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
    requireSettled();
    return m_connection;
}

void DatabaseState::refuseClosed() {
    throw Error(codes::InvalidArgument, messages::databaseClosed());
}

void DatabaseState::refuseReadOnly() {
    throw Error(codes::ReadOnly, messages::readOnly());
}

bool DatabaseState::isBulk() const noexcept {
    return m_state == WriteState::Bulk || m_state == WriteState::BulkCaller;
}

bool DatabaseState::isCallerTransaction() const noexcept {
    return m_state == WriteState::Caller || m_state == WriteState::BulkCaller;
}

bool DatabaseState::writesAhead(const TableState& table) const noexcept {
    return m_state == WriteState::Bulk && !table.checksUniqueKeys();
}

void DatabaseState::queueRecord(TableState& table, std::span<const char> values) {
    if (!m_writeAhead) m_writeAhead = std::make_unique<WriteAhead>(m_connection, *m_keepAlive);
    if (m_writeAhead->failed()) settleWriteAhead();
    m_writeAhead->queue(table, values);
}

void DatabaseState::settleWriteAhead() {
    try {
        m_writeAhead->settle();
    } catch (...) {
        forgetUncommitted();
        throw;
    }
}

void DatabaseState::settleServerWrites() {
    m_writing->settleAll();
}

void DatabaseState::commitBatch() {
    if (!m_writeAhead) return;
    // A failed record ends the storing, but the records stored before it are committed all
    // the same, as they would be after a record refused at its own Update.
    std::exception_ptr failure;
    try {
        m_writeAhead->settle();
    } catch (...) {
        failure = std::current_exception();
        forgetUncommitted();
    }
    try {
        m_writeAhead->commitBatch();
    } catch (...) {
        forgetUncommitted();
        if (!failure) throw;
    }
    if (failure) std::rethrow_exception(failure);
}

void DatabaseState::afterFailedWrite() noexcept {
    if (m_state == WriteState::Closed || !m_connection.autocommit()) return;
    // SQLite rolled the caller's transaction back: the records it counted are gone. The
    // transaction stays until the caller rolls it back.
    if (isCallerTransaction()) forgetUncommitted();
}

void DatabaseState::stopKeepingIndexes() {
    const auto keeps = [](const auto& table) { return table->keptIndexes().keepsAny(); };
    if (std::none_of(m_tables.begin(), m_tables.end(), keeps)) return;
    beforeWrite();
    try {
        for (auto& table : m_tables) table->keptIndexes().stopKeeping(m_connection);
    } catch (...) {
        afterFailedWrite();
        throw;
    }
}

void DatabaseState::setBulkMode(bool enabled) {
    requireWritable();
    commitBatch();
    if (enabled == isBulk()) return;
    m_writeAhead.reset();
    stopLogFolder();
    runAside([this, enabled] { m_connection.exec(enabled ? kBulkMode : kRollbackMode); });
    if (enabled) startLogFolder();
    if (isCallerTransaction()) {
        m_state = enabled ? WriteState::BulkCaller : WriteState::Caller;
    } else {
        m_state = enabled ? WriteState::Bulk : WriteState::SingleChanges;
    }
}

void DatabaseState::runBuildAside(const std::function<void()>& work) {
    if (m_state != WriteState::Bulk) {
        runAside(work);
        return;
    }
    // The journal cannot change while the folder's connection reads the log. Where it does not
    // change all the same (another process reads the log), work writes into the log; where the
    // log cannot come back, the load goes on with the rollback journal, only slower.
    stopLogFolder();
    const auto switchJournal = [this](const std::string& mode) noexcept {
        try {
            m_connection.exec(mode);
        } catch (...) {
        }
    };
    try {
        runAside([&] {
            switchJournal(kRollbackMode);
            try {
                work();
            } catch (...) {
                switchJournal(kBulkMode);
                throw;
            }
            switchJournal(kBulkMode);
        });
    } catch (...) {
        startLogFolder();
        throw;
    }
    startLogFolder();
}

void DatabaseState::startLogFolder() noexcept {
    try {
        m_logFolder = std::make_unique<LogFolder>(m_path, m_connection);
    } catch (...) {  // the connection folds the log back itself
    }
}

void DatabaseState::stopLogFolder() noexcept {
    if (!m_logFolder) return;
    // A fold under way is waited for, which may take a while; in place only if the wait
    // aside could not be started.
    try {
        runAside([this] { m_logFolder.reset(); });
    } catch (...) {
    }
    m_logFolder.reset();
}

void DatabaseState::beginTransaction() {
    requireWritable();
    commitBatch();
    if (isCallerTransaction()) {
        throw Error(codes::InvalidArgument, messages::transactionOpen());
    }
    m_transaction.emplace(m_connection);
    m_state = isBulk() ? WriteState::BulkCaller : WriteState::Caller;
}

void DatabaseState::commitTransaction() {
    if (!isCallerTransaction()) return;
    m_transaction->commit();
    endTransaction();
}

void DatabaseState::rollbackTransaction() noexcept {
    forgetUncommitted();
    endTransaction();
}

void DatabaseState::endTransaction() noexcept {
    m_transaction.reset();
    if (m_state == WriteState::Closed) return;
    m_state = isBulk() ? WriteState::Bulk : WriteState::SingleChanges;
}

void DatabaseState::close() noexcept {
    if (m_state == WriteState::Closed) return;
    try {
        commitBatch();
    } catch (...) {  // the batch is lost like on a crash; every earlier batch is stored
    }
    m_writeAhead.reset();
    stopLogFolder();
    rollbackTransaction();
    if (isBulk()) {
        try {
            runAside([this] { m_connection.exec(kRollbackMode); });
        } catch (...) {  // the next writable open folds the log back into the file
        }
    }
    for (auto& table : m_tables) table->dropStatements();
    KeepAlive::detach(m_connection.handle());
    m_connection.close();
    m_state = WriteState::Closed;
}

void DatabaseState::forgetUncommitted() noexcept {
    for (auto& table : m_tables) {
        table->forgetRecordCount();
        table->keptIndexes().distrust();
    }
}

}  // namespace engine::sqlite
