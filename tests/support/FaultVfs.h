#pragma once

#include <cstdint>

// Fails SQLite's writes on demand, to test disk-full and write errors: while a FaultVfs
// exists it is SQLite's default file layer, passing every call to the real one, except
// that once armed, the Nth write from then on and every later one fail. It also holds reads
// back on demand, as a busy disk would.
namespace testsupport {

class FaultVfs {
public:
    FaultVfs();   // registers itself as the default
    ~FaultVfs();  // restores the previous default
    FaultVfs(const FaultVfs&) = delete;
    FaultVfs& operator=(const FaultVfs&) = delete;

    // The nth write from now (1 = the next one) and all after it fail with sqliteError
    // (SQLITE_FULL by default: "database or disk is full").
    void failWritesFrom(int nth, int sqliteError = 13);
    void disarm();
    int failedWrites() const;
    // Every write asked of the layer since it was made, failed or not.
    int writes() const;

    // Reads at offset or beyond wait until releaseReads.
    void holdReadsFrom(std::int64_t offset);
    void releaseReads();
};

}  // namespace testsupport
