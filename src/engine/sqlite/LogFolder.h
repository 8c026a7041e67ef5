#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

#include "engine/sqlite/Connection.h"

struct sqlite3;

namespace engine::sqlite {

// Folds the write-ahead log of a bulk load back into the file on a thread of its own, through a
// connection of its own, once kFoldPages pages have been committed to it: the connection that
// writes goes on storing meanwhile instead of waiting for the copying and the disk syncs.
// SQLite lets one connection fold back what others have committed while they write on, and the
// log stays crash-safe all the while.
//
// SQLite starts the log from its beginning again only when it is folded back whole as the next
// write begins, which a writer that commits on and on never lets happen: the log would grow to
// the size of everything loaded. So a commit on an engine thread that leaves kRestartPages or
// more in the log waits for one fold begun after it.
class LogFolder {
public:
    // How many pages of log start a fold (8 MiB of 16 KiB pages).
    static constexpr int kFoldPages = 512;
    // How many pages of log make the commit that reaches them wait (64 MiB).
    static constexpr int kRestartPages = 4096;

    // Opens a second connection to the file at path, which writing has in write-ahead mode, and
    // takes over the folding from writing's own, which SQLite does after a commit. Call while
    // no other thread uses writing. Throws engine::Error when the file cannot be opened again;
    // writing then folds as before.
    LogFolder(const std::string& path, Connection& writing);
    // Hands the folding back to writing, after the last fold begun. Call while no other thread
    // uses writing.
    ~LogFolder();
    LogFolder(const LogFolder&) = delete;
    LogFolder& operator=(const LogFolder&) = delete;

private:
    // SQLite calls this after every commit on writing, on the committing thread.
    static int afterCommit(void* self, sqlite3* db, const char* schema, int logPages) noexcept;
    void askFold(bool waitForIt) noexcept;
    void run();

    Connection& m_writing;
    Connection m_folding;
    std::mutex m_mutex;
    std::condition_variable m_due;
    std::condition_variable m_folded;
    bool m_foldDue = false;
    unsigned m_foldsBegun = 0;
    unsigned m_foldsDone = 0;
    bool m_stop = false;
    std::thread m_thread;
};

}  // namespace engine::sqlite
