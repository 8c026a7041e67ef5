#pragma once

#include <atomic>

namespace vdb {

// The state that the system's cancel notifications (signals on POSIX, console events on Windows)
// share with the run, safe to use from a signal handler and from any thread. The run to cancel is
// kept in an atomic and is never touched after disarmCancelRequests() has returned.

// From now on a request sets cancel.
void armCancelRequests(std::atomic<bool>& cancel) noexcept;

// Stops passing requests on, and waits for any request still being handled on another thread.
void disarmCancelRequests() noexcept;

// From now on a request is ignored, so that the target keeps whole indexes.
void cancelRequestsIgnored() noexcept;

// Passes one request on. Returns the note for standard error when the request was not the first
// or is ignored (UTF-8, ending in LF), nullptr otherwise and when nothing is armed.
const char* requestCancel() noexcept;

// Blocks until disarmCancelRequests() is called; returns at once when nothing is armed.
void waitUntilDisarmed() noexcept;

}  // namespace vdb
