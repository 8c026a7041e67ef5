#include "PlainSqlite.h"

#include <sqlite3.h>

#include <stdexcept>

namespace reliability {

namespace {

sqlite3* openFile(const std::string& path, int flags) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(path.c_str(), &db, flags, nullptr) != SQLITE_OK) {
        const std::string message = db ? sqlite3_errmsg(db) : "out of memory";
        sqlite3_close(db);
        throw std::runtime_error("cannot open " + path + ": " + message);
    }
    return db;
}

void exec(sqlite3* db, const std::string& sql) {
    char* message = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message) != SQLITE_OK) {
        const std::string text = message ? message : sqlite3_errmsg(db);
        sqlite3_free(message);
        sqlite3_close(db);
        throw std::runtime_error(sql + ": " + text);
    }
}

// The first column of the first row of sql with text bound to its one parameter.
std::string firstValue(sqlite3* db, const std::string& sql, const std::string& text) {
    sqlite3_stmt* statement = nullptr;
    std::string value;
    bool found = false;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) == SQLITE_OK &&
        sqlite3_bind_text(statement, 1, text.c_str(), -1, SQLITE_TRANSIENT) == SQLITE_OK &&
        sqlite3_step(statement) == SQLITE_ROW) {
        found = true;
        value = reinterpret_cast<const char*>(sqlite3_column_text(statement, 0));
    }
    sqlite3_finalize(statement);
    if (!found) throw std::runtime_error(sql + ": nothing for " + text);
    return value;
}

}  // namespace

std::string storedName(const std::string& path, const std::string& table,
                       const std::string& field) {
    sqlite3* db = openFile(path, SQLITE_OPEN_READONLY);
    try {
        const std::string id = firstValue(db, "SELECT id FROM vdb_tables WHERE name = ?", table);
        const std::string name =
            field.empty()
                ? "data_" + id
                : "f" + firstValue(db,
                                   "SELECT position FROM vdb_fields WHERE table_id = " + id +
                                       " AND name = ?",
                                   field);
        sqlite3_close(db);
        return name;
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
}

void execSql(const std::string& path, const std::string& sql) {
    sqlite3* db = openFile(path, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    exec(db, sql);
    sqlite3_close(db);
}

std::vector<std::vector<std::string>> queryRows(const std::string& path, const std::string& sql) {
    sqlite3* db = openFile(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* statement = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        const std::string message = sqlite3_errmsg(db);
        sqlite3_close(db);
        throw std::runtime_error(sql + ": " + message);
    }
    std::vector<std::vector<std::string>> rows;
    int rc;
    while ((rc = sqlite3_step(statement)) == SQLITE_ROW) {
        std::vector<std::string>& row = rows.emplace_back();
        for (int column = 0; column < sqlite3_column_count(statement); ++column) {
            const unsigned char* text = sqlite3_column_text(statement, column);
            row.emplace_back(text ? reinterpret_cast<const char*>(text) : "");
        }
    }
    const std::string message = rc == SQLITE_DONE ? "" : sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    if (!message.empty()) throw std::runtime_error(sql + ": " + message);
    return rows;
}

std::string integrityCheck(const std::string& path) {
    sqlite3* db = openFile(path, SQLITE_OPEN_READONLY);
    sqlite3_stmt* statement = nullptr;
    std::string report;
    if (sqlite3_prepare_v2(db, "PRAGMA integrity_check", -1, &statement, nullptr) != SQLITE_OK) {
        report = sqlite3_errmsg(db);
    }
    int rc;
    while (statement && (rc = sqlite3_step(statement)) == SQLITE_ROW) {
        report += (report.empty() ? "" : "\n") +
                  std::string(reinterpret_cast<const char*>(sqlite3_column_text(statement, 0)));
    }
    if (statement && rc != SQLITE_DONE) report += sqlite3_errmsg(db);
    sqlite3_finalize(statement);
    sqlite3_close(db);
    return report;
}

WriteLock::WriteLock(const std::string& path) : m_db(openFile(path, SQLITE_OPEN_READWRITE)) {
    exec(m_db, "BEGIN IMMEDIATE");
}

WriteLock::~WriteLock() {
    sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(m_db);
}

}  // namespace reliability
