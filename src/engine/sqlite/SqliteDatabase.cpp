#include "engine/sqlite/SqliteDatabase.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Catalog.h"
#include "engine/sqlite/DatabaseFileWriter.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/SqliteTables.h"
#include "engine/sqlite/TableState.h"
#include "engine/sqlite/Transaction.h"

namespace engine::sqlite {

namespace {

bool isInteger(const Variant& value, std::int32_t* number) {
    if (value.type() == Variant::Type::Int16)
        *number = value.int16();
    else if (value.type() == Variant::Type::Int32)
        *number = value.int32();
    else
        return false;
    return true;
}

CatalogData copyOfCatalog(const DatabaseState& database) {
    CatalogData data;
    data.users = database.users();
    for (const auto& table : database.tables()) {
        TableDef def = table->def();
        for (IndexDef& index : def.indexes) index.pending = false;
        data.tables.push_back(std::move(def));
    }
    return data;
}

}  // namespace

SqliteDatabase::SqliteDatabase(std::shared_ptr<DatabaseState> database)
    : m_database(std::move(database)), m_tables(std::make_shared<SqliteTables>(m_database)) {}

SqliteDatabase::~SqliteDatabase() {
    m_database->close();
}

std::shared_ptr<engine::Tables> SqliteDatabase::Tables() {
    m_database->requireOpen();
    // Ends an open bulk batch, so that a failed write is reported to the caller at a step of
    // its own instead of being lost when the database is released.
    m_database->commitBatch();
    return m_tables;
}

ObjectRef SqliteDatabase::CreateDatabase(const std::string& path, const Variant& version,
                                         const Variant& options, const Variant&) {
    m_database->requireOpen();
    std::int32_t number = 0;
    if (!isInteger(version, &number) || number != 1 || !isInteger(options, &number)) {
        throw Error(codes::InvalidArgument, messages::createArguments());
    }
    writeDatabaseFile(path, copyOfCatalog(*m_database), m_database->path());
    return std::make_shared<Object>();
}

void SqliteDatabase::KeyStorageAccess(bool enable) {
    m_database->setBulkMode(enable);
}

void SqliteDatabase::PrepareKeyStorage(bool keepIndexes) {
    m_database->requireWritable();
    m_database->commitBatch();
    if (keepIndexes) return;
    Connection& connection = m_database->connection();
    m_database->runAside([&] {
        Transaction prepare(connection, "prepare");
        for (const auto& table : m_database->tables()) {
            for (const IndexDef& index : table->def().indexes) {
                connection.exec("DROP INDEX IF EXISTS " + indexSqlName(index.id));
                Catalog::setPending(connection, index.id, true);
            }
        }
        prepare.commit();
    });
    for (const auto& table : m_database->tables()) {
        for (IndexDef& index : table->def().indexes) index.pending = true;
        table->keptIndexes().restart();
    }
}

}  // namespace engine::sqlite
