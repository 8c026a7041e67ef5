#include "verify/ContentLines.h"

#include <algorithm>

namespace dbcopy {

namespace {

std::string records(std::int64_t count) {
    return std::to_string(count) + (count == 1 ? " Datensatz" : " Datensätze");
}

std::string differenceText(const TableContent& table) {
    std::string text = "abweichend – " + records(table.differing);
    if (!table.first) return text;
    const ContentDifference& first = *table.first;
    text += ", zuerst Nr. " + std::to_string(first.position);
    if (!first.id.empty()) text += " (ID " + first.id + ")";
    return text + ", Feld " + first.field + ": " + first.targetValue + " statt " +
           first.sourceValue;
}

std::string resultText(const TableContent& table) {
    switch (table.result) {
        case TableContent::Result::Equal:
            return "gleich (" + records(table.compared) + ")";
        case TableContent::Result::Different:
            return differenceText(table);
        case TableContent::Result::Missing:
            return "fehlt – " + records(table.missing) + " weniger in der Ziel-DB";
        case TableContent::Result::Skipped:
            break;
    }
    return "übersprungen (in der Ziel-DB nicht vorhanden)";
}

}  // namespace

std::string contentHeadLine() {
    return "Prüfe Kopie Wert für Wert";
}

std::vector<std::string> contentTableLines(const TableContent& table) {
    std::vector<std::string> lines;
    for (const std::string& field : table.sourceOnlyFields) {
        lines.push_back(table.displayName + ": Feld " + field +
                        " nur in der Quelle, nicht verglichen.");
    }
    for (const std::string& field : table.targetOnlyFields) {
        lines.push_back(table.displayName + ": Feld " + field +
                        " nur in der Ziel-DB, nicht verglichen.");
    }
    lines.push_back(table.displayName + ": " + resultText(table));
    return lines;
}

std::int64_t differingTables(const std::vector<TableContent>& tables) {
    return std::count_if(tables.begin(), tables.end(), [](const TableContent& table) {
        return table.result == TableContent::Result::Different ||
               table.result == TableContent::Result::Missing;
    });
}

std::string contentTotalLine(const std::vector<TableContent>& tables) {
    const std::int64_t differing = differingTables(tables);
    if (differing == 0) return "Prüfung abgeschlossen: alles gleich.";
    return "Prüfung abgeschlossen: " + std::to_string(differing) +
           (differing == 1 ? " Tabelle" : " Tabellen") + " abweichend.";
}

std::string contentAbortedLine() {
    return "Prüfung abgebrochen.";
}

}  // namespace dbcopy
