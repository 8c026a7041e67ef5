#pragma once

namespace dbcopy {

// Lets the window's event loop run in the middle of a long import on the GUI thread.
class EventYield {
public:
    virtual ~EventYield() = default;

    // Processes every pending event now (after each log line).
    virtual void yieldNow() = 0;
};

}  // namespace dbcopy
