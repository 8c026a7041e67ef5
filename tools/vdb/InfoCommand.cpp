#include "vdb/InfoCommand.h"

#include "engine/DbServer.h"
#include "engine/Error.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/sqlite/SqliteEngine.h"
#include "vdb/CommandLine.h"
#include "vdb/SchemaFile.h"

namespace vdb {

namespace {

using engine::sqlite::FieldSpec;
using engine::sqlite::IndexSpec;
using engine::sqlite::TableSpec;

std::string displayName(const std::string& displayName, const std::string& name) {
    return engine::quoted(displayName.empty() ? name : displayName);
}

void writeField(const FieldSpec& field, std::ostream& out) {
    out << "    " << field.name << ": " << typeName(field.type);
    if (field.type == engine::sqlite::FieldType::Text) out << "(" << field.size << ")";
    out << "\n";
}

void writeIndex(const IndexSpec& index, std::ostream& out) {
    out << "    " << index.name << " " << displayName(index.displayName, index.name) << ": ";
    for (std::size_t i = 0; i < index.fields.size(); ++i) {
        out << (i > 0 ? ", " : "") << index.fields[i];
    }
    out << (index.unique ? " (eindeutig)" : "");
    out << (index.suspended ? ", ausgesetzt – Neuaufbau nötig" : "") << "\n";
}

void writeTable(const TableSpec& table, std::int32_t records, std::ostream& out) {
    out << "Tabelle " << table.name << " " << displayName(table.displayName, table.name) << ", "
        << records << " Datensätze\n";
    out << "  Felder:\n";
    for (const FieldSpec& field : table.fields) writeField(field, out);
    if (table.indexes.empty()) {
        out << "  Indizes: keine\n";
        return;
    }
    out << "  Indizes:\n";
    for (const IndexSpec& index : table.indexes) writeIndex(index, out);
}

bool anySuspended(const engine::sqlite::Schema& schema) {
    for (const TableSpec& table : schema.tables) {
        for (const IndexSpec& index : table.indexes) {
            if (index.suspended) return true;
        }
    }
    return false;
}

}  // namespace

int infoCommand(const std::string& file, const Login& login, std::ostream& out) {
    const engine::sqlite::OpenedFile inspected =
        engine::sqlite::openForInspection(file, login.user, login.password);
    engine::Database& database = *inspected.database;
    const engine::sqlite::Schema schema = engine::sqlite::readSchema(database);
    out << "Datenbank " << engine::quoted(file) << "\n";
    if (inspected.leftMidWrite) {
        out << "Zustand: beim letzten Schreiben nicht sauber geschlossen; gezeigt wird der Stand "
               "ohne die nicht abgeschlossenen Änderungen. „vdb repair DATEI“ stellt die Datei "
               "wieder her.\n";
    }
    out << "Benutzer:";
    for (std::size_t i = 0; i < schema.users.size(); ++i) {
        out << (i > 0 ? ", " : " ") << schema.users[i].name;
    }
    out << "\n";
    auto tables = database.Tables();
    for (const TableSpec& table : schema.tables) {
        writeTable(table, tables->Item(engine::Variant(table.name))->RecordCount(), out);
    }
    const bool needsMending = inspected.leftMidWrite || anySuspended(schema);
    return needsMending ? exit_code::Partial : exit_code::Success;
}

}  // namespace vdb
