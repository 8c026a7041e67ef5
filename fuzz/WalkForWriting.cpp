#include "WalkForWriting.h"

#include <filesystem>
#include <memory>
#include <vector>

#include "Credentials.h"
#include "WalkFault.h"
#include "WalkSteps.h"
#include "engine/Database.h"
#include "engine/DbServer.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Index.h"
#include "engine/Indexes.h"
#include "engine/Table.h"
#include "engine/Tables.h"

namespace vdbfuzz {

namespace {

constexpr std::int32_t kTargetFlags = 0x30010;
constexpr std::int32_t kReadOnlyFlags = 0x30030;
constexpr int kRecordsAppended = 5;

using Record = std::vector<engine::Variant>;

std::shared_ptr<engine::Database> openForWriting(engine::DbServer& server,
                                                 const std::string& path) {
    return server.OpenDatabase(path, kUser, kPassword, kTargetFlags);
}

std::vector<Record> firstRecords(engine::Table& table, engine::Fields& fields) {
    std::vector<Record> records;
    for (table.MoveFirst(kCursorFlags);
         !table.Eof() && records.size() < static_cast<std::size_t>(kRecordsAppended);
         table.Move(1, kCursorFlags)) {
        Record record;
        for (std::int32_t f = 0; f < fields.Count(); ++f) {
            record.push_back(fields.ItemAt(f)->Value());
        }
        records.push_back(std::move(record));
    }
    return records;
}

void appendFirstRecords(engine::Table& table, WalkReport& report) {
    auto fields = table.Fields();
    for (const Record& record : firstRecords(table, *fields)) {
        guarded(report, [&] {
            table.AddNew(table.NewRecordBuffer(0));
            for (std::size_t f = 0; f < record.size(); ++f) {
                fields->ItemAt(static_cast<std::int32_t>(f))->SetValue(record[f]);
            }
            table.Update(kCursorFlags);
            ++report.records;
        });
    }
}

void rebuildIndexes(engine::Table& table, WalkReport& report) {
    auto indexes = table.Indexes();
    for (std::int32_t i = 0; i < indexes->Count(); ++i) {
        guarded(report, [&] {
            indexes->ItemAt(i)->Rebuild();
            ++report.indexes;
        });
    }
}

// The new database must open with the credentials that opened its model.
void createAndReopen(engine::DbServer& server, engine::Database& database,
                     const std::string& createdPath) {
    database.CreateDatabase(createdPath, engine::Variant(std::int32_t{1}),
                            engine::Variant(std::int32_t{0}), engine::Variant::missing());
    std::shared_ptr<engine::Database> created;
    try {
        created = server.OpenDatabase(createdPath, kUser, kPassword, kReadOnlyFlags);
    } catch (const engine::Error&) {
        throw WalkFault("a database made by CreateDatabase does not open");
    }
    if (created->Tables()->Count() != database.Tables()->Count()) {
        throw WalkFault("a database made by CreateDatabase has another number of tables");
    }
}

void emptyTable(engine::Table& table) {
    table.DeleteAllRecords();
    if (table.RecordCount() != 0) throw WalkFault("records left after DeleteAllRecords");
}

template <typename Action>
void forEachTable(engine::Database& database, WalkReport& report, Action&& action) {
    auto tables = database.Tables();
    for (std::int32_t t = 0; t < tables->Count(); ++t) {
        guarded(report, [&] { action(*tables->ItemAt(t)); });
    }
}

void fillAndRebuild(engine::DbServer& server, const std::string& path,
                    const std::string& createdPath, WalkReport& report) {
    auto database = openForWriting(server, path);
    database->KeyStorageAccess(true);
    forEachTable(*database, report, [&](engine::Table& table) {
        appendFirstRecords(table, report);
        ++report.tables;
    });
    guarded(report, [&] { database->KeyStorageAccess(false); });
    forEachTable(*database, report, [&](engine::Table& table) { rebuildIndexes(table, report); });
    guarded(report, [&] { createAndReopen(server, *database, createdPath); });
    std::error_code ignored;
    std::filesystem::remove(createdPath, ignored);
    forEachTable(*database, report, emptyTable);
}

}  // namespace

WalkReport walkForWriting(engine::DbServer& server, const std::string& path,
                          const std::string& createdPath) {
    WalkReport report;
    std::shared_ptr<engine::Database> database;
    try {
        database = openForWriting(server, path);
    } catch (const engine::Error& error) {
        report.openError = error.code();
        return report;
    }
    guarded(report, [&] { database->PrepareKeyStorage(false); });
    database.reset();  // an import closes the target here and opens it again
    guarded(report, [&] { fillAndRebuild(server, path, createdPath, report); });
    return report;
}

}  // namespace vdbfuzz
