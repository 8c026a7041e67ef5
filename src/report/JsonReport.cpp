#include "report/JsonReport.h"

#include <fstream>

#include <nlohmann/json.hpp>

#include "engine/Error.h"
#include "engine/Utf8Path.h"
#include "report/ReportText.h"

namespace dbcopy {

namespace {

// Keeps the keys in the order the report documents them.
using json = nlohmann::ordered_json;

json errorJson(const std::optional<RunError>& error) {
    if (!error) return nullptr;
    return {{"code", engine::hexCode(error->code)}, {"description", error->description}};
}

std::string statusName(RunStatus status) {
    switch (status) {
        case RunStatus::Ok:
            return "ok";
        case RunStatus::Partial:
            return "partial";
        case RunStatus::Failed:
            return "failed";
        case RunStatus::Cancelled:
            return "cancelled";
    }
    return {};
}

std::string statusName(TableStatus status) {
    switch (status) {
        case TableStatus::Copied:
            return "copied";
        case TableStatus::Skipped:
            return "skipped";
        case TableStatus::Failed:
            return "failed";
        case TableStatus::NotReached:
            return "not reached";
    }
    return {};
}

json tableJson(const TableSummary& table) {
    return {{"name", table.name},
            {"displayName", table.displayName},
            {"status", statusName(table.status)},
            {"sourceRecords", table.sourceRecords},
            {"copied", table.copied},
            {"targetBefore", table.targetBefore},
            {"targetAfter", table.targetAfter},
            {"verified", table.verified},
            {"skippedFields", table.skippedFields},
            {"error", errorJson(table.error)},
            {"seconds", table.seconds}};
}

// The value-by-value comparison's result: "equal", "different", "missing", or null for a table
// not compared.
json contentJson(const std::optional<TableContent>& content) {
    if (!content) return nullptr;
    switch (content->result) {
        case TableContent::Result::Equal:
            return "equal";
        case TableContent::Result::Different:
            return "different";
        case TableContent::Result::Missing:
            return "missing";
        case TableContent::Result::Skipped:
            break;
    }
    return nullptr;
}

json differenceJson(const std::optional<TableContent>& content) {
    if (!content || !content->first) return nullptr;
    const ContentDifference& first = *content->first;
    return {{"position", first.position},  {"id", first.id},
            {"field", first.field},        {"source", first.sourceValue},
            {"target", first.targetValue}, {"differing", content->differing}};
}

// A table's entry after a value-by-value comparison: with its content and first difference.
json checkedTableJson(const TableSummary& table) {
    json result = tableJson(table);
    result["content"] = contentJson(table.content);
    result["firstDifference"] = differenceJson(table.content);
    return result;
}

json indexJson(const IndexSummary& index) {
    return {{"table", index.table},
            {"name", index.name},
            {"status", index.error ? "failed" : "ok"},
            {"error", errorJson(index.error)},
            {"seconds", index.seconds}};
}

}  // namespace

std::string reportJson(const RunSummary& summary) {
    json tables = json::array();
    for (const TableSummary& table : summary.tables) {
        tables.push_back(summary.contentChecked ? checkedTableJson(table) : tableJson(table));
    }
    json indexes = json::array();
    for (const IndexSummary& index : summary.indexes) indexes.push_back(indexJson(index));
    const json report = {{"source", summary.source},
                         {"target", summary.target},
                         {"started", isoLocalTime(summary.started)},
                         {"finished", isoLocalTime(summary.finished)},
                         {"seconds", summary.seconds},
                         {"status", statusName(summary.status())},
                         {"error", errorJson(summary.error)},
                         {"targetCreated", summary.targetCreated},
                         {"targetEmptied", summary.targetEmptied},
                         {"tables", tables},
                         {"indexes", indexes}};
    // Names from a damaged file may hold bytes that are no UTF-8; they are replaced.
    return report.dump(2, ' ', false, json::error_handler_t::replace) + "\n";
}

bool writeReport(const std::string& path, const RunSummary& summary) {
    std::ofstream file(engine::pathFromUtf8(path), std::ios::binary | std::ios::trunc);
    file << reportJson(summary);
    file.close();
    return static_cast<bool>(file);
}

}  // namespace dbcopy
