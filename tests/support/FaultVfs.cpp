#include "FaultVfs.h"

#include <sqlite3.h>

#include <condition_variable>
#include <cstring>
#include <mutex>
#include <stdexcept>

namespace testsupport {

namespace {

struct FaultState {
    sqlite3_vfs* real = nullptr;
    sqlite3_vfs vfs{};
    int writesUntilFailure = 0;  // 0: disarmed
    int error = SQLITE_FULL;
    int failed = 0;
    int writes = 0;
    std::int64_t heldFrom = -1;  // reads from this offset on wait; -1: none
};

FaultState state;
// The bulk load writes on a thread of its own while the test arms and reads the counts.
std::mutex stateMutex;
std::condition_variable readsReleased;

// Our file object, followed in memory by the real layer's file object.
struct FaultFile {
    sqlite3_file base;
    sqlite3_file* real;
};

sqlite3_file* real(sqlite3_file* file) {
    return reinterpret_cast<FaultFile*>(file)->real;
}

// The error the next write fails with, or SQLITE_OK.
int writeError() {
    const std::lock_guard lock(stateMutex);
    ++state.writes;
    if (state.writesUntilFailure == 0) return SQLITE_OK;
    if (state.writesUntilFailure > 1) {
        --state.writesUntilFailure;
        return SQLITE_OK;
    }
    ++state.failed;
    return state.error;
}

int faultClose(sqlite3_file* f) {
    return real(f)->pMethods->xClose(real(f));
}
int faultRead(sqlite3_file* f, void* buffer, int amount, sqlite3_int64 offset) {
    {
        std::unique_lock lock(stateMutex);
        readsReleased.wait(lock,
                           [offset] { return state.heldFrom < 0 || offset < state.heldFrom; });
    }
    return real(f)->pMethods->xRead(real(f), buffer, amount, offset);
}
int faultWrite(sqlite3_file* f, const void* buffer, int amount, sqlite3_int64 offset) {
    if (const int error = writeError()) return error;
    return real(f)->pMethods->xWrite(real(f), buffer, amount, offset);
}
int faultTruncate(sqlite3_file* f, sqlite3_int64 size) {
    return real(f)->pMethods->xTruncate(real(f), size);
}
int faultSync(sqlite3_file* f, int flags) {
    return real(f)->pMethods->xSync(real(f), flags);
}
int faultFileSize(sqlite3_file* f, sqlite3_int64* size) {
    return real(f)->pMethods->xFileSize(real(f), size);
}
int faultLock(sqlite3_file* f, int level) {
    return real(f)->pMethods->xLock(real(f), level);
}
int faultUnlock(sqlite3_file* f, int level) {
    return real(f)->pMethods->xUnlock(real(f), level);
}
int faultCheckReservedLock(sqlite3_file* f, int* out) {
    return real(f)->pMethods->xCheckReservedLock(real(f), out);
}
int faultFileControl(sqlite3_file* f, int op, void* arg) {
    return real(f)->pMethods->xFileControl(real(f), op, arg);
}
int faultSectorSize(sqlite3_file* f) {
    return real(f)->pMethods->xSectorSize(real(f));
}
int faultDeviceCharacteristics(sqlite3_file* f) {
    return real(f)->pMethods->xDeviceCharacteristics(real(f));
}
int faultShmMap(sqlite3_file* f, int page, int size, int extend, void volatile** out) {
    return real(f)->pMethods->xShmMap(real(f), page, size, extend, out);
}
int faultShmLock(sqlite3_file* f, int offset, int n, int flags) {
    return real(f)->pMethods->xShmLock(real(f), offset, n, flags);
}
void faultShmBarrier(sqlite3_file* f) {
    real(f)->pMethods->xShmBarrier(real(f));
}
int faultShmUnmap(sqlite3_file* f, int deleteFlag) {
    return real(f)->pMethods->xShmUnmap(real(f), deleteFlag);
}

// Version 2: no memory-mapped reads, so that every page goes through xRead.
const sqlite3_io_methods faultMethods = {2,
                                         faultClose,
                                         faultRead,
                                         faultWrite,
                                         faultTruncate,
                                         faultSync,
                                         faultFileSize,
                                         faultLock,
                                         faultUnlock,
                                         faultCheckReservedLock,
                                         faultFileControl,
                                         faultSectorSize,
                                         faultDeviceCharacteristics,
                                         faultShmMap,
                                         faultShmLock,
                                         faultShmBarrier,
                                         faultShmUnmap,
                                         nullptr,
                                         nullptr};

int faultOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    auto* ours = reinterpret_cast<FaultFile*>(file);
    ours->real = reinterpret_cast<sqlite3_file*>(ours + 1);
    ours->base.pMethods = nullptr;
    const int rc = state.real->xOpen(state.real, name, ours->real, flags, outFlags);
    if (ours->real->pMethods) ours->base.pMethods = &faultMethods;
    return rc;
}

int faultDelete(sqlite3_vfs*, const char* name, int syncDir) {
    return state.real->xDelete(state.real, name, syncDir);
}
int faultAccess(sqlite3_vfs*, const char* name, int flags, int* out) {
    return state.real->xAccess(state.real, name, flags, out);
}
int faultFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return state.real->xFullPathname(state.real, name, size, out);
}
int faultRandomness(sqlite3_vfs*, int size, char* out) {
    return state.real->xRandomness(state.real, size, out);
}
int faultSleep(sqlite3_vfs*, int microseconds) {
    return state.real->xSleep(state.real, microseconds);
}
int faultCurrentTime(sqlite3_vfs*, double* out) {
    return state.real->xCurrentTime(state.real, out);
}
int faultGetLastError(sqlite3_vfs*, int size, char* out) {
    return state.real->xGetLastError ? state.real->xGetLastError(state.real, size, out) : 0;
}
int faultCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* out) {
    return state.real->xCurrentTimeInt64(state.real, out);
}

}  // namespace

