#include "vdb/SignalCancel.h"

#include <unistd.h>

#include <cstring>

namespace vdb {

namespace {

std::atomic<bool>* g_cancel = nullptr;
std::atomic<bool> g_rebuilding{false};

void writeNote(const char* note) {
    // write() is safe in a signal handler; a note that does not arrive is no loss.
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, note, std::strlen(note));
}

void onSignal(int) {
    if (g_rebuilding.load()) {
        writeNote(
            "vdb: Die Indizes werden aufgebaut; der Abbruch wird ignoriert, damit die "
            "Zieldatenbank vollständig bleibt.\n");
    } else if (g_cancel->exchange(true)) {
        writeNote("vdb: Der Import wird bereits abgebrochen.\n");
    }
}

}  // namespace

SignalCancel::SignalCancel(std::atomic<bool>& cancel) {
    g_cancel = &cancel;
    g_rebuilding.store(false);
    struct sigaction action {};
    action.sa_handler = onSignal;
    action.sa_flags = SA_RESTART;  // the output in progress goes on instead of failing
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, &m_oldInterrupt);
    sigaction(SIGTERM, &action, &m_oldTerminate);
}

SignalCancel::~SignalCancel() {
    sigaction(SIGINT, &m_oldInterrupt, nullptr);
    sigaction(SIGTERM, &m_oldTerminate, nullptr);
    g_cancel = nullptr;
}

void SignalCancel::rebuildStarted() {
    g_rebuilding.store(true);
}

}  // namespace vdb
