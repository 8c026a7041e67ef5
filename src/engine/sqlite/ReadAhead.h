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

    // The connection reads at offset: asks for the blocks after it not asked for before.
    // Called by whichever thread uses the connection, one at a time.
    void noteRead(std::int64_t offset);

private:
    void run();
    void readBlock(std::int64_t block, std::vector<char>& scratch);

    ReadOnlyFile m_file;  // the own handle
    std::vector<bool> m_asked;  // per block: whether it was asked for, used by noteRead only

    std::mutex m_mutex;
    std::condition_variable m_work;
    std::deque<std::int64_t> m_blocks;  // asked for, not yet read
    bool m_stop = false;

    std::thread m_thread;  // last: starts once everything above is ready
};

}  // namespace engine::sqlite
