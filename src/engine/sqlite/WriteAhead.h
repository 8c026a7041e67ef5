#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <exception>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "engine/sqlite/Connection.h"
#include "engine/sqlite/KeepAlive.h"
#include "engine/sqlite/Transaction.h"
#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

class TableState;

// Stores the records of a bulk load on a thread of its own, so that SQLite's inserting and
// committing of some records overlaps the caller's reading and converting of the next ones.
// Records are handed over in chunks and committed in batches of kBatchRecords or kBatchTime,
// as before: a killed process leaves every committed batch whole.
//
// Only this object's thread uses the connection while records are queued; the database
// settles it (settle) before any other use of the connection. The first failure stops the
// storing: the records queued after it are dropped, and settle, or the next queue, throws it.
class WriteAhead {
public:
    WriteAhead(Connection& connection, KeepAlive& keepAlive);
    // Stops the thread after the records queued; an open batch is rolled back.
    ~WriteAhead();
    WriteAhead(const WriteAhead&) = delete;
    WriteAhead& operator=(const WriteAhead&) = delete;

    // Queues values as one record of table. values gets back the buffers of a record stored
    // earlier, for the caller to reuse. Throws a failure of an earlier record (see settle).
    void queue(TableState& table, std::vector<StoredValue>& values);

    // Returns once every queued record is stored and the thread waits, keeping the caller
    // alive meanwhile. Throws the first failure since the last settle, once; every record
    // queued after it was dropped, and a batch SQLite rolled back with it is gone.
    void settle();

    // Whether a failure waits to be thrown by settle; may be asked at any time.
    bool failed() const noexcept { return m_failed.load(std::memory_order_acquire); }

    // Commits the open batch, if any, after settle. Throws engine::Error; the batch is then
    // rolled back.
    void commitBatch();

    static constexpr int kBatchRecords = 5000;
    static constexpr std::chrono::milliseconds kBatchTime{250};

    static constexpr std::size_t kChunkRecords = 256;
    static constexpr std::size_t kQueuedChunks = 4;
    // How far storing lags behind queueing at most: the chunk being filled, the chunks
    // queued and the chunk being stored.
    static constexpr std::size_t kMostRecordsBehind = kChunkRecords * (kQueuedChunks + 2);

private:
    struct Slot {
        TableState* table = nullptr;
        std::vector<StoredValue> values;
    };
    using Chunk = std::vector<Slot>;

    // The caller's side.
    void handOver();
    Chunk freshChunk();

    // The writer thread's side.
    void run();
    void storeChunk(Chunk& chunk, std::size_t records);
    void store(Slot& slot);
    void recordFailure() noexcept;

    Connection& m_connection;
    KeepAlive& m_keepAlive;

    Chunk m_filling;  // the caller's chunk under construction
    std::size_t m_filled = 0;

    std::mutex m_mutex;
    std::condition_variable m_work;  // a chunk was handed over, or the thread is to stop
    std::condition_variable m_idle;  // a chunk was stored
    std::deque<std::pair<Chunk, std::size_t>> m_queued;
    std::vector<Chunk> m_free;
    bool m_storing = false;
    bool m_stop = false;
    std::exception_ptr m_failure;
    std::atomic<bool> m_failed = false;

    // The open batch; used by the writer thread, and by the caller only after settle.
    std::optional<Transaction> m_batch;
    int m_batchRecords = 0;
    std::chrono::steady_clock::time_point m_batchStart;

    std::thread m_thread;  // last: starts once everything above is ready
};

}  // namespace engine::sqlite
