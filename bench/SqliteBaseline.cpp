#include "SqliteBaseline.h"

#include "BenchData.h"

#include <sqlite3.h>

#include <chrono>
#include <stdexcept>
#include <string>

namespace bench {

namespace {

void exec(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        std::string text = message ? message : "unknown error";
        sqlite3_free(message);
        throw std::runtime_error("SQLite baseline: " + text);
    }
}

// Our engine's settings for a new file and its bulk load, with the same connection flags.
constexpr const char* kSettings =
    "PRAGMA page_size=16384; PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;"
    "PRAGMA wal_autocheckpoint=512; PRAGMA cache_size=-8192;";

std::string copySql(const engine::sqlite::TableSpec& table, BaselineCopy copy) {
    if (copy == BaselineCopy::WholeRecords) {
        return "INSERT INTO main." + table.name + " SELECT * FROM source." + table.name;
    }
    std::string columns;
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        columns += (i ? ", " : "") + table.fields[i].name;
    }
    return "INSERT INTO main." + table.name + "(" + columns + ") SELECT " + columns +
           " FROM source." + table.name;
}

void attach(sqlite3* db, const std::filesystem::path& source) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "ATTACH DATABASE ? AS source", -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, source.string().c_str(), -1, SQLITE_TRANSIENT);
    const int rc = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) throw std::runtime_error("SQLite baseline: cannot attach the source");
}

void copyAndIndex(sqlite3* db, BaselineCopy copy) {
    exec(db, "BEGIN");
    for (const auto& table : benchTables()) exec(db, copySql(table, copy));
    exec(db, "COMMIT");
    for (const auto& table : benchTables()) {
        for (const std::string& sql : plainCreateIndexSql(table)) exec(db, sql);
    }
}

void removeFile(const std::filesystem::path& file) {
    for (const char* suffix : {"", "-wal", "-shm"}) std::filesystem::remove(file.string() + suffix);
}

}  // namespace

double runSqliteBaseline(const std::filesystem::path& source, const std::filesystem::path& target,
                         BaselineCopy copy) {
    removeFile(target);
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(target.string().c_str(), &db,
                        SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX,
                        nullptr) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("SQLite baseline: cannot create " + target.string());
    }
    exec(db, kSettings);
    for (const auto& table : benchTables()) exec(db, plainCreateTableSql(table));

    const auto start = std::chrono::steady_clock::now();
    attach(db, source);
    copyAndIndex(db, copy);
    exec(db, "DETACH DATABASE source");
    sqlite3_close(db);  // folds the log back into the file, as our import's close does
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);

    removeFile(target);
    return seconds.count();
}

}  // namespace bench
