#include "vdb/DemoCommand.h"

#include <filesystem>
#include <system_error>

#include "engine/Error.h"
#include "engine/Utf8Path.h"
#include "vdb/DemoData.h"
#include "vdb/Login.h"

namespace vdb {

namespace {

void createAndFill(const std::string& file, std::int32_t customers) {
    const auto schema = DemoData::schema();
    engine::sqlite::createDatabase(file, schema);
    try {
        auto database = openDatabase(file, {DemoData::kUser, DemoData::kPassword}, 0);
        DemoData(customers).fill(*database);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(engine::pathFromUtf8(file), ignored);
        throw;
    }
}

}  // namespace

void demoCommand(const std::string& file, std::int32_t customers, std::ostream& out) {
    createAndFill(file, customers);
    out << "Demodatenbank " << engine::quoted(file) << " angelegt.\n";
    for (const auto& table : DemoData::schema().tables) {
        out << "  " << table.name << ": " << DemoData::recordCount(table.name, customers)
            << " Datensätze\n";
    }
    out << "Benutzer: " << DemoData::kUser << ", Kennwort: " << DemoData::kPassword
        << " (festes Kennwort aller Demodatenbanken)\n";
}

}  // namespace vdb
