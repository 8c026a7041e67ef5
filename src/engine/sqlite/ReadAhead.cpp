#include "engine/sqlite/ReadAhead.h"

#include <algorithm>
#include <chrono>

#include "engine/sqlite/KeepAlive.h"

namespace engine::sqlite {

ReadAhead::ReadAhead(sqlite3_vfs& vfs, const char* path) : m_file(vfs, path) {
    if (!m_file.isOpen()) return;
    const auto blocks = static_cast<std::size_t>((m_file.size() + kBlockBytes - 1) / kBlockBytes);
    m_asked.resize(blocks);
    m_seenDone.resize(blocks);
    m_done.resize(blocks);
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

void ReadAhead::beforeRead(std::int64_t offset, KeepAlive& keepAlive) {
    if (!m_file.isOpen() || offset < 0) return;
    const auto block = static_cast<std::size_t>(offset / kBlockBytes);
    askAfter(block);
    if (block < m_asked.size() && m_asked[block] && !m_seenDone[block]) {
        awaitBlock(block, keepAlive);
    }
}

void ReadAhead::awaitBlock(std::size_t block, KeepAlive& keepAlive) {
    {
        std::lock_guard lock(m_mutex);
        const auto queued =
            std::find(m_blocks.begin(), m_blocks.end(), static_cast<std::int64_t>(block));
        if (queued != m_blocks.end()) {
            m_blocks.erase(queued);
            m_blocks.push_front(static_cast<std::int64_t>(block));
        }
    }
    const auto done = [&](std::chrono::milliseconds interval) {
        std::unique_lock lock(m_mutex);
        return m_blockDone.wait_for(lock, interval, [&] { return m_done[block] || m_stop; });
    };
    keepAlive.waitUntil(done);
    m_seenDone[block] = true;
}

void ReadAhead::askAfter(std::size_t block) {
    const std::size_t first = block + 1;
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
        m_done[static_cast<std::size_t>(block)] = true;
        m_blockDone.notify_all();
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
