#include "engine/sqlite/SqliteEngine.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/DatabaseFileWriter.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/KeepAlive.h"
#include "engine/sqlite/SchemaCheck.h"
#include "engine/sqlite/SqliteDatabase.h"
#include "engine/sqlite/SqliteServer.h"
#include "engine/sqlite/TableState.h"

namespace engine::sqlite {

namespace {

DatabaseState& stateOf(Database& database) {
    auto* ours = dynamic_cast<SqliteDatabase*>(&database);
    if (!ours) {
        throw Error(codes::InvalidArgument, "Die Datenbank stammt nicht aus dieser Engine.");
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
        IndexSpec described{index.name, index.displayName, {}, index.unique};
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
