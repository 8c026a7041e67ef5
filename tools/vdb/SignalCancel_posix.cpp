#include "vdb/SignalCancel.h"

#include <signal.h>
#include <unistd.h>

#include <cstring>

#include "vdb/CancelRequest.h"

namespace vdb {

const char* const kCancelRequestNames = "Strg+C oder SIGTERM";

struct SignalCancel::PreviousHandlers {
    struct sigaction interrupt {};
    struct sigaction terminate {};
};

namespace {

void onSignal(int) {
    const char* note = requestCancel();
    if (note == nullptr) return;
    // write() is safe in a signal handler; a note that does not arrive is no loss.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, note, std::strlen(note));
}

}  // namespace

SignalCancel::SignalCancel(std::atomic<bool>& cancel)
    : m_previous(std::make_unique<PreviousHandlers>()) {
    armCancelRequests(cancel);
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;  // the output in progress goes on instead of failing
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_previous->interrupt);
    sigaction(SIGTERM, &action, &m_previous->terminate);
}

SignalCancel::~SignalCancel() {
    sigaction(SIGINT, &m_previous->interrupt, nullptr);
    sigaction(SIGTERM, &m_previous->terminate, nullptr);
    disarmCancelRequests();
}

void SignalCancel::rebuildStarted() {
    cancelRequestsIgnored();
}

}  // namespace vdb
