#pragma once

#include <string>

#include "copy/RunObserver.h"

namespace dbcopy {

class ProgressLog;

// The progress log of one run: writes each line to the log pane, then tells the observers.
class RunLog {
public:
    RunLog(ProgressLog& log, RunObserver& observer) : m_log(log), m_observer(observer) {}

    // Writes message through the progress log, then hands it with its kind to the observer.
    // Failures of the log pass to the caller, and the observer then never sees the line.
    void AddLog(const std::string& message, LineKind kind = LineKind::Plain);

    RunObserver& events() { return m_observer; }

private:
    ProgressLog& m_log;
    RunObserver& m_observer;
};

}  // namespace dbcopy
