#include "engine/sqlite/WriteAhead.h"

#include <utility>

#include "engine/sqlite/TableState.h"

namespace engine::sqlite {

WriteAhead::WriteAhead(Connection& connection, KeepAlive& keepAlive)
    : m_connection(connection),
      m_keepAlive(keepAlive),
      m_filling(kChunkRecords),
      m_thread([this] { run(); }) {}

WriteAhead::~WriteAhead() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_work.notify_one();
    m_thread.join();
    m_batch.reset();
}

void WriteAhead::queue(TableState& table, std::vector<StoredValue>& values) {
    if (failed()) settle();
    Slot& slot = m_filling[m_filled++];
    slot.table = &table;
    std::swap(slot.values, values);
    if (m_filled == kChunkRecords) handOver();
}

void WriteAhead::settle() {
    handOver();
    m_keepAlive.waitUntil([this](std::chrono::milliseconds interval) {
        std::unique_lock lock(m_mutex);
        return m_idle.wait_for(lock, interval,
                               [this] { return m_queued.empty() && !m_storing; });
    });
    if (!failed()) return;
    std::exception_ptr failure = std::exchange(m_failure, nullptr);
    m_failed.store(false, std::memory_order_release);
    std::rethrow_exception(failure);
}

void WriteAhead::commitBatch() {
    if (!m_batch) return;
    try {
        // A commit may fold the log back into the file.
        m_keepAlive.runAside([this] { m_batch->commit(); });
    } catch (...) {
        m_batch.reset();
        throw;
    }
    m_batch.reset();
}

void WriteAhead::handOver() {
    if (m_filled == 0) return;
    m_keepAlive.waitUntil([this](std::chrono::milliseconds interval) {
        std::unique_lock lock(m_mutex);
        return m_idle.wait_for(lock, interval,
                               [this] { return m_queued.size() < kQueuedChunks; });
    });
    {
        std::lock_guard lock(m_mutex);
        m_queued.emplace_back(std::move(m_filling), m_filled);
        m_filling = freshChunk();
    }
    m_filled = 0;
    m_work.notify_one();
}

WriteAhead::Chunk WriteAhead::freshChunk() {
    if (m_free.empty()) return Chunk(kChunkRecords);
    Chunk chunk = std::move(m_free.back());
    m_free.pop_back();
    return chunk;
}

void WriteAhead::run() {
    KeepAlive::markEngineThread();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_stop || !m_queued.empty(); });
        if (m_queued.empty()) return;
        auto [chunk, records] = std::move(m_queued.front());
        m_queued.pop_front();
        m_storing = true;
        lock.unlock();
        storeChunk(chunk, records);
        lock.lock();
        m_free.push_back(std::move(chunk));
        m_storing = false;
        m_idle.notify_all();
    }
}

void WriteAhead::storeChunk(Chunk& chunk, std::size_t records) {
    for (std::size_t i = 0; i < records && !failed(); ++i) store(chunk[i]);
}

void WriteAhead::store(Slot& slot) {
    try {
        if (!m_batch) {
            m_batch.emplace(m_connection);
            m_batchRecords = 0;
            m_batchStart = std::chrono::steady_clock::now();
        }
        slot.table->store(slot.values);
    } catch (...) {
        // SQLite may have rolled the whole batch back; then nothing is left to undo.
        if (m_connection.autocommit()) m_batch.reset();
        recordFailure();
        return;
    }
    ++m_batchRecords;
    // The clock is read every 64 records only: a record takes microseconds.
    if (m_batchRecords < kBatchRecords &&
        (m_batchRecords % 64 != 0 || std::chrono::steady_clock::now() - m_batchStart < kBatchTime)) {
        return;
    }
    try {
        m_batch->commit();
    } catch (...) {
        recordFailure();
    }
    m_batch.reset();
}

void WriteAhead::recordFailure() noexcept {
    std::lock_guard lock(m_mutex);
    if (!m_failure) m_failure = std::current_exception();
    m_failed.store(true, std::memory_order_release);
}

}  // namespace engine::sqlite
