#include "TestDatabase.h"

#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"

namespace testsupport {

namespace {

std::shared_ptr<engine::Table> openTable(const std::string& path, const std::string& table,
                                         std::int32_t flags,
                                         std::shared_ptr<engine::Database>& database) {
    database = engine::sqlite::createServer()->OpenDatabase(path, kUser, kPassword, flags);
    return database->Tables()->Item(engine::Variant(table));
}

}  // namespace

void createVdb(const std::string& path, const std::vector<engine::sqlite::TableSpec>& tables) {
    engine::sqlite::Schema schema;
    schema.users.push_back({kUser, kPassword});
    schema.tables = tables;
    engine::sqlite::createDatabase(path, schema);
}

void appendRows(const std::string& path, const std::string& table, const std::vector<Row>& rows) {
    std::shared_ptr<engine::Database> database;
    auto target = openTable(path, table, 0, database);
    auto fields = target->Fields();
    engine::sqlite::inTransaction(*database, [&] {
        for (const Row& row : rows) {
            target->AddNew(target->NewRecordBuffer(0));
            for (std::size_t i = 0; i < row.size(); ++i) {
                fields->ItemAt(static_cast<std::int32_t>(i))->SetValue(row[i]);
            }
            target->Update(32);
        }
    });
}

std::vector<Row> readRows(const std::string& path, const std::string& table) {
    std::shared_ptr<engine::Database> database;
    auto source = openTable(path, table, engine::open_flags::ReadOnly, database);
    auto fields = source->Fields();
    std::vector<Row> rows;
    for (source->MoveFirst(32); !source->Eof(); source->Move(1, 32)) {
        Row row;
        for (std::int32_t i = 0; i < fields->Count(); ++i) row.push_back(fields->ItemAt(i)->Value());
        rows.push_back(std::move(row));
    }
    return rows;
}

}  // namespace testsupport
