#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/Database.h"
#include "engine/Variant.h"
#include "engine/sqlite/SqliteEngine.h"

// Database files and helpers shared by the engine tests.
namespace enginetest {

// Kunden: ID int32 (unique index "ID"), Name text(20) (index "NameIdx", display "Nach Name"),
// Aktiv bool, Stufe int16. Leer: one text field, no index.
std::vector<engine::sqlite::TableSpec> standardTables();

// Opens path as the test user with flags.
std::shared_ptr<engine::Database> openDb(const std::string& path, std::int32_t flags = 0x30010);

// Reads every record of every table, field by field, as the copy does with a source.
void readAll(engine::Database& database);

// The engine error code that work raises; 0 when it raises none.
std::int32_t codeOf(const std::function<void()>& work);

// Runs SQL on a file with plain SQLite, bypassing the engine (to damage files on purpose).
void rawSql(const std::string& path, const std::string& sql);

}  // namespace enginetest
