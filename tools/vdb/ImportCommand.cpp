#include "vdb/ImportCommand.h"

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <utility>
#include <vector>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Field.h"
#include "engine/Fields.h"
#include "engine/Table.h"
#include "engine/Tables.h"
#include "engine/Utf8Path.h"
#include "engine/sqlite/SqliteEngine.h"
#include "vdb/CommandError.h"
#include "vdb/CsvReader.h"

namespace vdb {

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(engine::pathFromUtf8(path), std::ios::binary);
    if (!in) throw CommandError("Die CSV-Datei " + engine::quoted(path) + " ist nicht lesbar.");
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string lineText(std::int64_t line) {
    return "Zeile " + std::to_string(line);
}

// One CSV column: the field it fills, and that field's name as the table spells it.
struct Column {
    std::shared_ptr<engine::Field> field;
    std::string name;
};

// Appends the records of one CSV file to one table; the caller provides the transaction.
class TableFiller {
public:
    explicit TableFiller(engine::Table& table) : m_table(table) {}

    void operator()(std::int64_t line, const CsvReader::Record& record) {
        if (m_columns.empty()) {
            readHeader(line, record);
        } else {
            append(line, record);
        }
    }

    bool hasHeader() const { return !m_columns.empty(); }
    std::int64_t count() const { return m_count; }

private:
    void readHeader(std::int64_t line, const CsvReader::Record& header) {
        for (const CsvReader::Cell& cell : header) {
            Column next = column(line, cell.value_or(""));
            if (std::any_of(m_columns.begin(), m_columns.end(),
                            [&](const Column& c) { return c.name == next.name; })) {
                throw CommandError(lineText(line) + ": das Feld " + engine::quoted(next.name) +
                                   " steht zweimal in der Kopfzeile.");
            }
            m_columns.push_back(std::move(next));
        }
    }

    Column column(std::int64_t line, const std::string& name) {
        try {
            auto field = m_table.Fields()->Item(engine::Variant(name));
            return {field, field->Name()};
        } catch (const engine::Error& error) {
            if (error.code() != engine::codes::NoSuchField) throw;
            throw CommandError(lineText(line) + ": die Tabelle " + engine::quoted(m_table.Name()) +
                               " hat kein Feld " + engine::quoted(name) + ".");
        }
    }

    void append(std::int64_t line, const CsvReader::Record& record) {
        if (record.size() != m_columns.size()) {
            throw CommandError(lineText(line) + ": " + std::to_string(record.size()) +
                               " Zellen statt " + std::to_string(m_columns.size()) + ".");
        }
        m_table.AddNew(m_table.NewRecordBuffer(0));
        for (std::size_t i = 0; i < record.size(); ++i) setCell(line, m_columns[i], record[i]);
        try {
            m_table.Update(engine::Table::kCursorFlags);
        } catch (const engine::Error& error) {
            throw CommandError(lineText(line) + ": " + errorText(error));
        }
        ++m_count;
    }

    static void setCell(std::int64_t line, const Column& column, const CsvReader::Cell& cell) {
        try {
            column.field->SetValue(value(cell));
        } catch (const engine::Error& error) {
            throw CommandError(lineText(line) + ", Feld " + engine::quoted(column.name) + ": " +
                               errorText(error));
        }
    }

    // No value for an empty unquoted cell, the text otherwise.
    static engine::Variant value(const CsvReader::Cell& cell) {
        return cell ? engine::Variant(*cell) : engine::Variant();
    }

    engine::Table& m_table;
    std::vector<Column> m_columns;  // in CSV order; empty until the header has been read
    std::int64_t m_count = 0;       // records stored so far
};

}  // namespace

void importCommand(const std::string& file, const std::string& table, const std::string& csvFile,
                   const Login& login, std::ostream& out) {
    auto database = openDatabase(file, login, 0);
    auto pTable = database->Tables()->Item(engine::Variant(table));
    const std::string text = readFile(csvFile);
    TableFiller filler(*pTable);
    engine::sqlite::inTransaction(*database, [&] {
        CsvReader::read(text, std::ref(filler));
        if (!filler.hasHeader()) {
            throw CommandError("Die CSV-Datei " + engine::quoted(csvFile) +
                               " hat keine Kopfzeile.");
        }
    });
    out << filler.count() << " Datensätze in Tabelle " << engine::quoted(pTable->Name())
        << " importiert.\n";
}

}  // namespace vdb
