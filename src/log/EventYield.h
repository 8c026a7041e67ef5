#pragma once

namespace dbcopy {

// Lets the window's event loop run in the middle of a long import on the GUI thread.
class EventYield {
public:
    virtual ~EventYield() = default;

    // Processes every pending event now (after each log line).
    virtual void yieldNow() = 0;

    // Called after every copied record; may skip the processing when the last one
    // happened only moments ago, so that the window still answers at about 100 Hz.
    virtual void yieldPerRecord() = 0;
};

}  // namespace dbcopy
