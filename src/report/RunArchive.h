#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "copy/RunObserver.h"
#include "report/LogFile.h"
#include "report/RunSummary.h"

namespace dbcopy {

// Keeps a log file and a report of every run in one folder, named after the run's start
// ("2026-12-08_17-45-01.log" and ".json"), and only the newest runs. Nothing that fails here
// disturbs a run: each failure is told once per run through the handler.
class RunArchive : public RunObserver {
public:
    static constexpr std::size_t kKeptRuns = 100;

    // folder is made when a run starts and it is missing.
    RunArchive(std::string folder, LogFile::FailureHandler onFailure);
    ~RunArchive() override;

    // Opens the new run's log file.
    void runStarted(const std::string& source, const std::string& target) override;
    void lineWritten(const std::string& line, LineKind kind) override;

    // Ends the run's files: the summary at the end of the log file, the report beside it; then
    // removes the files of all but the newest kKeptRuns runs. Never throws but std::bad_alloc.
    void finish(const RunSummary& summary);

    // Adds the lines of a check made after the finished run to the end of its log file, each
    // with its time, and writes its report again from summary. Failures are told as in a run.
    void appendCheck(const std::vector<std::string>& lines, const RunSummary& summary);

private:
    void writeReport(const RunSummary& summary);
    std::string newStem() const;
    void prune() const;
    void tell(const std::string& message);

    std::string m_folder;
    LogFile::FailureHandler m_onFailure;
    std::unique_ptr<LogFile> m_log;
    std::string m_logPath;
    bool m_told = false;  // this run's failure was told already
};

}  // namespace dbcopy
