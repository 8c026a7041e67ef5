#pragma once

#include <memory>
#include <string>

#include "engine/Database.h"

namespace engine::sqlite {

class DatabaseState;
class SqliteTables;

// An open database file stored in SQLite (the contract, bulk loading included, is
// engine::Database's). PrepareKeyStorage(false) drops the SQLite index of every index and
// records it as pending in the catalog; the batch size and age are DatabaseState's.
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
