#include "engine/sqlite/ReadAhead.h"

#include <sqlite3.h>

#include <algorithm>

namespace engine::sqlite {

ReadAhead::ReadAhead(sqlite3_vfs& vfs, const char* path)
    : m_fileMemory(static_cast<std::size_t>(vfs.szOsFile)) {
    auto* file = reinterpret_cast<sqlite3_file*>(m_fileMemory.data());
    int openedFlags = 0;
    const int rc =
        vfs.xOpen(&vfs, path, file, SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB, &openedFlags);
    if (rc != SQLITE_OK) {
        if (file->pMethods) file->pMethods->xClose(file);
        return;
    }
    sqlite3_int64 size = 0;
    if (file->pMethods->xFileSize(file, &size) != SQLITE_OK) size = 0;
    m_file = file;
    m_asked.resize(static_cast<std::size_t>((size + kBlockBytes - 1) / kBlockBytes));
    m_thread = std::thread([this] { run(); });
}

ReadAhead::~ReadAhead() {
    if (!m_file) return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_work.notify_one();
    m_thread.join();
    m_file->pMethods->xClose(m_file);
}

void ReadAhead::noteRead(std::int64_t offset) {
    if (!m_file || offset < 0) return;
    const auto first = static_cast<std::size_t>(offset / kBlockBytes) + 1;
    const std::size_t end = std::min(first + kBlocksAhead, m_asked.size());
    bool asked = false;
    for (std::size_t block = first; block < end; ++block) {
        if (m_asked[block]) continue;
        m_asked[block] = true;
        std::lock_guard lock(m_mutex);
        m_blocks.push_back(static_cast<std::int64_t>(block));
        asked = true;
    }
    if (asked) m_work.notify_one();
}

void ReadAhead::run() {
    std::vector<char> scratch(static_cast<std::size_t>(kBlockBytes));
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_stop || !m_blocks.empty(); });
        if (m_stop) return;
        const std::int64_t block = m_blocks.front();
        m_blocks.pop_front();
        lock.unlock();
        // A failed read only leaves the block to the connection's own read.
        m_file->pMethods->xRead(m_file, scratch.data(), static_cast<int>(kBlockBytes),
                                block * kBlockBytes);
        lock.lock();
    }
}

}  // namespace engine::sqlite
