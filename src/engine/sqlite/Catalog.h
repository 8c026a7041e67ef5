#pragma once

#include <cstdint>
#include <string>

#include "engine/sqlite/CatalogModel.h"

namespace engine::sqlite {

class Connection;

// Reads and writes the catalog tables that describe a database file's tables, fields,
// indexes and users, and creates the SQLite tables and indexes that hold the records.
class Catalog {
public:
    static constexpr std::int32_t kApplicationId = 0x56444231;
    static constexpr std::int32_t kFormatVersion = 1;
    // The largest size a text field may declare.
    static constexpr std::int32_t kMaxTextSize = 65535;

    // Writes the catalog and empty data tables into a new, empty file, inside the caller's
    // transaction. Ids are taken from data; every index is written live (not pending).
    static void write(Connection& connection, const CatalogData& data);

    // Reads and checks the catalog of an opened file. Throws engine::Error NotADatabase,
    // naming path, when anything does not match what write() produces.
    static CatalogData load(Connection& connection, const std::string& path);

    // Records whether an index's SQLite index is dropped (pending) or live.
    static void setPending(Connection& connection, std::int64_t indexId, bool pending);

    // SQL that creates the SQLite index of index on table's data table.
    static std::string createIndexSql(const TableDef& table, const IndexDef& index);
};

}  // namespace engine::sqlite
