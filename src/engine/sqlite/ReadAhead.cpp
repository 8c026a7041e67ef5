#include "engine/sqlite/ReadAhead.h"

#include <algorithm>
#include <chrono>

namespace engine::sqlite {

ReadAhead::ReadAhead(sqlite3_vfs& vfs, const char* path) : m_file(vfs, path) {
    if (!m_file.isOpen()) return;
    m_asked.resize(static_cast<std::size_t>((m_file.size() + kBlockBytes - 1) / kBlockBytes));
    m_thread = std::thread([this] { run(); });
}

ReadAhead::~ReadAhead() {
    if (!m_file.isOpen()) return;
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_work.notify_one();
    m_thread.join();
}

void ReadAhead::noteRead(std::int64_t offset) {
    if (!m_file.isOpen() || offset < 0) return;
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
        readBlock(block, scratch);
        lock.lock();
    }
}

void ReadAhead::readBlock(std::int64_t block, std::vector<char>& scratch) {
    // A failed read only leaves the block to the connection's own read.
    const auto read = [&](std::int64_t bytes, std::int64_t offset) {
        m_file.read(scratch.data(), static_cast<int>(bytes), block * kBlockBytes + offset);
    };
    // A block whose last page comes at the speed of memory is taken to be in the cache
    // already: copying it whole would cost the processor time the copy needs. The last page,
    // as the system's own read-ahead after the block before may have brought in the first.
    const auto start = std::chrono::steady_clock::now();
    read(kProbeBytes, kBlockBytes - kProbeBytes);
    if (std::chrono::steady_clock::now() - start < kCachedRead) return;
    read(kBlockBytes, 0);
}

}  // namespace engine::sqlite
