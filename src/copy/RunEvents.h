#pragma once

#include <string>
#include <vector>

#include "copy/RunObserver.h"

namespace dbcopy {

// Hands every event of a run to each observer in the order they were added.
class RunEvents : public RunObserver {
public:
    // Adds an observer; it must outlive the runs it watches.
    void add(RunObserver& observer) { m_observers.push_back(&observer); }

    void runStarted(const std::string& source, const std::string& target) override;
    void sourceOpened(std::int64_t records) override;
    void lineWritten(const std::string& line, LineKind kind) override;
    void targetCreated() override;
    void targetEmptied() override;
    void tableStarted(const TableStart& table) override;
    void fieldSkipped(const std::string& field) override;
    void progress(std::int32_t copied) override;
    void tableFinished(std::int32_t copied) override;
    void tableInterrupted(std::int32_t copied) override;
    void tableFailed(const RunError& error) override;
    void tableChecked(const TableCheck& check) override;
    void tableSkipped(const std::string& name) override;
    void tableNotReached(const std::string& name, const std::string& display) override;
    void rebuildStarted() override;
    void indexRebuilt(const IndexName& index) override;
    void indexFailed(const IndexName& index, const RunError& error) override;
    void runFinished() override;
    void runFailed(const RunError& error) override;
    void runCancelled() override;

private:
    std::vector<RunObserver*> m_observers;
};

}  // namespace dbcopy
