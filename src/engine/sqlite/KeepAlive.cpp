#include "engine/sqlite/KeepAlive.h"

#include <sqlite3.h>

#include <future>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"

namespace engine::sqlite {

namespace {

// Set on the threads the engine starts (work run aside, the bulk load's writer): the hook
// belongs to the caller's thread and must never run on one of them.
thread_local bool t_engineThread = false;

}  // namespace

void KeepAlive::markEngineThread() noexcept {
    t_engineThread = true;
}

bool KeepAlive::onEngineThread() noexcept {
    return t_engineThread;
}

KeepAlive::KeepAlive(Hook hook) : m_hook(std::move(hook)) {}

void KeepAlive::attach(sqlite3* db) noexcept {
    if (m_hook) sqlite3_progress_handler(db, kStepsPerCheck, &KeepAlive::onProgress, this);
}

void KeepAlive::detach(sqlite3* db) noexcept {
    if (db) sqlite3_progress_handler(db, 0, nullptr, nullptr);
}

void KeepAlive::refuseWhileYielding() {
    throw Error(codes::InvalidArgument, messages::engineBusy());
}

void KeepAlive::yieldIfDue() noexcept {
    if (!m_hook || m_yielding) return;
    if (std::chrono::steady_clock::now() - m_lastReturn < kInterval) return;
    callHook();
}

void KeepAlive::runAside(const std::function<void()>& work) {
    if (!m_hook || m_yielding || t_engineThread) {
        work();
        return;
    }
    auto done = std::async(std::launch::async, [&work] {
        markEngineThread();
        work();
    });
    waitUntil([&done](std::chrono::milliseconds interval) {
        return done.wait_for(interval) == std::future_status::ready;
    });
    done.get();
}

void KeepAlive::waitUntil(const std::function<bool(std::chrono::milliseconds)>& ready) {
    while (!ready(kInterval)) {
        if (m_hook && !m_yielding && !t_engineThread) callHook();
    }
}

void KeepAlive::callHook() noexcept {
    m_yielding = true;
    try {
        m_hook();
    } catch (...) {  // the hook only keeps the caller alive; the engine's work goes on
    }
    m_yielding = false;
    m_lastReturn = std::chrono::steady_clock::now();
}

int KeepAlive::onProgress(void* self) noexcept {
    if (!t_engineThread) static_cast<KeepAlive*>(self)->yieldIfDue();
    return 0;  // never interrupts the statement
}

}  // namespace engine::sqlite
