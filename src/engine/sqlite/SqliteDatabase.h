#pragma once

#include <memory>
#include <string>

#include "engine/Database.h"

namespace engine::sqlite {

class DatabaseState;
class SqliteTables;

// An open database file. Releasing the last reference commits pending bulk work and
// closes the file; objects reached through it then raise an error when used.
//
// Bulk loading ("key storage"):
//  - PrepareKeyStorage(false) on a writable database drops the SQLite index of every index
//    of every table and records it as pending in the file, so the reopened database loads
//    records without index maintenance. PrepareKeyStorage(true) keeps every index live and
//    changes nothing. Cursor order is unaffected either way.
//  - KeyStorageAccess(true) groups stored records into transactions that are committed
//    every DatabaseState::kBatchRecords records or kBatchTime, before an index rebuild and
//    when the database is released; a killed process thus loses at most the open batch.
//    Meanwhile the file writes ahead into a log, so a commit needs no disk sync; the
//    log is folded back when bulk mode ends, at release, or at the next writable open after
//    a killed load (a read-only open of such a file raises NeedsRecovery).
//    KeyStorageAccess(false) commits the open batch and returns to one transaction per
//    record.
//  - Index::Rebuild makes a pending index live again and checks unique indexes then.
// Both raise ReadOnly on a write-protected database.
class SqliteDatabase : public Database {
public:
    explicit SqliteDatabase(std::shared_ptr<DatabaseState> database);
    ~SqliteDatabase() override;
    SqliteDatabase(const SqliteDatabase&) = delete;
    SqliteDatabase& operator=(const SqliteDatabase&) = delete;

    std::shared_ptr<engine::Tables> Tables() override;  // the same object every time

    // version must be the integer 1 and options an integer (ignored), else InvalidArgument;
    // reserved is ignored. Users are copied with their password hashes. Throws FileExists,
    // CannotCreate (e.g. a missing folder). Returns a placeholder object.
    ObjectRef CreateDatabase(const std::string& path, const Variant& version,
                             const Variant& options, const Variant& reserved) override;

    void KeyStorageAccess(bool enable) override;
    void PrepareKeyStorage(bool keepIndexes) override;

    DatabaseState& state() noexcept { return *m_database; }

private:
    std::shared_ptr<DatabaseState> m_database;
    std::shared_ptr<SqliteTables> m_tables;
};

}  // namespace engine::sqlite
