#include "engine/sqlite/LogFolder.h"

#include <sqlite3.h>

#include "engine/sqlite/KeepAlive.h"

namespace engine::sqlite {

LogFolder::LogFolder(const std::string& path, Connection& writing)
    : m_writing(writing), m_folding(path, SQLITE_OPEN_READWRITE) {
    // A connection finds the file in write-ahead mode at its first read, and folds back nothing
    // before.
    m_folding.exec("SELECT count(*) FROM sqlite_schema");
    m_thread = std::thread([this] { run(); });
    sqlite3_wal_hook(m_writing.handle(), &LogFolder::afterCommit, this);
}

LogFolder::~LogFolder() {
    sqlite3_wal_autocheckpoint(m_writing.handle(), kFoldPages);
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_due.notify_one();
    m_folded.notify_all();
    m_thread.join();
}

int LogFolder::afterCommit(void* self, sqlite3*, const char*, int logPages) noexcept {
    if (logPages >= kFoldPages) {
        // The caller's thread never waits here: it would go without its keep-alive hook.
        static_cast<LogFolder*>(self)->askFold(logPages >= kRestartPages &&
                                               KeepAlive::onEngineThread());
    }
    return SQLITE_OK;
}

void LogFolder::askFold(bool waitForIt) noexcept {
    std::unique_lock lock(m_mutex);
    m_foldDue = true;
    m_due.notify_one();
    if (!waitForIt) return;
    // Folds run one after another: the next to begin is the first begun after this commit.
    const unsigned next = m_foldsBegun + 1;
    m_folded.wait(lock, [&] { return m_stop || m_foldsDone >= next; });
}

void LogFolder::run() {
    KeepAlive::markEngineThread();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_due.wait(lock, [this] { return m_stop || m_foldDue; });
        if (m_stop) return;
        m_foldDue = false;
        ++m_foldsBegun;
        lock.unlock();
        // A fold that fails or finds the log busy leaves it as it is: the next one, or the
        // end of the bulk load, folds it back.
        sqlite3_wal_checkpoint_v2(m_folding.handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr,
                                  nullptr);
        lock.lock();
        ++m_foldsDone;
        m_folded.notify_all();
    }
}

}  // namespace engine::sqlite
