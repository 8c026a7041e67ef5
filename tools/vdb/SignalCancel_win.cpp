#include "vdb/SignalCancel.h"

#include <windows.h>

#include <cstring>

#include "vdb/CancelRequest.h"

namespace vdb {

const char* const kCancelRequestNames = "Strg+C, Strg+Pause oder das Schließen der Konsole";

struct SignalCancel::PreviousHandlers {};

namespace {

// Runs on a thread of its own that the system starts for each console event.
BOOL WINAPI onConsoleEvent(DWORD event) {
    switch (event) {
        case CTRL_C_EVENT:
        case CTRL_BREAK_EVENT:
        case CTRL_CLOSE_EVENT:
            break;
        default:
            return FALSE;  // logoff and shutdown: the system's own handling
    }
    if (const char* note = requestCancel()) {
        DWORD written = 0;
        ::WriteFile(::GetStdHandle(STD_ERROR_HANDLE), note, static_cast<DWORD>(std::strlen(note)),
                    &written, nullptr);
    }
    // The system ends the process as soon as the handler of a closing console returns: the run
    // gets the time until then to finish the table's last line and rebuild the indexes.
    if (event == CTRL_CLOSE_EVENT) waitUntilDisarmed();
    return TRUE;
}

}  // namespace

SignalCancel::SignalCancel(std::atomic<bool>& cancel)
    : m_previous(std::make_unique<PreviousHandlers>()) {
    armCancelRequests(cancel);
    ::SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

SignalCancel::~SignalCancel() {
    ::SetConsoleCtrlHandler(onConsoleEvent, FALSE);
    disarmCancelRequests();
}

void SignalCancel::rebuildStarted() {
    cancelRequestsIgnored();
}

}  // namespace vdb
