#pragma once

#include <cstdint>
#include <random>
#include <string>

#include "engine/Database.h"
#include "engine/sqlite/SqliteEngine.h"

namespace vdb {

// A sample CRM database: the same records for the same record count on every machine.
//   Kunden    N records   indexes "ID" (unique, on ID) and "Name" (on Name, Vorname)
//   Termine   N/2         no index
//   Kontakte  N/4         one index, "KontaktNr" (unique), none named ID
//   Produkte  40          indexes "Bezeichnung" and then "ID" (unique, on ArtikelNr)
// The texts hold German umlauts and ß; some values are left empty, some texts are empty.
class DemoData {
public:
    static inline const std::string kUser = "ADMIN";
    static inline const std::string kPassword = "demo";  // fixed on purpose: sample data only
    static constexpr std::int32_t kProducts = 40;

    // The tables above and the user kUser / kPassword.
    static engine::sqlite::Schema schema();

    // The record count of each table for customers Kunden records, in schema order.
    static std::int32_t recordCount(const std::string& table, std::int32_t customers);

    explicit DemoData(std::int32_t customers) : m_customers(customers) {}

    // Fills the tables of a database made from schema(), opened for writing, in transactions
    // of some thousand records each. Throws engine::Error.
    void fill(engine::Database& database);

private:
    void fillTable(engine::Database& database, const std::string& name);
    engine::VariantArray record(const std::string& table, std::int32_t number);
    engine::VariantArray customer(std::int32_t number);
    engine::VariantArray appointment(std::int32_t number);
    engine::VariantArray contact(std::int32_t number);
    engine::VariantArray product(std::int32_t number);

    std::int32_t below(std::int32_t bound);  // 0 .. bound - 1
    const char* pick(std::initializer_list<const char*> choices);

    std::int32_t m_customers;
    std::mt19937 m_random{20240611};  // fixed seed: the same data on every run
};

}  // namespace vdb