FaultVfs::FaultVfs() {
    if (state.real) throw std::logic_error("only one FaultVfs at a time");
    sqlite3_initialize();
    state = FaultState{};
    state.real = sqlite3_vfs_find(nullptr);
    sqlite3_vfs& vfs = state.vfs;
    vfs.iVersion = 2;
    vfs.szOsFile = static_cast<int>(sizeof(FaultFile)) + state.real->szOsFile;
    vfs.mxPathname = state.real->mxPathname;
    vfs.zName = "veltrona-fault";
    vfs.xOpen = faultOpen;
    vfs.xDelete = faultDelete;
    vfs.xAccess = faultAccess;
    vfs.xFullPathname = faultFullPathname;
    vfs.xRandomness = faultRandomness;
    vfs.xSleep = faultSleep;
    vfs.xCurrentTime = faultCurrentTime;
    vfs.xGetLastError = faultGetLastError;
    vfs.xCurrentTimeInt64 = faultCurrentTimeInt64;
    sqlite3_vfs_register(&state.vfs, 1);
}

FaultVfs::~FaultVfs() {
    sqlite3_vfs_unregister(&state.vfs);
    sqlite3_vfs_register(state.real, 1);
    state = FaultState{};
}

void FaultVfs::failWritesFrom(int nth, int sqliteError) {
    const std::lock_guard lock(stateMutex);
    state.writesUntilFailure = nth;
    state.error = sqliteError;
}

void FaultVfs::disarm() {
    const std::lock_guard lock(stateMutex);
    state.writesUntilFailure = 0;
}

int FaultVfs::failedWrites() const {
    const std::lock_guard lock(stateMutex);
    return state.failed;
}

int FaultVfs::writes() const {
    const std::lock_guard lock(stateMutex);
    return state.writes;
}

void FaultVfs::holdReadsFrom(std::int64_t offset) {
    const std::lock_guard lock(stateMutex);
    state.heldFrom = offset;
}

void FaultVfs::releaseReads() {
    {
        const std::lock_guard lock(stateMutex);
        state.heldFrom = -1;
    }
    readsReleased.notify_all();
}

}  // namespace testsupport
