#include "engine/sqlite/SqliteEngine.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/DatabaseFileWriter.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/KeepAlive.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/SchemaCheck.h"
#include "engine/sqlite/SqliteDatabase.h"
#include "engine/sqlite/SqliteServer.h"
#include "engine/sqlite/Statement.h"
#include "engine/sqlite/TableState.h"

namespace engine::sqlite {

namespace {

DatabaseState& stateOf(Database& database) {
    auto* ours = dynamic_cast<SqliteDatabase*>(&database);
    if (!ours) {
        throw Error(codes::InvalidArgument, messages::foreignDatabase());
    }
    ours->state().requireOpen();
    return ours->state();
}

TableSpec specOf(const TableDef& def) {
    TableSpec table{def.name, def.displayName, {}, {}};
    for (const FieldDef& field : def.fields) {
        table.fields.push_back({field.name, field.type, field.size});
    }
    for (const IndexDef& index : def.indexes) {
        IndexSpec described{index.name, index.displayName, {}, index.unique, index.pending};
        for (int position : index.fields) {
            described.fields.push_back(def.fields[static_cast<std::size_t>(position)].name);
        }
        table.indexes.push_back(std::move(described));
    }
    return table;
}

}  // namespace

std::shared_ptr<DbServer> createServer(KeepAliveHook keepAlive) {
    return std::make_shared<SqliteServer>(std::make_shared<KeepAlive>(std::move(keepAlive)));
}

void createDatabase(const std::string& file, const Schema& schema) {
    writeDatabaseFile(file, catalogFromSchema(schema));
}

Schema readSchema(Database& database) {
    DatabaseState& state = stateOf(database);
    Schema schema;
    for (const UserRecord& user : state.users()) schema.users.push_back({user.name, {}});
    for (const auto& table : state.tables()) schema.tables.push_back(specOf(table->def()));
    return schema;
}

OpenedFile openForInspection(const std::string& path, const std::string& user,
                             const std::string& password) {
    SqliteServer server(std::make_shared<KeepAlive>(KeepAliveHook{}));
    try {
        return {server.OpenDatabase(path, user, password, open_flags::ReadOnly), false};
    } catch (const Error& error) {
        if (error.code() != codes::NeedsRecovery) throw;
    }
    return {server.OpenAsStored(path, user, password), true};
}

OpenedFile openForRepair(const std::string& path, const std::string& user,
                         const std::string& password) {
    // One server for both opens: the password is checked once.
    SqliteServer server(std::make_shared<KeepAlive>(KeepAliveHook{}));
    bool leftMidWrite = false;
    try {
        server.OpenDatabase(path, user, password, open_flags::ReadOnly);
    } catch (const Error& error) {
        if (error.code() != codes::NeedsRecovery) throw;
        leftMidWrite = true;
    }
    constexpr std::int32_t kWritable = 0;
    return {server.OpenDatabase(path, user, password, kWritable), leftMidWrite};
}

std::vector<std::string> checkIntegrity(Database& database) {
    DatabaseState& state = stateOf(database);
    Connection& connection = state.connection();
    std::vector<std::string> problems;
    state.runAside([&] {
        Statement check(connection, "PRAGMA integrity_check");
        while (check.step()) problems.push_back(check.columnText(0));
    });
    if (problems == std::vector<std::string>{"ok"}) problems.clear();
    return problems;
}

void inTransaction(Database& database, const std::function<void()>& work) {
    DatabaseState& state = stateOf(database);
    state.beginTransaction();
    try {
        work();
        state.commitTransaction();
    } catch (...) {
        state.rollbackTransaction();
        throw;
    }
}

}  // namespace engine::sqlite
