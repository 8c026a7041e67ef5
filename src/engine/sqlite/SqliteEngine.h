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
// building an index, committing), on the calling thread, e.g. to let a window repaint. While it
// runs, every call into the engine raises engine::Error InvalidArgument; an exception it
// throws is ignored.
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

// Runs work in one transaction on a database opened for writing: either every change that
// work makes is stored, or none is, when work throws (the exception is passed on).
void inTransaction(Database& database, const std::function<void()>& work);

}  // namespace engine::sqlite
