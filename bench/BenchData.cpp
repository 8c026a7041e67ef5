#include "BenchData.h"

#include <sqlite3.h>

#include <array>
#include <functional>
#include <stdexcept>
#include <vector>

#include "engine/Database.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Index.h"
#include "engine/Indexes.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/SqliteEngine.h"

namespace bench {

namespace {

using engine::sqlite::FieldType;

// Letters to draw text from; about one in six is a two-byte umlaut.
const std::array<const char*, 24> kLetters = {"a", "b", "e", "i", "k", "l", "m", "n",
                                              "o", "r", "s", "t", "u", "h", "g", " ",
                                              "d", "c", "ä", "ö", "ü", "ß", "Ä", "Ü"};

engine::sqlite::TableSpec customerTable() {
    engine::sqlite::TableSpec table{"Kunden", "Kunden", {}, {}};
    table.fields = {{"ID", FieldType::Int32},           {"Stufe", FieldType::Int16},
                    {"Aktiv", FieldType::Bool},         {"Name", FieldType::Text, 60},
                    {"Vorname", FieldType::Text, 60},   {"Strasse", FieldType::Text, 60},
                    {"Ort", FieldType::Text, 60},       {"Email", FieldType::Text, 60},
                    {"Bemerkung", FieldType::Text, 60}, {"Umsatz", FieldType::Int32}};
    table.indexes = {{"ID", "ID", {"ID"}, true}, {"Name", "Name", {"Name"}, false}};
    return table;
}

engine::sqlite::TableSpec appointmentTable() {
    return {"Termine",
            "Termine",
            {{"ID", FieldType::Int32},
             {"KundenID", FieldType::Int32},
             {"Betreff", FieldType::Text, 60}},
            {{"ID", "ID", {"ID"}, true}}};
}

engine::sqlite::TableSpec productTable() {
    return {"Produkte",
            "Produkte",
            {{"ID", FieldType::Int32},
             {"Bezeichnung", FieldType::Text, 60},
             {"Preis", FieldType::Int32}},
            {}};
}

// The values of record `id` of a table, in field order.
std::vector<engine::Variant> smallRecord(const std::string& table, std::int32_t id,
                                         CustomerGenerator& generator) {
    const Customer customer = generator.next(id);
    if (table == "Termine") return {id, id % 1000, customer.texts[0]};
    return {id, customer.texts[1], customer.revenue};
}

std::vector<engine::Variant> customerRecord(const Customer& c) {
    std::vector<engine::Variant> values = {c.id, c.level, c.active};
    for (const std::string& text : c.texts) values.emplace_back(text);
    values.emplace_back(c.revenue);
    return values;
}

void appendRecord(engine::Table& table, engine::Fields& fields,
                  const std::vector<engine::Variant>& values) {
    table.AddNew(table.NewRecordBuffer(0));
    for (std::size_t i = 0; i < values.size(); ++i) {
        fields.ItemAt(static_cast<std::int32_t>(i))->SetValue(values[i]);
    }
    table.Update(32);
}

void check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        throw std::runtime_error(std::string("SQLite: ") + sqlite3_errmsg(db));
    }
}

void exec(sqlite3* db, const std::string& sql) {
    check(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), db);
}

void bindValue(sqlite3_stmt* statement, int column, const engine::Variant& value) {
    switch (value.type()) {
        case engine::Variant::Type::Text:
            sqlite3_bind_text(statement, column, value.text().data(),
                              static_cast<int>(value.text().size()), SQLITE_TRANSIENT);
            break;
        case engine::Variant::Type::Int16:
            sqlite3_bind_int(statement, column, value.int16());
            break;
        case engine::Variant::Type::Int32:
            sqlite3_bind_int(statement, column, value.int32());
            break;
        case engine::Variant::Type::Boolean:
            sqlite3_bind_int(statement, column, value.boolean() ? 1 : 0);
            break;
        default:
            sqlite3_bind_null(statement, column);
            break;
    }
}

void insertRows(sqlite3* db, const std::string& table, int fieldCount, std::int32_t records,
                const std::function<std::vector<engine::Variant>(std::int32_t)>& recordOf) {
    std::string sql = "INSERT INTO " + table + " VALUES (?";
    for (int i = 1; i < fieldCount; ++i) sql += ", ?";
    sql += ")";
    sqlite3_stmt* statement = nullptr;
    check(sqlite3_prepare_v2(db, sql.c_str(), -1, &statement, nullptr), db);
    for (std::int32_t id = 1; id <= records; ++id) {
        const auto values = recordOf(id);
        for (int i = 0; i < fieldCount; ++i) bindValue(statement, i + 1, values[i]);
        check(sqlite3_step(statement), db);
        sqlite3_reset(statement);
    }
    sqlite3_finalize(statement);
}

