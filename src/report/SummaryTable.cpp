#include "report/SummaryTable.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "engine/Error.h"

namespace dbcopy {

namespace {

std::string errorText(const RunError& error) {
    return engine::errorText(error.code, error.description);
}
using Row = std::vector<std::string>;
constexpr std::size_t kContentColumn = 6;  // "Inhalt", after "Geprüft", only after a comparison

std::string tableStatusWord(TableStatus status) {
    switch (status) {
        case TableStatus::Copied:
            return "kopiert";
        case TableStatus::Skipped:
            return "übersprungen";
        case TableStatus::Failed:
            return "fehlgeschlagen";
        case TableStatus::NotReached:
            return "nicht erreicht";
    }
    return {};
}

// Seconds with two decimals and a decimal comma.
std::string secondsText(double seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", seconds);
    std::string result = text;
    for (char& c : result) {
        if (c == '.') c = ',';
    }
    return result;
}

// Characters, not bytes, so that umlauts line up.
std::size_t displayWidth(const std::string& text) {
    std::size_t width = 0;
    for (const char c : text) {
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++width;
    }
    return width;
}

std::string contentWord(const std::optional<TableContent>& content) {
    if (!content) return "–";
    switch (content->result) {
        case TableContent::Result::Equal:
            return "gleich";
        case TableContent::Result::Different:
            return "abweichend";
        case TableContent::Result::Missing:
            return "fehlt";
        case TableContent::Result::Skipped:
            break;
    }
    return "–";
}

Row tableRow(const TableSummary& table) {
    const bool counted = table.status == TableStatus::Copied || table.status == TableStatus::Failed;
    const auto number = [counted](std::int32_t value) {
        return counted ? std::to_string(value) : std::string("-");
    };
    return {table.displayName,
            number(table.sourceRecords),
            number(table.copied),
            number(table.targetBefore),
            number(table.targetAfter),
            table.verified ? "ja" : "nein",
            tableStatusWord(table.status),
            counted ? secondsText(table.seconds) : "-"};
}

std::string formatRow(const Row& row, const std::vector<std::size_t>& widths) {
    std::string line;
    for (std::size_t column = 0; column < row.size(); ++column) {
        const std::string padding(widths[column] - displayWidth(row[column]), ' ');
        // The name is left-aligned, every other column right-aligned.
        line += column == 0 ? row[column] + padding : padding + row[column];
        if (column + 1 < row.size()) line += "  ";
    }
    return line;
}

std::vector<std::string> tableLines(const RunSummary& summary) {
    std::vector<Row> rows = {{"Tabelle", "Quelle", "Kopiert", "Ziel vorher", "Ziel nachher",
                              "Geprüft", "Status", "Sekunden"}};
    for (const TableSummary& table : summary.tables) rows.push_back(tableRow(table));
    if (summary.contentChecked) {
        rows[0].insert(rows[0].begin() + kContentColumn, "Inhalt");
        for (std::size_t row = 1; row < rows.size(); ++row) {
            rows[row].insert(rows[row].begin() + kContentColumn,
                             contentWord(summary.tables[row - 1].content));
        }
    }
    std::vector<std::size_t> widths(rows[0].size());
    for (const Row& row : rows) {
        for (std::size_t column = 0; column < row.size(); ++column) {
            widths[column] = std::max(widths[column], displayWidth(row[column]));
        }
    }
    std::vector<std::string> lines;
    for (const Row& row : rows) lines.push_back(formatRow(row, widths));
    return lines;
}

std::string totalLine(const RunSummary& summary) {
    const std::int64_t records = summary.recordsCopied();
    double copying = 0;  // the tables' own time, without opening, creating and rebuilding
    for (const TableSummary& table : summary.tables) copying += table.seconds;
    const double perSecond = copying > 0 ? static_cast<double>(records) / copying : 0.0;
    return "Gesamt: " + std::to_string(records) + " Datensätze, Lauf " +
           secondsText(summary.seconds) + " s, davon Kopieren " + secondsText(copying) + " s (" +
           std::to_string(static_cast<std::int64_t>(perSecond)) + " Datensätze/s)";
}

}  // namespace

std::string statusWord(RunStatus status) {
    switch (status) {
        case RunStatus::Ok:
            return "erfolgreich";
        case RunStatus::Partial:
            return "teilweise";
        case RunStatus::Failed:
            return "fehlgeschlagen";
        case RunStatus::Cancelled:
            return "abgebrochen";
    }
    return {};
}

std::vector<std::string> summaryTable(const RunSummary& summary) {
    std::vector<std::string> lines = tableLines(summary);
    for (const IndexSummary& index : summary.indexes) {
        if (!index.error) continue;
        lines.push_back("Index " + index.name + " der Tabelle " + index.table +
                        ": fehlgeschlagen (" + errorText(*index.error) + ")");
    }
    lines.push_back(totalLine(summary));
    std::string result = "Ergebnis: " + statusWord(summary.status());
    if (summary.error) result += " (" + errorText(*summary.error) + ")";
    lines.push_back(result);
    return lines;
}

}  // namespace dbcopy
