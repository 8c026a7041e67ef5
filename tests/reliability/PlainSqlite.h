#pragma once

#include <memory>
#include <string>
#include <vector>

struct sqlite3;

// Plain SQLite access, beside our engine: to make foreign files, damage catalogs, hold a
// file's write lock and check a file's structure as any SQLite reader would.
namespace reliability {

// Runs sql on the file, creating it when missing. Throws std::runtime_error on failure.
void execSql(const std::string& path, const std::string& sql);

// The rows of a query on the file opened read-only, each column as text (NULL as ""). Throws
// std::runtime_error on failure.
std::vector<std::vector<std::string>> queryRows(const std::string& path, const std::string& sql);

// The name under which the engine stores a table's records ("data_3"), and with field given
// that of the field's column ("f1"), for changes made behind the engine's back. Throws
// std::runtime_error when the catalog lacks them.
std::string storedName(const std::string& path, const std::string& table,
                       const std::string& field = {});

// "ok" for a sound file, otherwise what PRAGMA integrity_check (read-only open) reports.
std::string integrityCheck(const std::string& path);

// A second connection holding the file's write lock (BEGIN IMMEDIATE) while it lives.
class WriteLock {
public:
    explicit WriteLock(const std::string& path);  // throws std::runtime_error
    ~WriteLock();
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

private:
    sqlite3* m_db = nullptr;
};

}  // namespace reliability
