#pragma once

#include <filesystem>

namespace bench {

// How the baseline moves the records from the source's tables into the target's.
enum class BaselineCopy {
    ByColumn,  // INSERT INTO t(a, b, …) SELECT a, b, … : each value decoded, as a field copy must
    WholeRecords,  // INSERT INTO t SELECT * : SQLite moves whole records without decoding them
};

// Copies every record of a plain SQLite source made by writeSqliteSource into a new file with
// the settings our engine's bulk load uses (16 KiB pages, WAL, synchronous=NORMAL, 8 MiB cache,
// log folded back every 512 pages): ATTACH, one INSERT INTO … SELECT per table into tables
// without indexes in one transaction, then the same indexes created, then closed. The target is
// removed afterwards. Returns the seconds from the ATTACH to the close; throws
// std::runtime_error when SQLite fails.
double runSqliteBaseline(const std::filesystem::path& source, const std::filesystem::path& target,
                         BaselineCopy copy);

}  // namespace bench
