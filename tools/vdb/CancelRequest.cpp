#include "vdb/CancelRequest.h"

namespace vdb {

namespace {

std::atomic<std::atomic<bool>*> g_cancel{nullptr};
std::atomic<int> g_requestsInFlight{0};
std::atomic<bool> g_ignored{false};

static_assert(std::atomic<std::atomic<bool>*>::is_always_lock_free);
static_assert(std::atomic<int>::is_always_lock_free);

}  // namespace

void armCancelRequests(std::atomic<bool>& cancel) noexcept {
    g_ignored.store(false);
    g_cancel.store(&cancel);
}

void disarmCancelRequests() noexcept {
    g_cancel.store(nullptr);
    g_cancel.notify_all();
    while (g_requestsInFlight.load() != 0) {
        // A handler between its read of the run and its write to it; it finishes at once.
    }
}

void cancelRequestsIgnored() noexcept {
    g_ignored.store(true);
}

const char* requestCancel() noexcept {
    g_requestsInFlight.fetch_add(1);
    const char* note = nullptr;
    std::atomic<bool>* cancel = g_cancel.load();
    if (cancel == nullptr) {
        // no run to cancel
    } else if (g_ignored.load()) {
        note =
            "vdb: Die Indizes werden aufgebaut; der Abbruch wird ignoriert, damit die "
            "Zieldatenbank vollständig bleibt.\n";
    } else if (cancel->exchange(true)) {
        note = "vdb: Der Import wird bereits abgebrochen.\n";
    }
    g_requestsInFlight.fetch_sub(1);
    return note;
}

void waitUntilDisarmed() noexcept {
    for (std::atomic<bool>* armed = g_cancel.load(); armed != nullptr; armed = g_cancel.load()) {
        g_cancel.wait(armed);
    }
}

}  // namespace vdb
