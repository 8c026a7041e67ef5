#pragma once

#include <QCoreApplication>

#include <functional>

#include "copy/RecordYield.h"

namespace testsupport {

// A yield that first calls the test's hook (to look at the window in the middle of a run, or to
// send it a close request) and then processes the pending events.
class RecordingYield : public dbcopy::RecordYield {
public:
    void yieldNow() override { yield(); }
    void yieldPerRecord() override { yield(); }

    std::function<void()> onYield;
    int calls = 0;

private:
    void yield() {
        ++calls;
        if (onYield) onYield();
        QCoreApplication::processEvents();
    }
};

}  // namespace testsupport
