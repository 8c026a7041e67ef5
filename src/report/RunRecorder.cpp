#include "report/RunRecorder.h"

#include <utility>

#include "copy/RunErrorCodes.h"

namespace dbcopy {

namespace {

double secondsBetween(std::chrono::steady_clock::time_point from,
                      std::chrono::steady_clock::time_point to) {
    return std::chrono::duration<double>(to - from).count();
}

}  // namespace

void RunRecorder::runStarted(const std::string& source, const std::string& target) {
    m_summary = RunSummary{};
    m_summary.source = source;
    m_summary.target = target;
    m_summary.started = std::chrono::system_clock::now();
    m_summary.finished = m_summary.started;
    m_start = m_mark = m_tableStart = Clock::now();
}

void RunRecorder::lineWritten(const std::string& /*line*/, LineKind /*kind*/) {
    m_mark = Clock::now();
    m_summary.finished = std::chrono::system_clock::now();
    m_summary.seconds = secondsBetween(m_start, m_mark);
}

void RunRecorder::targetCreated() {
    m_summary.targetCreated = true;
}

void RunRecorder::targetEmptied() {
    m_summary.targetEmptied = true;
}

void RunRecorder::tableStarted(const TableStart& table) {
    TableSummary summary;
    summary.name = table.name;
    summary.displayName = table.displayName;
    summary.status = TableStatus::Copied;
    summary.sourceRecords = table.sourceRecords;
    summary.targetBefore = table.targetBefore;
    m_summary.tables.push_back(std::move(summary));
    m_tableStart = Clock::now();
}

void RunRecorder::fieldSkipped(const std::string& field) {
    if (TableSummary* table = currentTable()) table->skippedFields.push_back(field);
}

void RunRecorder::tableFinished(std::int32_t copied) {
    if (TableSummary* table = currentTable()) table->copied = copied;
}

void RunRecorder::tableInterrupted(std::int32_t copied) {
    if (TableSummary* table = currentTable()) {
        table->copied = copied;
        table->status = TableStatus::Failed;
        table->error = RunError{codes::Cancelled, "Der Import wurde abgebrochen."};
    }
}

void RunRecorder::tableFailed(const RunError& error) {
    if (TableSummary* table = currentTable()) {
        table->status = TableStatus::Failed;
        table->error = error;
    }
}

void RunRecorder::tableChecked(const TableCheck& check) {
    TableSummary* table = currentTable();
    if (!table) return;
    table->targetAfter = check.actual;
    const bool agrees = check.actual >= 0 && check.actual == check.expected;
    table->verified = check.compared && agrees;
    table->checkFailed = check.compared && !agrees;
    table->seconds = secondsBetween(m_tableStart, Clock::now());
}

void RunRecorder::tableSkipped(const std::string& name) {
    TableSummary table;
    table.name = name;
    table.displayName = name;
    table.status = TableStatus::Skipped;
    m_summary.tables.push_back(std::move(table));
}

void RunRecorder::tableNotReached(const std::string& name, const std::string& display) {
    TableSummary table;
    table.name = name;
    table.displayName = display;
    table.status = TableStatus::NotReached;
    m_summary.tables.push_back(std::move(table));
}

void RunRecorder::indexRebuilt(const IndexName& index) {
    m_summary.indexes.push_back({index.table, index.index, std::nullopt, secondsSinceMark()});
}

void RunRecorder::indexFailed(const IndexName& index, const RunError& error) {
    m_summary.indexes.push_back({index.table, index.index, error, secondsSinceMark()});
}

void RunRecorder::runFinished() {
    end(RunEnd::Finished);
}

void RunRecorder::runFailed(const RunError& error) {
    m_summary.error = error;
    end(RunEnd::Failed);
}

void RunRecorder::runCancelled() {
    end(RunEnd::Cancelled);
}

TableSummary* RunRecorder::currentTable() {
    if (m_summary.tables.empty()) return nullptr;
    return &m_summary.tables.back();
}

double RunRecorder::secondsSinceMark() {
    const Clock::time_point now = Clock::now();
    const double seconds = secondsBetween(m_mark, now);
    m_mark = now;
    return seconds;
}

void RunRecorder::end(RunEnd how) {
    m_summary.end = how;
    m_summary.finished = std::chrono::system_clock::now();
    m_summary.seconds = secondsBetween(m_start, Clock::now());
}

}  // namespace dbcopy
