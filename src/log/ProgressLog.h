#pragma once

#include <string>
#include <string_view>

namespace dbcopy {

class EventYield;
class LogView;

// The progress log: the one channel through which an import run reports to the user.
class ProgressLog {
public:
    ProgressLog(LogView& view, EventYield& yield);

    // Appends message and CR LF, leaves an empty selection at the very end of the text
    // and lets the event loop run once. Failures of the view are passed on to the caller.
    void AddLog(std::string_view message);

private:
    LogView& m_view;
    EventYield& m_yield;
    std::string m_line;  // the line being written, its buffer kept from one line to the next
};

}  // namespace dbcopy
