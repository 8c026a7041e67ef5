#pragma once

#include <string>
#include <vector>

#include "engine/Variant.h"
#include "engine/sqlite/SqliteEngine.h"

// Real .vdb files for tests, made and read through our own engine.
namespace testsupport {

inline const std::string kUser = "ADMIN";
inline const std::string kPassword = "geheim";

using Row = std::vector<engine::Variant>;  // one value per field, in field order

// A new database file with these tables and the user kUser / kPassword.
void createVdb(const std::string& path, const std::vector<engine::sqlite::TableSpec>& tables);

// Appends rows to a table through the engine interface, field by field in field order, in one
// transaction: all rows or, when one is refused, none.
void appendRows(const std::string& path, const std::string& table, const std::vector<Row>& rows);

// Every record of a table in insertion order, one value per field in field order.
std::vector<Row> readRows(const std::string& path, const std::string& table);

}  // namespace testsupport
