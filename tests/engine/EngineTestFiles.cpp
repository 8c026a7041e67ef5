#include "EngineTestFiles.h"

#include <sqlite3.h>

#include <stdexcept>

#include "TestDatabase.h"
#include "engine/Error.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"

namespace enginetest {

using engine::sqlite::FieldType;

std::vector<engine::sqlite::TableSpec> standardTables() {
    return {
        {"Kunden",
         "",
         {{"ID", FieldType::Int32, 0},
          {"Name", FieldType::Text, 20},
          {"Aktiv", FieldType::Bool, 0},
          {"Stufe", FieldType::Int16, 0}},
         {{"ID", "", {"ID"}, true}, {"NameIdx", "Nach Name", {"Name"}, false}}},
        {"Leer", "Leere Tabelle", {{"Text", FieldType::Text, 10}}, {}},
    };
}

std::shared_ptr<engine::Database> openDb(const std::string& path, std::int32_t flags) {
    return engine::sqlite::createServer()->OpenDatabase(path, testsupport::kUser,
                                                        testsupport::kPassword, flags);
}

void readAll(engine::Database& database) {
    auto tables = database.Tables();
    for (std::int32_t t = 0; t < tables->Count(); ++t) {
        auto table = tables->ItemAt(t);
        auto fields = table->Fields();
        for (table->MoveFirst(32); !table->Eof(); table->Move(1, 32)) {
            for (std::int32_t f = 0; f < fields->Count(); ++f) fields->ItemAt(f)->Value();
        }
    }
}

std::int32_t codeOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const engine::Error& error) {
        return error.code();
    }
    return 0;
}

void rawSql(const std::string& path, const std::string& sql) {
    sqlite3* db = nullptr;
    if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) throw std::runtime_error("open failed");
    char* message = nullptr;
    const int rc = sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &message);
    const std::string text = message ? message : "";
    sqlite3_free(message);
    sqlite3_close(db);
    if (rc != SQLITE_OK) throw std::runtime_error(text);
}

}  // namespace enginetest
