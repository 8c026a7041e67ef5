#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "TestDatabase.h"
#include "engine/sqlite/SqliteEngine.h"

namespace testsupport {

// Kunden (ID int32 with the unique index ID, Name text of nameSize) and Termine (Datum text 10,
// Kunde int32, no index): the two tables of the sample files.
engine::sqlite::TableSpec kundenTable(std::int32_t nameSize = 40);
engine::sqlite::TableSpec termineTable();

// count customers with the IDs first.. and the names "Kunde <ID>".
std::vector<Row> kundenRows(int count, int first = 1);
// count dates, each with its own text and customer number.
std::vector<Row> termineRows(int count);

// Copies of sample files made once per test program, so that each test pays for the
// password hashing of their creation only once.
// A source with 3 customers and 2 dates, login kUser / kPassword.
void copyGoodSource(const std::string& to);
// An empty target with both tables, login kTargetUser / kTargetPassword only.
void copyEmptyTarget(const std::string& to);
// A source with kundenCount customers and terminCount dates, login kUser / kPassword.
void copyLargeSource(const std::string& to, int kundenCount, int terminCount);

}  // namespace testsupport
