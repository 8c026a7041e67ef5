// Writes the fuzzer's seed files into the folder given as the only argument: small, valid
// database files with several tables, every field type, unique and plain indexes, empty
// tables, awkward names and a few records each. Every file lets the user ADMIN in with the
// password "fuzz" through a hash of the lowest cost, so that the fuzzer spends its time on
// the file and not on the password.

#include <sodium.h>
#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iostream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "Credentials.h"
#include "engine/Database.h"
#include "engine/Error.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/SqliteEngine.h"

namespace {

namespace fs = std::filesystem;
using engine::Variant;
using engine::sqlite::FieldType;
using engine::sqlite::IndexSpec;
using engine::sqlite::TableSpec;

using Row = std::vector<Variant>;

struct TableRows {
    std::string table;
    std::vector<Row> rows;
};

struct Seed {
    std::string file;
    std::vector<engine::sqlite::UserSpec> users;  // the first is ADMIN
    std::vector<TableSpec> tables;
    std::vector<TableRows> records;
    int pageSize = 512;           // 512 keeps the files small; the engine takes any size
    bool pendingIndexes = false;  // left as after PrepareKeyStorage(false)
};

std::string cheapHash(const std::string& password) {
    char hash[crypto_pwhash_STRBYTES];
    if (crypto_pwhash_str(hash, password.data(), password.size(), crypto_pwhash_OPSLIMIT_MIN,
                          crypto_pwhash_MEMLIMIT_MIN) != 0) {
        throw std::runtime_error("crypto_pwhash_str failed");
    }
    return hash;
}

// Runs sql with plain SQLite; ? parameters take the texts of bindings in order.
void rawSql(const std::string& path, const std::string& sql,
            const std::vector<std::string>& bindings = {}) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, sqlite3_close);
    sqlite3_stmt* statement = nullptr;
    if (opened != SQLITE_OK ||
        sqlite3_prepare_v2(db.get(), sql.c_str(), -1, &statement, nullptr) != SQLITE_OK) {
        throw std::runtime_error(path + ": " + sqlite3_errmsg(db.get()));
    }
    for (std::size_t i = 0; i < bindings.size(); ++i) {
        sqlite3_bind_text(statement, static_cast<int>(i) + 1, bindings[i].c_str(), -1,
                          SQLITE_TRANSIENT);
    }
    const int stepped = sqlite3_step(statement);
    sqlite3_finalize(statement);
    if (stepped != SQLITE_DONE) throw std::runtime_error(path + ": " + sqlite3_errmsg(db.get()));
}

