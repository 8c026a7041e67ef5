#pragma once

#include "log/EventYield.h"

namespace dbcopy {

// The event-loop yield as the copy uses it: the log's yield after each line, and a cheap one
// after every copied record.
class RecordYield : public EventYield {
public:
    // Called after every copied record; may skip the processing when the last one happened only
    // moments ago, so that the window still answers at about 100 Hz.
    virtual void yieldPerRecord() = 0;
};

}  // namespace dbcopy
