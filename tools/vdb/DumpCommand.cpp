#include "vdb/DumpCommand.h"

#include <memory>
#include <vector>

#include "engine/DbServer.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "vdb/CsvWriter.h"

namespace vdb {

namespace {

std::vector<std::shared_ptr<engine::Field>> allFields(engine::Table& table) {
    auto fields = table.Fields();
    std::vector<std::shared_ptr<engine::Field>> result;
    for (std::int32_t i = 0; i < fields->Count(); ++i) result.push_back(fields->ItemAt(i));
    return result;
}

// Writes one CSV line, each cell made by cell(field).
template <typename CellWriter>
void writeLine(const std::vector<std::shared_ptr<engine::Field>>& fields, std::ostream& out,
               CellWriter cell) {
    std::string line;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) line += ',';
        cell(line, *fields[i]);
    }
    line += csv_out::kLineEnd;
    out << line;
}

}  // namespace

void dumpCommand(const std::string& file, const std::string& table, const Login& login,
                 std::ostream& out) {
    auto database = openDatabase(file, login, engine::open_flags::ReadOnly);
    auto pTable = database->Tables()->Item(engine::Variant(table));
    const auto fields = allFields(*pTable);
    writeLine(fields, out, [](std::string& line, engine::Field& field) {
        csv_out::appendName(line, field.Name());
    });
    for (pTable->MoveFirst(engine::Table::kCursorFlags); !pTable->Eof();
         pTable->Move(1, engine::Table::kCursorFlags)) {
        writeLine(fields, out, [](std::string& line, engine::Field& field) {
            csv_out::appendCell(line, field.Value());
        });
    }
}

}  // namespace vdb
