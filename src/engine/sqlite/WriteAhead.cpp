#include "engine/sqlite/WriteAhead.h"

#include <algorithm>
#include <cstring>
#include <span>
#include <utility>

#include "engine/sqlite/TableState.h"

namespace engine::sqlite {

namespace {

enum class Kind : char { Null, Number, Text };

std::size_t packedSize(const std::vector<StoredValue>& values) {
    std::size_t size = sizeof(std::uint32_t) + values.size() * sizeof(Kind);
    for (const StoredValue& value : values) {
        if (std::holds_alternative<std::int64_t>(value)) size += sizeof(std::int64_t);
        if (const auto* text = std::get_if<std::string>(&value)) {
            size += sizeof(std::uint64_t) + text->size();
        }
    }
    return size;
}

template <typename T>
char* put(char* next, const T& value) {
    std::memcpy(next, &value, sizeof value);
    return next + sizeof value;
}

void pack(std::vector<char>& bytes, const std::vector<StoredValue>& values) {
    const std::size_t start = bytes.size();
    bytes.resize(start + packedSize(values));
    char* next = put(bytes.data() + start, static_cast<std::uint32_t>(values.size()));
    for (const StoredValue& value : values) {
        if (const auto* number = std::get_if<std::int64_t>(&value)) {
            next = put(put(next, Kind::Number), *number);
        } else if (const auto* text = std::get_if<std::string>(&value)) {
            next = put(put(next, Kind::Text), static_cast<std::uint64_t>(text->size()));
            std::memcpy(next, text->data(), text->size());
            next += text->size();
        } else {
            next = put(next, Kind::Null);
        }
    }
}

// Reads back what pack wrote, one record at a time; the views point into the chunk.
class Unpacker {
public:
    explicit Unpacker(const std::vector<char>& bytes) : m_next(bytes.data()) {}

    // Appends the next record's values to values.
    void next(std::vector<StoredView>& values) {
        const std::size_t first = values.size();
        values.resize(first + take<std::uint32_t>());
        for (std::size_t i = first; i < values.size(); ++i) {
            StoredView& value = values[i];
            switch (take<Kind>()) {
                case Kind::Number:
                    value = take<std::int64_t>();
                    break;
                case Kind::Text: {
                    const auto size = static_cast<std::size_t>(take<std::uint64_t>());
                    value = std::string_view(m_next, size);
                    m_next += size;
                    break;
                }
                case Kind::Null:
                    value = std::monostate{};
                    break;
            }
        }
    }

private:
    template <typename T>
    T take() {
        T value;
        std::memcpy(&value, m_next, sizeof value);
        m_next += sizeof value;
        return value;
    }

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

void WriteAhead::queue(TableState& table, const std::vector<StoredValue>& values) {
    m_filling.tables.push_back(&table);
    pack(m_filling.bytes, values);
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
        for (std::size_t i = 0; i < count; ++i) records.next(m_views);
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
