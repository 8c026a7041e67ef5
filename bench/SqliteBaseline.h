#pragma once

#include <filesystem>

namespace bench {

// Copies every record of a plain SQLite source made by writeSqliteSource into a new file, the
// fastest honest way SQLite offers: ATTACH, one INSERT INTO ... SELECT per table into tables
// without indexes, then the same indexes created; WAL and synchronous=NORMAL.
// Returns the seconds the copy took, index creation included.
double runSqliteBaseline(const std::filesystem::path& source, const std::filesystem::path& target);

}  // namespace bench
