#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <span>
#include <thread>
#include <vector>

#include "engine/sqlite/Connection.h"
#include "engine/sqlite/KeepAlive.h"
#include "engine/sqlite/RecordBytes.h"
#include "engine/sqlite/Transaction.h"
#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

class TableState;

// Stores the records of a bulk load on a thread of its own, so that SQLite's inserting and
// committing of some records overlaps the caller's reading and converting of the next ones.
// Records are copied into chunks, packed one after the other, and handed over a chunk at a
// time; the writer commits them in batches of kBatchRecords or kBatchTime, so that a killed
// process leaves every committed batch whole. Who owns the connection when, and where a
// failure comes out: see the head of engine/DbServer.h.
class WriteAhead {
public:
    WriteAhead(Connection& connection, KeepAlive& keepAlive);
    // Stops the thread after the records queued; an open batch is rolled back.
    ~WriteAhead();
    WriteAhead(const WriteAhead&) = delete;
    WriteAhead& operator=(const WriteAhead&) = delete;

    // Queues a copy of values, one record packed (RecordBytes.h), as one record of table. The
    // caller settles first once failed() says a failure waits: the records queued after it
    // would only be dropped.
    void queue(TableState& table, std::span<const char> values);

    // Returns once every queued record is stored and the thread waits, keeping the caller
    // alive meanwhile. Throws the first failure since the last settle, once; every record
    // queued after it was dropped, and a batch SQLite rolled back with it is gone.
    void settle();

    // Whether a failure waits to be thrown by settle; may be asked at any time, on either
    // thread, without the mutex: it is a hint for the per-record paths, and the failure itself
    // is only ever read under the mutex.
    bool failed() const noexcept { return m_failed.load(std::memory_order_relaxed); }

    // Commits the open batch, if any, after settle. Throws engine::Error; the batch is then
    // rolled back.
    void commitBatch();

    static constexpr int kBatchRecords = 5000;
    static constexpr std::chrono::milliseconds kBatchTime{250};

    static constexpr std::size_t kChunkRecords = 256;
    // Deep enough (some 4 MiB of records) to carry the caller through a commit that waits for
    // the disk, which blocks the writer for tens of milliseconds.
    static constexpr std::size_t kQueuedChunks = 64;
    // How far storing lags behind queueing at most: the chunk being filled, the chunks
    // queued and the chunk being stored.
    static constexpr std::size_t kMostRecordsBehind = kChunkRecords * (kQueuedChunks + 2);

private:
    // Records for the writer, one after the other (record_bytes::appendRecord).
    struct Chunk {
        std::vector<TableState*> tables;  // one per record
        ByteBuffer bytes;
    };

    // The caller's side.
    void handOver();
    Chunk freshChunk();

    // The writer thread's side.
    void run();
    void storeChunk(const Chunk& chunk);
    // Whether the records of chunk from first on start a run of TableState::kStoredTogether
    // of one table that the open batch has room for.
    bool storedTogetherAt(const Chunk& chunk, std::size_t first) const;
    // Stores the records (one, or kStoredTogether) in m_views.
    void store(TableState& table, std::size_t records);
    void recordFailure() noexcept;

    // The two threads' own members and the shared ones lie on cache lines of their own: a
    // line written by one thread and read by the other for every record would travel between
    // the processor's cores each time. The object as a whole starts a line, so no neighbour on
    // the heap shares one with the writer thread either.
    static constexpr std::size_t kCacheLine = 64;

    alignas(kCacheLine) Connection& m_connection;
    KeepAlive& m_keepAlive;
    Chunk m_filling;  // the caller's chunk under construction

    alignas(kCacheLine) std::mutex m_mutex;
    std::condition_variable m_work;  // a chunk was handed over, or the thread is to stop
    std::condition_variable m_idle;  // a chunk was stored
    std::deque<Chunk> m_queued;
    std::vector<Chunk> m_free;
    bool m_storing = false;
    bool m_stop = false;
    std::exception_ptr m_failure;        // the first failure since the last settle
    std::atomic<bool> m_failed = false;  // m_failure is set; written under the mutex

    // The open batch; used by the writer thread, and by the caller only after settle.
    alignas(kCacheLine) std::optional<Transaction> m_batch;
    std::vector<StoredView> m_views;  // the records being stored
    int m_batchRecords = 0;
    std::chrono::steady_clock::time_point m_batchStart;

    std::thread m_thread;  // last: starts once everything above is ready
};

}  // namespace engine::sqlite
