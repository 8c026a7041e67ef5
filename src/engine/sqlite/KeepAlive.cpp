#include "engine/sqlite/KeepAlive.h"

#include <sqlite3.h>

#include <future>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"

namespace engine::sqlite {

KeepAlive::KeepAlive(Hook hook) : m_hook(std::move(hook)) {}

void KeepAlive::attach(sqlite3* db) noexcept {
    if (m_hook) sqlite3_progress_handler(db, kStepsPerCheck, &KeepAlive::onProgress, this);
}

void KeepAlive::detach(sqlite3* db) noexcept {
    if (db) sqlite3_progress_handler(db, 0, nullptr, nullptr);
}

void KeepAlive::requireIdle() const {
    if (m_yielding) throw Error(codes::InvalidArgument, messages::engineBusy());
}

void KeepAlive::yieldIfDue() noexcept {
    if (!m_hook || m_yielding) return;
    if (std::chrono::steady_clock::now() - m_lastReturn < kInterval) return;
    callHook();
}

void KeepAlive::runAside(const std::function<void()>& work) {
    if (!m_hook || m_yielding || m_aside) {
        work();
        return;
    }
    m_aside = true;
    try {
        auto done = std::async(std::launch::async, work);
        while (done.wait_for(kInterval) != std::future_status::ready) callHook();
        m_aside = false;
        done.get();
    } catch (...) {
        m_aside = false;
        throw;
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
    auto* keepAlive = static_cast<KeepAlive*>(self);
    if (!keepAlive->m_aside) keepAlive->yieldIfDue();
    return 0;  // never interrupts the statement
}

}  // namespace engine::sqlite
