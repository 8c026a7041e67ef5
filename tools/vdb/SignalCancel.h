#pragma once

#include <atomic>
#include <memory>

#include "copy/RunObserver.h"

namespace vdb {

// The requests to stop a run that this system knows, as the help names them.
extern const char* const kCancelRequestNames;

// Turns the system's requests to stop into a cancel request for one import run while it lives:
// SIGINT and SIGTERM on POSIX, Ctrl+C, Ctrl+Break and closing the console on Windows (where a
// closing console waits for the run to end). The previous handlers are put back afterwards.
// Once the index rebuild has begun, or a request is already pending, a further request is
// ignored with a one-line note on standard error, so that the target keeps whole indexes.
// Only one may exist at a time.
class SignalCancel : public dbcopy::RunObserver {
public:
    explicit SignalCancel(std::atomic<bool>& cancel);
    ~SignalCancel() override;

    SignalCancel(const SignalCancel&) = delete;
    SignalCancel& operator=(const SignalCancel&) = delete;

    void rebuildStarted() override;

private:
    struct PreviousHandlers;
    std::unique_ptr<PreviousHandlers> m_previous;
};

}  // namespace vdb
