#pragma once

#include <functional>

#include "copy/RecordYield.h"

namespace testsupport {

// Counts both kinds of yield; the hooks run inside the yields, as a window event would.
class CountingYield : public dbcopy::RecordYield {
public:
    void yieldNow() override {
        ++now;
        if (onYieldNow) onYieldNow();
    }
    void yieldPerRecord() override {
        ++perRecord;
        if (onYieldPerRecord) onYieldPerRecord();
    }

    int now = 0;
    int perRecord = 0;
    std::function<void()> onYieldNow;
    std::function<void()> onYieldPerRecord;
};

}  // namespace testsupport
