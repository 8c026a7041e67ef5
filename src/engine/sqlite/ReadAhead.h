#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/sqlite/ReadOnlyFile.h"

struct sqlite3_vfs;

namespace engine::sqlite {

class KeepAlive;

// Reads a file opened read-only ahead of its reader, on a thread of its own, into the system's
// file cache: a copy reads its source in the order of an index, table pages and index pages
// by turns, which the system's own read-ahead does not follow far enough. Whatever region a
// read falls in, the kBlocksAhead blocks after it are read next, each block once; the
// connection's own reads then find them in the cache instead of waiting for the disk while
// the disk is busy writing the target. The thread reads through a handle of its own, opened by
// the same file system layer as the connection's; it shares nothing else with the connection.
class ReadAhead {
public:
    static constexpr std::int64_t kBlockBytes = 1 << 20;
    static constexpr std::int64_t kBlocksAhead = 32;
    // A block is first probed with its last page; a page that comes sooner than kCachedRead
    // came from the cache, and the rest of its block is taken to lie there too.
    static constexpr std::int64_t kProbeBytes = 4096;
    static constexpr std::chrono::microseconds kCachedRead{50};

    // Opens the file at path (a name as the file system layer vfs takes it) for reading ahead;
    // where it cannot be opened, nothing is read ahead. Throws what starting the thread
    // throws.
    ReadAhead(sqlite3_vfs& vfs, const char* path);
    ~ReadAhead();
    ReadAhead(const ReadAhead&) = delete;
    ReadAhead& operator=(const ReadAhead&) = delete;

    // The connection is about to read at offset: asks for the blocks after it not asked for
    // before. When the block read lies in was asked for and its read is not done, it is read
    // next and waited for, with keepAlive's hook called meanwhile (KeepAlive::waitUntil): the
    // connection's own read would otherwise wait for the same pages inside the system, where
    // the caller cannot be kept alive. Called by whichever thread uses the connection, one at
    // a time.
    void beforeRead(std::int64_t offset, KeepAlive& keepAlive);

private:
    void askAfter(std::size_t block);
    void awaitBlock(std::size_t block, KeepAlive& keepAlive);
    void run();
    void readBlock(std::int64_t block, std::vector<char>& scratch);

    ReadOnlyFile m_file;  // the own handle
    // Per block, used by the connection's thread only: whether it was asked for, and whether
    // its read was seen done.
    std::vector<bool> m_asked;
    std::vector<bool> m_seenDone;

    std::mutex m_mutex;
    std::condition_variable m_work;
    std::condition_variable m_blockDone;
    std::deque<std::int64_t> m_blocks;  // asked for, not yet read
    std::vector<bool> m_done;           // per block: its read is done
    bool m_stop = false;

    std::thread m_thread;  // last: starts once everything above is ready
};

}  // namespace engine::sqlite