const char* sqlType(FieldType type) {
    return type == FieldType::Text ? "TEXT" : "INTEGER";
}

}  // namespace

std::vector<engine::sqlite::TableSpec> benchTables() {
    return {customerTable(), appointmentTable(), productTable()};
}

std::string plainCreateTableSql(const engine::sqlite::TableSpec& table) {
    std::string sql = "CREATE TABLE " + table.name + " (";
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        sql += (i ? ", " : "") + table.fields[i].name + " " + sqlType(table.fields[i].type);
    }
    return sql + ") STRICT";
}

std::vector<std::string> plainCreateIndexSql(const engine::sqlite::TableSpec& table) {
    std::vector<std::string> statements;
    for (const auto& index : table.indexes) {
        std::string sql = std::string(index.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                          table.name + "_" + index.name + " ON " + table.name + "(";
        for (std::size_t i = 0; i < index.fields.size(); ++i) {
            sql += (i ? ", " : "") + index.fields[i];
        }
        statements.push_back(sql + ")");
    }
    return statements;
}

CustomerGenerator::CustomerGenerator(std::uint32_t seed) : m_random(seed) {}

std::string CustomerGenerator::text() {
    const std::size_t characters = 5 + m_random() % 56;
    std::string result;
    for (std::size_t i = 0; i < characters; ++i) result += kLetters[m_random() % kLetters.size()];
    return result;
}

Customer CustomerGenerator::next(std::int32_t id) {
    Customer customer;
    customer.id = id;
    customer.level = static_cast<std::int16_t>(m_random() % 32000);
    customer.active = m_random() % 2 == 0;
    for (std::string& text : customer.texts) text = this->text();
    customer.revenue = static_cast<std::int32_t>(m_random() % 2000000000);
    return customer;
}

void writeVdbSource(const std::filesystem::path& file, std::int32_t records) {
    engine::sqlite::createDatabase(file, {{{kUser, kPassword}}, benchTables()});
    auto server = engine::sqlite::createServer();
    server->OpenDatabase(file.string(), kUser, kPassword, 0)->PrepareKeyStorage(false);
    auto database = server->OpenDatabase(file.string(), kUser, kPassword, 0);
    database->KeyStorageAccess(true);
    auto tables = database->Tables();
    CustomerGenerator generator;
    {
        auto customers = tables->Item("Kunden");
        auto fields = customers->Fields();
        for (std::int32_t id = 1; id <= records; ++id) {
            appendRecord(*customers, *fields, customerRecord(generator.next(id)));
        }
    }
    for (const char* name : {"Termine", "Produkte"}) {
        auto table = tables->Item(name);
        auto fields = table->Fields();
        for (std::int32_t id = 1; id <= kSmallTableRecords; ++id) {
            appendRecord(*table, *fields, smallRecord(name, id, generator));
        }
    }
    for (std::int32_t t = 0; t < tables->Count(); ++t) {
        auto indexes = tables->ItemAt(t)->Indexes();
        for (std::int32_t i = 0; i < indexes->Count(); ++i) indexes->ItemAt(i)->Rebuild();
    }
}

void writeSqliteSource(const std::filesystem::path& file, std::int32_t records) {
    std::filesystem::remove(file);
    sqlite3* db = nullptr;
    check(sqlite3_open(file.string().c_str(), &db), db);
    // The same page size as our files, so that both sides read the same number of pages.
    exec(db, "PRAGMA page_size=16384; PRAGMA journal_mode=WAL; PRAGMA synchronous=NORMAL; BEGIN");
    for (const auto& table : benchTables()) exec(db, plainCreateTableSql(table));
    CustomerGenerator generator;
    insertRows(db, "Kunden", 10, records,
               [&](std::int32_t id) { return customerRecord(generator.next(id)); });
    for (const char* name : {"Termine", "Produkte"}) {
        insertRows(db, name, 3, kSmallTableRecords,
                   [&](std::int32_t id) { return smallRecord(name, id, generator); });
    }
    exec(db, "COMMIT");
    for (const auto& table : benchTables()) {
        for (const std::string& sql : plainCreateIndexSql(table)) exec(db, sql);
    }
    exec(db, "PRAGMA journal_mode=DELETE");
    sqlite3_close(db);
}

}  // namespace bench
