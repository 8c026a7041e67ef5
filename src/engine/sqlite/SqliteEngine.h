#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/DbServer.h"

// The engine stored in SQLite files: the server the program uses, and the schema-level
// operations of the vdb admin tool and of tests, which the copy engine never needs.
namespace engine::sqlite {

enum class FieldType { Text, Int16, Int32, Bool };

struct FieldSpec {
    std::string name;
    FieldType type = FieldType::Text;
    std::int32_t size = 255;  // maximum characters, text fields only
};

struct IndexSpec {
    std::string name;
    std::string displayName;  // empty: the name
    std::vector<std::string> fields;
    bool unique = false;
    bool suspended = false;  // read back only: dropped since a bulk load, until a rebuild succeeds
};

struct TableSpec {
    std::string name;
    std::string displayName;  // empty: the name
    std::vector<FieldSpec> fields;
    std::vector<IndexSpec> indexes;
};

struct UserSpec {
    std::string name;
    std::string password;  // only on the way in; never stored or read back
};

struct Schema {
    std::vector<UserSpec> users;
    std::vector<TableSpec> tables;
};

// Called by the engine at most about every 10 ms during one long call (emptying a table,
// building an index, committing), on the calling thread, e.g. to let a window repaint; what it
// may do: see the head of engine/DbServer.h.
using KeepAliveHook = std::function<void()>;

// A new server; the program keeps one for its whole life. Without a hook, long calls run
// through without interruption.
std::shared_ptr<DbServer> createServer(KeepAliveHook keepAlive = {});

// Writes a new, empty database file with this schema at the UTF-8 path file. Throws engine::Error:
// FileExists for an existing file, InvalidArgument for a bad schema, CannotCreate when writing
// fails. Never leaves a half-written file behind.
void createDatabase(const std::string& file, const Schema& schema);

// The schema of a database (users without passwords), for inspection.
Schema readSchema(Database& database);

// A database opened for inspection or repair, and whether its file had been left mid-write by
// a process that ended.
struct OpenedFile {
    std::shared_ptr<Database> database;
    bool leftMidWrite = false;
};

// Opens path read-only without ever changing it; a file left mid-write is read without its
// unfinished writes. Throws engine::Error as DbServer::OpenDatabase does, never NeedsRecovery.
OpenedFile openForInspection(const std::string& path, const std::string& user,
                             const std::string& password);

// Opens path for writing; a file left mid-write is recovered by that. Throws engine::Error as
// DbServer::OpenDatabase does.
OpenedFile openForRepair(const std::string& path, const std::string& user,
                         const std::string& password);

// SQLite's integrity check of the whole file: empty when it is sound, otherwise each problem
// found, as SQLite words it. Throws engine::Error when the file cannot be read.
std::vector<std::string> checkIntegrity(Database& database);

// Runs work in one transaction on a database opened for writing: either every change that
// work makes is stored, or none is, when work throws (the exception is passed on).
void inTransaction(Database& database, const std::function<void()>& work);

}  // namespace engine::sqlite
