#pragma once

#include "engine/sqlite/SqliteEngine.h"

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

// The benchmark's data: one large customer table of ten fields and two small tables, the same
// records for our .vdb source and for the plain SQLite baseline.
namespace bench {

struct Customer {
    std::int32_t id = 0;
    std::int16_t level = 0;
    bool active = false;
    std::string texts[6];  // 5 to 60 characters each, with umlauts
    std::int32_t revenue = 0;
};

// Deterministic customers: the same seed gives the same records.
class CustomerGenerator {
public:
    explicit CustomerGenerator(std::uint32_t seed = 20261208);
    Customer next(std::int32_t id);

private:
    std::string text();
    std::mt19937 m_random;
};

inline const std::string kUser = "ADMIN";
inline const std::string kPassword = "bench";
constexpr int kSmallTableRecords = 500;

// The tables in both sources: Kunden (the large one), Termine and Produkte.
std::vector<engine::sqlite::TableSpec> benchTables();

// CREATE TABLE for a plain SQLite table of table's fields, STRICT as our own files keep them.
std::string plainCreateTableSql(const engine::sqlite::TableSpec& table);

// CREATE [UNIQUE] INDEX for each of table's indexes in a plain SQLite file.
std::vector<std::string> plainCreateIndexSql(const engine::sqlite::TableSpec& table);

// A .vdb source with `records` customers and the two small tables, made through our engine.
void writeVdbSource(const std::filesystem::path& file, std::int32_t records);

// The same tables and records in a plain SQLite file, for the baseline.
void writeSqliteSource(const std::filesystem::path& file, std::int32_t records);

}  // namespace bench
