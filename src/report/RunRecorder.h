#pragma once

#include <chrono>

#include "copy/RunObserver.h"
#include "report/RunSummary.h"

namespace dbcopy {

// The one observer that turns a run's events into its summary. A recorder watches any number of
// runs; each runStarted begins a new summary.
class RunRecorder : public RunObserver {
public:
    // The summary of the run last started, complete once that run has returned.
    const RunSummary& summary() const { return m_summary; }

    void runStarted(const std::string& source, const std::string& target) override;
    void lineWritten(const std::string& line, LineKind kind) override;
    void targetCreated() override;
    void targetEmptied() override;
    void tableStarted(const TableStart& table) override;
    void fieldSkipped(const std::string& field) override;
    void tableFinished(std::int32_t copied) override;
    void tableInterrupted(std::int32_t copied) override;
    void tableFailed(const RunError& error) override;
    void tableChecked(const TableCheck& check) override;
    void tableSkipped(const std::string& name) override;
    void tableNotReached(const std::string& name, const std::string& display) override;
    void indexRebuilt(const IndexName& index) override;
    void indexFailed(const IndexName& index, const RunError& error) override;
    void runFinished() override;
    void runFailed(const RunError& error) override;
    void runCancelled() override;

private:
    using Clock = std::chrono::steady_clock;

    TableSummary* currentTable();
    double secondsSinceMark();  // since the last event; moves the mark to now
    void end(RunEnd how);

    RunSummary m_summary;
    Clock::time_point m_start;
    Clock::time_point m_mark;
    Clock::time_point m_tableStart;
};

}  // namespace dbcopy
