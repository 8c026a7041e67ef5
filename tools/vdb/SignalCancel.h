#pragma once

#include <atomic>
#include <csignal>

#include "copy/RunObserver.h"

namespace vdb {

// Turns SIGINT and SIGTERM into a cancel request for one import run while it lives, and puts
// the previous handlers back afterwards. Once the index rebuild has begun, or a request is
// already pending, a further signal is ignored with a one-line note on standard error, so that
// the target keeps whole indexes. Only one may exist at a time.
class SignalCancel : public dbcopy::RunObserver {
public:
    explicit SignalCancel(std::atomic<bool>& cancel);
    ~SignalCancel() override;

    SignalCancel(const SignalCancel&) = delete;
    SignalCancel& operator=(const SignalCancel&) = delete;

    void rebuildStarted() override;

private:
#ifdef _WIN32
    void (*m_oldInterrupt)(int) = nullptr;
    void (*m_oldTerminate)(int) = nullptr;
#else
    struct sigaction m_oldInterrupt {};
    struct sigaction m_oldTerminate {};
#endif
};

}  // namespace vdb
