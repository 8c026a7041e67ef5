#pragma once

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>

#include "copy/RunObserver.h"

namespace vdb {

// A one-line progress display on a terminal: the table, the percent of all records, records
// per second and the time left, redrawn at most ten times a second.
class ProgressDisplay : public dbcopy::RunObserver {
public:
    explicit ProgressDisplay(std::ostream& terminal) : m_terminal(terminal) {}

    // The records of every source table together; while it is 0 (unknown or not yet told) the
    // percent refers to the current table.
    void sourceOpened(std::int64_t records) override { m_total = records; }
    void tableStarted(const dbcopy::TableStart& table) override;
    void progress(std::int32_t copied) override;
    void tableFinished(std::int32_t copied) override;

    // Removes the display, so that a log line can take its place.
    void clear();

private:
    using Clock = std::chrono::steady_clock;

    void draw();

    std::ostream& m_terminal;
    std::int64_t m_total = 0;
    std::int64_t m_done = 0;  // records of the tables finished before the current one
    std::int32_t m_copied = 0;
    std::int32_t m_tableRecords = 0;
    std::string m_table;
    bool m_shown = false;
    Clock::time_point m_start = Clock::now();
    Clock::time_point m_lastDraw;
};

}  // namespace vdb
