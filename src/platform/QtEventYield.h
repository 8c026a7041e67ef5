#pragma once

#include <chrono>
#include <functional>

#include "copy/RecordYield.h"

namespace dbcopy {

// Lets the Qt event loop run during an import on the GUI thread.
class QtEventYield : public RecordYield {
public:
    using Clock = std::function<std::chrono::steady_clock::time_point()>;

    // How long yieldPerRecord lets pass between two rounds of event processing (100 Hz).
    static constexpr std::chrono::milliseconds kRecordInterval{10};

    // now tells the time; tests pass a clock of their own.
    explicit QtEventYield(Clock now = [] { return std::chrono::steady_clock::now(); });

    // Processes every pending event.
    void yieldNow() override;

    // Processes every pending event when at least kRecordInterval has passed since events were
    // last processed; otherwise returns at once, so that a copied record costs next to nothing.
    void yieldPerRecord() override;

private:
    Clock m_now;
    std::chrono::steady_clock::time_point m_lastProcessed{};  // the epoch: never processed
};

}  // namespace dbcopy
