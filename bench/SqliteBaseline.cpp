#include "SqliteBaseline.h"

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

const char* kCreateTables =
    "CREATE TABLE Kunden (ID INTEGER, Stufe INTEGER, Aktiv INTEGER, Name TEXT, Vorname TEXT,"
    " Strasse TEXT, Ort TEXT, Email TEXT, Bemerkung TEXT, Umsatz INTEGER);"
    "CREATE TABLE Termine (ID INTEGER, KundenID INTEGER, Betreff TEXT);"
    "CREATE TABLE Produkte (ID INTEGER, Bezeichnung TEXT, Preis INTEGER);";

const char* kCopy =
    "BEGIN;"
    "INSERT INTO main.Kunden SELECT * FROM source.Kunden;"
    "INSERT INTO main.Termine SELECT * FROM source.Termine;"
    "INSERT INTO main.Produkte SELECT * FROM source.Produkte;"
    "COMMIT;"
    "CREATE UNIQUE INDEX Kunden_ID ON Kunden(ID);"
    "CREATE INDEX Kunden_Name ON Kunden(Name);"
    "CREATE UNIQUE INDEX Termine_ID ON Termine(ID);";

void attach(sqlite3* db, const std::filesystem::path& source) {
    sqlite3_stmt* statement = nullptr;
    sqlite3_prepare_v2(db, "ATTACH DATABASE ? AS source", -1, &statement, nullptr);
    sqlite3_bind_text(statement, 1, source.string().c_str(), -1, SQLITE_TRANSIENT);
    const int rc = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (rc != SQLITE_DONE) throw std::runtime_error("SQLite baseline: cannot attach the source");
}

}  // namespace

double runSqliteBaseline(const std::filesystem::path& source, const std::filesystem::path& target) {
    for (const char* suffix : {"", "-wal", "-shm"}) {
        std::filesystem::remove(target.string() + suffix);
    }
    sqlite3* db = nullptr;
    if (sqlite3_open(target.string().c_str(), &db) != SQLITE_OK) {
        sqlite3_close(db);
        throw std::runtime_error("SQLite baseline: cannot create " + target.string());
    }
    exec(db, "PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL;");
    exec(db, kCreateTables);

    const auto start = std::chrono::steady_clock::now();
    attach(db, source);
    exec(db, kCopy);
    exec(db, "DETACH DATABASE source;");
    const auto seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start);

    sqlite3_close(db);
    return seconds.count();
}

}  // namespace bench