// Rewrites the file with pages of pageSize bytes.
void shrinkPages(const std::string& path, int pageSize) {
    sqlite3* raw = nullptr;
    const int opened = sqlite3_open_v2(path.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    std::unique_ptr<sqlite3, decltype(&sqlite3_close)> db(raw, sqlite3_close);
    const std::string sql = "PRAGMA page_size = " + std::to_string(pageSize) + "; VACUUM;";
    if (opened != SQLITE_OK ||
        sqlite3_exec(db.get(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        throw std::runtime_error(path + ": " + sqlite3_errmsg(db.get()));
    }
}

void appendRows(engine::Database& database, const TableRows& records) {
    auto table = database.Tables()->Item(Variant(records.table));
    auto fields = table->Fields();
    engine::sqlite::inTransaction(database, [&] {
        for (const Row& row : records.rows) {
            table->AddNew(table->NewRecordBuffer(0));
            for (std::size_t i = 0; i < row.size(); ++i) {
                fields->ItemAt(static_cast<std::int32_t>(i))->SetValue(row[i]);
            }
            table->Update(32);
        }
    });
}

void makeSeed(const fs::path& folder, const Seed& seed) {
    const std::string path = (folder / seed.file).string();
    engine::sqlite::createDatabase(path, {seed.users, seed.tables});
    for (const auto& user : seed.users) {
        rawSql(path, "UPDATE vdb_users SET password_hash = ? WHERE name = ?",
               {cheapHash(user.password), user.name});
    }
    {
        auto server = engine::sqlite::createServer();
        auto database = server->OpenDatabase(path, vdbfuzz::kUser, vdbfuzz::kPassword, 0x30010);
        for (const TableRows& records : seed.records) appendRows(*database, records);
        if (seed.pendingIndexes) database->PrepareKeyStorage(false);
    }
    shrinkPages(path, seed.pageSize);
    std::cout << path << ": " << fs::file_size(path) << " Bytes\n";
}

const engine::sqlite::UserSpec kAdmin{vdbfuzz::kUser, vdbfuzz::kPassword};

TableSpec kunden() {
    return {"Kunden",
            "Kundenstamm",
            {{"ID", FieldType::Int32},
             {"Name", FieldType::Text, 40},
             {"Aktiv", FieldType::Bool},
             {"Stufe", FieldType::Int16}},
            {{"ID", "", {"ID"}, true}, {"NameIdx", "Nach Name", {"Name", "Stufe"}, false}}};
}

std::vector<Row> kundenRows() {
    return {{std::int32_t{1}, "Anna Müller", true, std::int16_t{3}},
            {std::int32_t{2}, "Björn Öztürk", false, Variant()},
            {std::int32_t{3}, Variant(), true, std::int16_t{-32768}},
            {std::int32_t{-2147483647 - 1}, "Zoë", Variant(), std::int16_t{32767}},
            {std::int32_t{2147483647}, "", false, std::int16_t{0}},
            {std::int32_t{7}, "Anna Müller", true, std::int16_t{3}}};
}

TableSpec bestellungen() {
    return {"Bestellungen",
            "",
            {{"Nr", FieldType::Int32},
             {"KundeID", FieldType::Int32},
             {"Betrag", FieldType::Int32},
             {"Notiz", FieldType::Text, 200}},
            {{"Nr", "Bestellnummer", {"Nr"}, true}, {"Kunde", "", {"KundeID", "Nr"}, false}}};
}

std::vector<Row> bestellungenRows() {
    std::vector<Row> rows;
    for (std::int32_t i = 1; i <= 12; ++i) {
        rows.push_back({i, std::int32_t{i % 3 + 1}, std::int32_t{i * 1250},
                        i % 4 ? Variant("Lieferung „Eilig“ #" + std::to_string(i)) : Variant()});
    }
    return rows;
}

TableSpec leer() {
    return {"Leer", "", {{"Text", FieldType::Text, 10}}, {}};
}

TableSpec hostileNames() {
    return {"Größe & Maß; DROP TABLE vdb_users; --",
            "Übergrößen „Spezial“ 'x' \"y\"",
            {{"ÄÖÜ", FieldType::Text, 1},
             {"ß", FieldType::Int16},
             {"data_1", FieldType::Bool},
             {"f0", FieldType::Int32},
             {"\"); DELETE FROM vdb_tables; --", FieldType::Text, 65535},
             {std::string(120, 'N'), FieldType::Text, 3},
             {"Emoji 😀\tTab", FieldType::Text, 2}},
            {{"idx_1", "", {"f0", "data_1"}, true},
             {"Nach Größe", "Größe ↓", {"ß"}, false},
             {"Alles", "", {"ÄÖÜ", "ß", "data_1", "f0"}, false}}};
}

std::vector<Row> hostileRows() {
    return {{"Ä", std::int16_t{1}, true, std::int32_t{10}, "; --", "abc", "😀x"},
            {"ß", Variant(), false, std::int32_t{11}, std::string(300, 'z'), "ä", Variant()},
            {Variant(), std::int16_t{-1}, Variant(), Variant(), "", "", ""}};
}

TableSpec manyFields() {
    TableSpec table{"Viele Felder", "", {}, {}};
    const FieldType types[] = {FieldType::Text, FieldType::Int16, FieldType::Int32,
                               FieldType::Bool};
    for (int i = 0; i < 24; ++i) {
        table.fields.push_back({"Feld" + std::to_string(i), types[i % 4], 8});
    }
    table.indexes = {{"Erstes", "", {"Feld0"}, false},
                     {"Zwei", "", {"Feld2", "Feld1"}, true},
                     {"Letztes", "", {"Feld23"}, false}};
    return table;
}

std::vector<Row> manyFieldRows() {
    std::vector<Row> rows;
    for (int r = 0; r < 3; ++r) {
        Row row;
        for (int i = 0; i < 24; ++i) {
            switch (i % 4) {
                case 0:
                    row.emplace_back(std::to_string(r * 100 + i));
                    break;
                case 1:
                    row.emplace_back(static_cast<std::int16_t>(r - i));
                    break;
                case 2:
                    row.emplace_back(std::int32_t{r * 7 + i});
                    break;
                default:
                    row.emplace_back(r % 2 == 0);
                    break;
            }
        }
        rows.push_back(std::move(row));
    }
    return rows;
}

TableSpec numbers() {
    return {"Zahlen",
            "",
            {{"N", FieldType::Int32},
             {"K", FieldType::Int16},
             {"Gerade", FieldType::Bool},
             {"T", FieldType::Text, 5}},
            {{"N", "", {"N"}, true}, {"Rest", "", {"K", "Gerade"}, false}}};
}

std::vector<Row> numberRows() {
    std::vector<Row> rows;
    for (std::int32_t n = 300; n > 0; --n) {
        rows.push_back({n, static_cast<std::int16_t>(n % 7), n % 2 == 0,
                        n % 5 ? Variant(std::to_string(n)) : Variant()});
    }
    return rows;
}

std::vector<Seed> seeds() {
    const engine::sqlite::UserSpec guest{"Gast", "gast"};
    return {
        {"kunden.vdb",
         {kAdmin},
         {kunden(), bestellungen(), leer()},
         {{"Kunden", kundenRows()}, {"Bestellungen", bestellungenRows()}}},
        {"namen.vdb",
         {kAdmin, guest},
         {hostileNames(), leer()},
         {{"Größe & Maß; DROP TABLE vdb_users; --", hostileRows()}}},
        {"felder.vdb", {kAdmin}, {manyFields()}, {{"Viele Felder", manyFieldRows()}}},
        {"zahlen.vdb", {kAdmin}, {numbers()}, {{"Zahlen", numberRows()}}, 1024},
        {"ausgesetzt.vdb",
         {guest, kAdmin},
         {kunden(), leer()},
         {{"Kunden", kundenRows()}},
         512,
         true},
        {"leer.vdb", {kAdmin}, {}, {}},
        {"standard.vdb", {kAdmin}, {leer(), kunden()}, {{"Kunden", kundenRows()}}, 4096},
    };
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "Aufruf: fuzz_seed_maker <Ordner>\n";
        return 2;
    }
    const fs::path folder = argv[1];
    try {
        fs::create_directories(folder);
        if (sodium_init() < 0) throw std::runtime_error("sodium_init failed");
        for (const Seed& seed : seeds()) makeSeed(folder, seed);
    } catch (const engine::Error& error) {
        std::cerr << "Fehler 0x" << std::hex << error.code() << ": " << error.description() << '\n';
        return 1;
    } catch (const std::exception& error) {
        std::cerr << error.what() << '\n';
        return 1;
    }
    return 0;
}
