#include "vdb/RepairCommand.h"

#include <memory>
#include <vector>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Index.h"
#include "engine/Indexes.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/SqliteEngine.h"
#include "vdb/CommandLine.h"

namespace vdb {

namespace {

using engine::sqlite::IndexSpec;
using engine::sqlite::TableSpec;

// Rebuilds one suspended index, the table's index at position as readSchema lists them;
// returns false when its records still hold a key twice.
bool rebuild(engine::Table& table, std::int32_t position, const IndexSpec& index,
             std::ostream& out) {
    out << "Index " << engine::quoted(index.name) << " der Tabelle " << engine::quoted(table.Name())
        << ": ";
    try {
        table.Indexes()->ItemAt(position)->Rebuild();
    } catch (const engine::Error& error) {
        if (error.code() != engine::codes::DuplicateKey) throw;
        out << "bleibt ausgesetzt. " << errorText(error) << "\n";
        return false;
    }
    out << "neu aufgebaut.\n";
    return true;
}

// Rebuilds every suspended index; returns how many stay suspended.
int rebuildSuspended(engine::Database& database, std::ostream& out) {
    int suspended = 0;
    int rebuilt = 0;
    for (const TableSpec& definition : engine::sqlite::readSchema(database).tables) {
        const auto table = database.Tables()->Item(engine::Variant(definition.name));
        for (std::size_t position = 0; position < definition.indexes.size(); ++position) {
            const IndexSpec& index = definition.indexes[position];
            if (!index.suspended) continue;
            if (rebuild(*table, static_cast<std::int32_t>(position), index, out)) {
                ++rebuilt;
            } else {
                ++suspended;
            }
        }
    }
    if (rebuilt == 0 && suspended == 0) out << "Kein Index war ausgesetzt.\n";
    return suspended;
}

// Writes the integrity check's result; returns whether the file is sound.
bool checkIntegrity(engine::Database& database, std::ostream& out) {
    const std::vector<std::string> problems = engine::sqlite::checkIntegrity(database);
    if (problems.empty()) {
        out << "Integritätsprüfung: ok\n";
        return true;
    }
    out << "Integritätsprüfung: die Datei ist beschädigt:\n";
    for (const std::string& problem : problems) out << "  " << problem << "\n";
    return false;
}

}  // namespace

int repairCommand(const std::string& file, const Login& login, std::ostream& out) {
    const engine::sqlite::OpenedFile opened =
        engine::sqlite::openForRepair(file, login.user, login.password);
    out << "Datenbank " << engine::quoted(file) << "\n";
    if (opened.leftMidWrite) {
        out << "Die Datei war beim letzten Schreiben nicht sauber geschlossen und ist "
               "wiederhergestellt.\n";
    }
    const int suspended = rebuildSuspended(*opened.database, out);
    if (!checkIntegrity(*opened.database, out)) return exit_code::Failure;
    if (suspended > 0) {
        out << "Ergebnis: " << suspended << (suspended == 1 ? " Index bleibt" : " Indizes bleiben")
            << " ausgesetzt, weil Schlüssel mehrfach vorkommen.\n";
        return exit_code::Partial;
    }
    out << "Ergebnis: die Datei ist vollständig, jeder Index ist aufgebaut.\n";
    return exit_code::Success;
}

}  // namespace vdb
