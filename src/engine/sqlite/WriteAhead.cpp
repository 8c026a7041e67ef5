#include "engine/sqlite/WriteAhead.h"

#include <algorithm>
#include <span>
#include <utility>

#include "engine/sqlite/TableState.h"

namespace engine::sqlite {

namespace {

// Reads back the records queue wrote, one at a time; the texts point into the chunk.
class Unpacker {
public:
    explicit Unpacker(const ByteBuffer& bytes) : m_next(bytes.bytes().data()) {}

    // Appends the next record's values, one per field of table, to values.
    void next(const TableState& table, std::vector<StoredView>& values) {
        const std::size_t first = values.size();
        values.resize(first + table.def().fields.size());
        record_bytes::read(record_bytes::takeRecord(m_next), std::span(values).subspan(first));
    }

private:
    const char* m_next;
};

}  // namespace

WriteAhead::WriteAhead(Connection& connection, KeepAlive& keepAlive)
    : m_connection(connection), m_keepAlive(keepAlive), m_thread([this] { run(); }) {}

WriteAhead::~WriteAhead() {
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    m_work.notify_one();
    m_thread.join();
    m_batch.reset();
}

void WriteAhead::queue(TableState& table, std::span<const char> values) {
    m_filling.tables.push_back(&table);
    record_bytes::appendRecord(m_filling.bytes, values);
    if (m_filling.tables.size() == kChunkRecords) handOver();
}

void WriteAhead::settle() {
    handOver();
    m_keepAlive.waitUntil([this](std::chrono::milliseconds interval) {
        std::unique_lock lock(m_mutex);
        return m_idle.wait_for(lock, interval, [this] { return m_queued.empty() && !m_storing; });
    });
    std::exception_ptr failure;
    {
        std::lock_guard lock(m_mutex);
        failure = std::exchange(m_failure, nullptr);
        m_failed.store(false, std::memory_order_relaxed);
    }
    if (failure) std::rethrow_exception(failure);
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
    if (m_filling.tables.empty()) return;
    m_keepAlive.waitUntil([this](std::chrono::milliseconds interval) {
        std::unique_lock lock(m_mutex);
        return m_idle.wait_for(lock, interval, [this] { return m_queued.size() < kQueuedChunks; });
    });
    {
        std::lock_guard lock(m_mutex);
        m_queued.push_back(std::move(m_filling));
        m_filling = freshChunk();
    }
    m_work.notify_one();
}

WriteAhead::Chunk WriteAhead::freshChunk() {
    if (m_free.empty()) return {};
    Chunk chunk = std::move(m_free.back());
    m_free.pop_back();
    chunk.tables.clear();
    chunk.bytes.clear();
    return chunk;
}

void WriteAhead::run() {
    KeepAlive::markEngineThread();
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_work.wait(lock, [this] { return m_stop || !m_queued.empty(); });
        if (m_queued.empty()) return;
        Chunk chunk = std::move(m_queued.front());
        m_queued.pop_front();
        m_storing = true;
        lock.unlock();
        storeChunk(chunk);
        lock.lock();
        m_free.push_back(std::move(chunk));
        m_storing = false;
        m_idle.notify_all();
    }
}

void WriteAhead::storeChunk(const Chunk& chunk) {
    Unpacker records(chunk.bytes);
    for (std::size_t next = 0; next < chunk.tables.size();) {
        if (failed()) return;
        const std::size_t count = storedTogetherAt(chunk, next) ? TableState::kStoredTogether : 1;
        m_views.clear();
        for (std::size_t i = 0; i < count; ++i) records.next(*chunk.tables[next + i], m_views);
        store(*chunk.tables[next], count);
        next += count;
    }
}

bool WriteAhead::storedTogetherAt(const Chunk& chunk, std::size_t first) const {
    const std::size_t end = first + TableState::kStoredTogether;
    const int inBatch = m_batch ? m_batchRecords : 0;
    if (end > chunk.tables.size() || inBatch + TableState::kStoredTogether > kBatchRecords) {
        return false;
    }
    const auto tables = std::span(chunk.tables).subspan(first, TableState::kStoredTogether);
    return std::all_of(tables.begin(), tables.end(),
                       [&](const TableState* table) { return table == tables.front(); });
}

void WriteAhead::store(TableState& table, std::size_t records) {
    try {
        if (!m_batch) {
            m_batch.emplace(m_connection);
            m_batchRecords = 0;
            m_batchStart = std::chrono::steady_clock::now();
        }
        if (records == 1) {
            table.store(m_views);
        } else {
            table.storeTogether(m_views);
        }
    } catch (...) {
        // SQLite may have rolled the whole batch back; then nothing is left to undo.
        if (m_connection.autocommit()) m_batch.reset();
        recordFailure();
        return;
    }
    const int before = m_batchRecords;
    m_batchRecords += static_cast<int>(records);
    // The clock is read every 64 records only: a record takes microseconds.
    if (m_batchRecords < kBatchRecords &&
        (m_batchRecords / 64 == before / 64 ||
         std::chrono::steady_clock::now() - m_batchStart < kBatchTime)) {
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
    m_failed.store(true, std::memory_order_relaxed);
}

}  // namespace engine::sqlite
