#include "vdb/CompareCommand.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <system_error>

#include "copy/SameFile.h"
#include "engine/Database.h"
#include "engine/DbServer.h"
#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/Utf8Path.h"
#include "vdb/CommandError.h"
#include "vdb/CommandLine.h"
#include "vdb/CopyPlatform.h"
#include "vdb/SchemaFile.h"
#include "vdb/TablePrediction.h"
#include "verify/ContentLines.h"
#include "verify/CopyCheck.h"
#include "verify/FindTable.h"

namespace vdb {

namespace {

using engine::sqlite::FieldType;
using engine::sqlite::Refusal;

std::string counted(std::int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string placeText(const RecordPlace& place) {
    std::string text = "Datensatz " + std::to_string(place.position);
    if (!place.id.empty()) text += " (ID " + place.id + ")";
    return text;
}

std::string reasonText(const RefusedValues& refused) {
    switch (refused.reason) {
        case Refusal::TooLong:
            return "länger als " + std::to_string(refused.target.size) + " Zeichen";
        case Refusal::OutOfRange:
            return refused.target.type == FieldType::Int16
                       ? "außerhalb von -32768 bis 32767"
                       : "außerhalb von -2147483648 bis 2147483647";
        case Refusal::InvalidText:
            return "kein gültiger Unicode-Text";
        default:
            return "passt nicht zum Feldtyp " + typeName(refused.target.type);
    }
}

// One comparison of an open source with an open target, writing its lines as it goes.
class Comparison {
public:
    Comparison(engine::Database& source, engine::Database& target, bool deleteTarget,
               std::ostream& out)
        : m_source(source),
          m_target(target),
          m_targetSchema(engine::sqlite::readSchema(target)),
          m_deleteTarget(deleteTarget),
          m_out(out) {}

    void run() {
        if (m_deleteTarget) m_out << "Ziel-DB: alle Tabellen würden vorher geleert.\n";
        const auto sourceTables = m_source.Tables();
        for (std::int32_t position = 0; position < sourceTables->Count(); ++position) {
            compareTable(sourceTables->ItemAt(position));
        }
        listTargetOnlyTables(*sourceTables);
    }

    bool anythingRefused() const { return m_refusedValues > 0 || m_duplicateKeys > 0; }

    void writeResult() const {
        if (!anythingRefused()) {
            m_out << "Ergebnis: nichts würde abgewiesen.\n";
            return;
        }
        m_out << "Ergebnis: " << counted(m_refusedValues, "Wert würde", "Werte würden")
              << " abgewiesen, " << counted(m_duplicateKeys, "Schlüssel wäre", "Schlüssel wären")
              << " doppelt.\n";
    }

private:
    void compareTable(const std::shared_ptr<engine::Table>& source) {
        const std::string name = source->Name();
        const auto target = dbcopy::findTable(*m_target.Tables(), name);
        if (!target) {
            m_out << "Tabelle " << name << ": in der Ziel-DB nicht vorhanden, wird übersprungen.\n";
            return;
        }
        const std::string targetName = target->Name();
        m_out << "Tabelle " << name << ": wird in Tabelle " << targetName << " kopiert, "
              << counted(source->RecordCount(), "Datensatz", "Datensätze") << ".\n";
        writeFindings(name,
                      predictTable(source, *target, targetSchema(targetName), m_deleteTarget));
    }

    const engine::sqlite::TableSpec& targetSchema(const std::string& name) const {
        for (const auto& table : m_targetSchema.tables) {
            if (table.name == name) return table;
        }
        throw CommandError("Tabelle " + name + " fehlt im Schema der Ziel-DB.");
    }

    void writeFindings(const std::string& table, const TablePrediction& prediction) {
        for (const std::string& field : prediction.skippedFields) {
            m_out << "Feld " << table << "." << field
                  << ": in der Ziel-DB nicht vorhanden, wird übersprungen.\n";
        }
        for (const RefusedValues& refused : prediction.refused) {
            m_out << "Feld " << table << "." << refused.field << ": "
                  << counted(refused.count, "Wert", "Werte") << " abgewiesen ("
                  << reasonText(refused) << "), erster bei " << placeText(refused.first) << ".\n";
            m_refusedValues += refused.count;
        }
        for (const DuplicateKeys& duplicates : prediction.duplicates) {
            writeDuplicates(table, duplicates);
            m_duplicateKeys += duplicates.count + duplicates.inTarget;
        }
    }

    void writeDuplicates(const std::string& table, const DuplicateKeys& duplicates) {
        const std::string index = "Index " + table + "." + duplicates.index + ": ";
        if (duplicates.inTarget > 0) {
            m_out << index << counted(duplicates.inTarget, "Datensatz", "Datensätze")
                  << " der Ziel-DB mit schon vorhandenem Schlüssel (eindeutiger Index).\n";
        }
        if (duplicates.count > 0) {
            m_out << index << counted(duplicates.count, "Schlüssel", "Schlüssel")
                  << " doppelt (eindeutiger Index), erster bei " << placeText(duplicates.first)
                  << ".\n";
        }
    }

    void listTargetOnlyTables(engine::Tables& sourceTables) {
        for (const auto& table : m_targetSchema.tables) {
            if (dbcopy::findTable(sourceTables, table.name)) continue;
            m_out << "Tabelle " << table.name << ": nur in der Ziel-DB"
                  << (m_deleteTarget ? ", wird geleert.\n" : ".\n");
        }
    }

    engine::Database& m_source;
    engine::Database& m_target;
    const engine::sqlite::Schema m_targetSchema;
    const bool m_deleteTarget;
    std::ostream& m_out;
    std::int64_t m_refusedValues = 0;
    std::int64_t m_duplicateKeys = 0;
};

// The value-by-value comparison of a copy already made, a line per table as it ends.
int compareData(engine::Database& source, engine::Database& target, std::ostream& out) {
    NoYield yield;
    const auto tables = dbcopy::writeContentComparison(
        source, target, yield, [&out](const std::string& line) { out << line << "\n"; });
    return dbcopy::differingTables(tables) == 0 ? exit_code::Success : exit_code::Partial;
}

bool fileExists(const std::string& path) {
    std::error_code ignored;
    return std::filesystem::is_regular_file(engine::pathFromUtf8(path), ignored);
}

}  // namespace

int compareCommand(const CompareRequest& request, std::ostream& out) {
    if (dbcopy::isSameFile(request.source, request.target)) {
        throw CommandError("Quell- und Zieldatenbank sind dieselbe Datei.");
    }
    const auto source =
        openDatabase(request.source, request.sourceLogin, engine::open_flags::ReadOnly);
    if (!request.data && !fileExists(request.target)) {
        out << "Ziel-DB " << engine::quoted(request.target)
            << " nicht vorhanden: sie würde aus der Quelle angelegt, kein Wert würde "
               "abgewiesen.\n";
        out << "Ergebnis: nichts würde abgewiesen.\n";
        return exit_code::Success;
    }
    const auto target =
        openDatabase(request.target, request.targetLogin, engine::open_flags::ReadOnly);
    Comparison comparison(*source, *target, request.deleteTarget, out);
    comparison.run();
    comparison.writeResult();
    if (request.data) return compareData(*source, *target, out);
    return comparison.anythingRefused() ? exit_code::Partial : exit_code::Success;
}

}  // namespace vdb
