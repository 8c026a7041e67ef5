#include "WalkDatabase.h"

#include <memory>

#include "Credentials.h"
#include "WalkFault.h"
#include "WalkSteps.h"
#include "engine/Database.h"
#include "engine/DbServer.h"
#include "engine/ErrorCodes.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Index.h"
#include "engine/Indexes.h"
#include "engine/Table.h"
#include "engine/Tables.h"

namespace vdbfuzz {

namespace {

constexpr std::int32_t kSourceFlags = 0x30030;
constexpr int kMaxRecords = 200;

void expect(bool promise, const char* what) {
    if (!promise) throw WalkFault(what);
}

// Reads every field of the first kMaxRecords records in the table's current order.
void readRecords(engine::Table& table, engine::Fields& fields, WalkReport& report) {
    int read = 0;
    for (table.MoveFirst(kCursorFlags); !table.Eof() && read < kMaxRecords;
         table.Move(1, kCursorFlags)) {
        for (std::int32_t f = 0; f < fields.Count(); ++f) fields.ItemAt(f)->Value();
        ++read;
    }
    report.records += read;
}

void walkFields(engine::Fields& fields) {
    for (std::int32_t f = 0; f < fields.Count(); ++f) {
        const std::string name = fields.ItemAt(f)->Name();
        expect(fields.Item(engine::Variant(name))->Name() == name,
               "Fields::Item finds another field than its name");
    }
}

void walkIndexes(engine::Table& table, engine::Fields& fields, WalkReport& report) {
    auto indexes = table.Indexes();
    const std::int32_t count = indexes->Count();
    for (std::int32_t i = 0; i < count; ++i) {
        guarded(report, [&] {
            auto index = indexes->ItemAt(i);
            index->Name();
            index->DisplayName(0);
            indexes->Activate(engine::Variant(static_cast<std::int16_t>(i)));
            readRecords(table, fields, report);
            indexes->Activate(engine::Variant(index->Name()));
            ++report.indexes;
        });
    }
    try {
        indexes->Activate(engine::Variant(count));
    } catch (const engine::Error& error) {
        expect(error.code() == engine::codes::NoSuchIndex,
               "Indexes::Activate past the last index raises another error than NoSuchIndex");
        return;
    }
    throw WalkFault("Indexes::Activate past the last index raises no error");
}

void walkTable(engine::Tables& tables, std::int32_t position, WalkReport& report) {
    auto table = tables.ItemAt(position);
    const std::string name = table->Name();
    expect(tables.Item(engine::Variant(name))->Name() == name,
           "Tables::Item finds another table than its name");
    table->DisplayName(0);
    expect(table->RecordCount() >= 0, "Table::RecordCount is negative");
    auto fields = table->Fields();
    walkFields(*fields);
    readRecords(*table, *fields, report);
    walkIndexes(*table, *fields, report);
    ++report.tables;
}

}  // namespace

WalkReport walkDatabase(engine::DbServer& server, const std::string& path) {
    WalkReport report;
    std::shared_ptr<engine::Database> database;
    try {
        database = server.OpenDatabase(path, kUser, kPassword, kSourceFlags);
    } catch (const engine::Error& error) {
        report.openError = error.code();
        return report;
    }
    guarded(report, [&] {
        auto tables = database->Tables();
        for (std::int32_t t = 0; t < tables->Count(); ++t) {
            guarded(report, [&] { walkTable(*tables, t, report); });
        }
    });
    return report;
}

}  // namespace vdbfuzz
