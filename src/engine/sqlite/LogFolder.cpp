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
    m_thread.join();
}

int LogFolder::afterCommit(void* self, sqlite3*, const char*, int logPages) noexcept {
    if (logPages >= kFoldPages) {
        auto& folder = *static_cast<LogFolder*>(self);
        {
            std::lock_guard lock(folder.m_mutex);
            folder.m_foldDue = true;
        }
        folder.m_due.notify_one();
    }
    return SQLITE_OK;
}

void LogFolder::run() {
    KeepAlive::markEngineThread();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_due.wait(lock, [this] { return m_stop || m_foldDue; });
        if (m_stop) return;
        m_foldDue = false;
        lock.unlock();
        // A fold that fails or finds the log busy leaves it as it is: the next one, or the
        // end of the bulk load, folds it back.
        sqlite3_wal_checkpoint_v2(m_folding.handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr,
                                  nullptr);
        lock.lock();
    }
}

}  // namespace engine::sqlite
