#include "engine/sqlite/ReadAheadVfs.h"

#include <sqlite3.h>

#include <cstddef>

#include "engine/sqlite/KeepAlive.h"
#include "engine/sqlite/ReadAhead.h"

namespace engine::sqlite {

namespace {

// A database file as SQLite sees it: the file of the layer below, right after this head in
// the same memory, and the read-ahead of it.
struct ReadAheadFile {
    sqlite3_file head;
    sqlite3_io_methods methods;  // the forwarding methods, of the version the file below has
    sqlite3_file* below;
    ReadAhead* readAhead;
    KeepAlive* keepAlive;  // one without a hook until a connection's keepAliveWhileReadingAhead
};

// The file control by which keepAliveWhileReadingAhead hands over the KeepAlive; SQLite passes
// codes it does not know to the file, and its own stay below 100.
constexpr int kKeepAliveControl = 0x5644;

constexpr std::size_t kHeadBytes = (sizeof(ReadAheadFile) + alignof(std::max_align_t) - 1) /
                                   alignof(std::max_align_t) * alignof(std::max_align_t);

sqlite3_vfs* g_below = nullptr;

sqlite3_file* below(sqlite3_file* file) {
    return reinterpret_cast<ReadAheadFile*>(file)->below;
}

int fileClose(sqlite3_file* file) {
    auto* self = reinterpret_cast<ReadAheadFile*>(file);
    delete self->readAhead;
    self->readAhead = nullptr;
    return self->below->pMethods->xClose(self->below);
}

int fileRead(sqlite3_file* file, void* buffer, int amount, sqlite3_int64 offset) {
    auto* self = reinterpret_cast<ReadAheadFile*>(file);
    if (self->readAhead) self->readAhead->beforeRead(offset, *self->keepAlive);
    return self->below->pMethods->xRead(self->below, buffer, amount, offset);
}

int fileWrite(sqlite3_file* file, const void* buffer, int amount, sqlite3_int64 offset) {
    return below(file)->pMethods->xWrite(below(file), buffer, amount, offset);
}
int fileTruncate(sqlite3_file* file, sqlite3_int64 size) {
    return below(file)->pMethods->xTruncate(below(file), size);
}
int fileSync(sqlite3_file* file, int flags) {
    return below(file)->pMethods->xSync(below(file), flags);
}
int fileSize(sqlite3_file* file, sqlite3_int64* size) {
    return below(file)->pMethods->xFileSize(below(file), size);
}
int fileLock(sqlite3_file* file, int level) {
    return below(file)->pMethods->xLock(below(file), level);
}
int fileUnlock(sqlite3_file* file, int level) {
    return below(file)->pMethods->xUnlock(below(file), level);
}
int fileCheckReservedLock(sqlite3_file* file, int* reserved) {
    return below(file)->pMethods->xCheckReservedLock(below(file), reserved);
}
int fileControl(sqlite3_file* file, int op, void* argument) {
    if (op == kKeepAliveControl) {
        reinterpret_cast<ReadAheadFile*>(file)->keepAlive = static_cast<KeepAlive*>(argument);
        return SQLITE_OK;
    }
    return below(file)->pMethods->xFileControl(below(file), op, argument);
}
int fileSectorSize(sqlite3_file* file) {
    return below(file)->pMethods->xSectorSize(below(file));
}
int fileDeviceCharacteristics(sqlite3_file* file) {
    return below(file)->pMethods->xDeviceCharacteristics(below(file));
}
int fileShmMap(sqlite3_file* file, int region, int size, int extend, void volatile** memory) {
    return below(file)->pMethods->xShmMap(below(file), region, size, extend, memory);
}
int fileShmLock(sqlite3_file* file, int offset, int count, int flags) {
    return below(file)->pMethods->xShmLock(below(file), offset, count, flags);
}
void fileShmBarrier(sqlite3_file* file) {
    below(file)->pMethods->xShmBarrier(below(file));
}
int fileShmUnmap(sqlite3_file* file, int deleteFlag) {
    return below(file)->pMethods->xShmUnmap(below(file), deleteFlag);
}
int fileFetch(sqlite3_file* file, sqlite3_int64 offset, int amount, void** pages) {
    return below(file)->pMethods->xFetch(below(file), offset, amount, pages);
}
int fileUnfetch(sqlite3_file* file, sqlite3_int64 offset, void* page) {
    return below(file)->pMethods->xUnfetch(below(file), offset, page);
}

constexpr sqlite3_io_methods kForwarding = {
    3,
    fileClose,
    fileRead,
    fileWrite,
    fileTruncate,
    fileSync,
    fileSize,
    fileLock,
    fileUnlock,
    fileCheckReservedLock,
    fileControl,
    fileSectorSize,
    fileDeviceCharacteristics,
    fileShmMap,
    fileShmLock,
    fileShmBarrier,
    fileShmUnmap,
    fileFetch,
    fileUnfetch,
};

// Logs, journals and temporary files are opened by the layer below into SQLite's memory
// directly; a database file below the head of a ReadAheadFile.
int vfsOpen(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* outFlags) {
    if (!(flags & SQLITE_OPEN_MAIN_DB) || !name) {
        return g_below->xOpen(g_below, name, file, flags, outFlags);
    }
    auto* self = reinterpret_cast<ReadAheadFile*>(file);
    self->head.pMethods = nullptr;
    self->below = reinterpret_cast<sqlite3_file*>(reinterpret_cast<char*>(file) + kHeadBytes);
    self->readAhead = nullptr;
    static KeepAlive withoutHook;
    self->keepAlive = &withoutHook;
    const int rc = g_below->xOpen(g_below, name, self->below, flags, outFlags);
    if (!self->below->pMethods) return rc;
    self->methods = kForwarding;
    self->methods.iVersion = self->below->pMethods->iVersion;
    self->head.pMethods = &self->methods;
    if (rc == SQLITE_OK) {
        try {
            self->readAhead = new ReadAhead(*g_below, name);
        } catch (...) {  // no thread, no memory: the file is read as it comes
        }
    }
    return rc;
}

int vfsDelete(sqlite3_vfs*, const char* name, int syncDir) {
    return g_below->xDelete(g_below, name, syncDir);
}
int vfsAccess(sqlite3_vfs*, const char* name, int flags, int* result) {
    return g_below->xAccess(g_below, name, flags, result);
}
int vfsFullPathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return g_below->xFullPathname(g_below, name, size, out);
}
void* vfsDlOpen(sqlite3_vfs*, const char* name) {
    return g_below->xDlOpen(g_below, name);
}
void vfsDlError(sqlite3_vfs*, int size, char* message) {
    g_below->xDlError(g_below, size, message);
}
void (*vfsDlSym(sqlite3_vfs*, void* library, const char* symbol))(void) {
    return g_below->xDlSym(g_below, library, symbol);
}
void vfsDlClose(sqlite3_vfs*, void* library) {
    g_below->xDlClose(g_below, library);
}
int vfsRandomness(sqlite3_vfs*, int size, char* out) {
    return g_below->xRandomness(g_below, size, out);
}
int vfsSleep(sqlite3_vfs*, int microseconds) {
    return g_below->xSleep(g_below, microseconds);
}
int vfsCurrentTime(sqlite3_vfs*, double* now) {
    return g_below->xCurrentTime(g_below, now);
}
int vfsLastError(sqlite3_vfs*, int size, char* message) {
    return g_below->xGetLastError(g_below, size, message);
}
int vfsCurrentTimeInt64(sqlite3_vfs*, sqlite3_int64* now) {
    return g_below->xCurrentTimeInt64(g_below, now);
}

// SQLite's own layer for the system, whichever layer is the default at the time.
sqlite3_vfs* systemVfs() {
#ifdef _WIN32
    return sqlite3_vfs_find("win32");
#else
    return sqlite3_vfs_find("unix");
#endif
}

const char* registerReadAheadVfs() {
    static sqlite3_vfs vfs{};
    g_below = systemVfs();
    if (!g_below) return nullptr;
    vfs.iVersion = 2;
    vfs.szOsFile = static_cast<int>(kHeadBytes) + g_below->szOsFile;
    vfs.mxPathname = g_below->mxPathname;
    vfs.zName = "vdb-read-ahead";
    vfs.xOpen = vfsOpen;
    vfs.xDelete = vfsDelete;
    vfs.xAccess = vfsAccess;
    vfs.xFullPathname = vfsFullPathname;
    vfs.xDlOpen = vfsDlOpen;
    vfs.xDlError = vfsDlError;
    vfs.xDlSym = vfsDlSym;
    vfs.xDlClose = vfsDlClose;
    vfs.xRandomness = vfsRandomness;
    vfs.xSleep = vfsSleep;
    vfs.xCurrentTime = vfsCurrentTime;
    vfs.xGetLastError = vfsLastError;
    vfs.xCurrentTimeInt64 = vfsCurrentTimeInt64;
    sqlite3_vfs_register(&vfs, 0);
    return vfs.zName;
}

}  // namespace

const char* readAheadVfs() {
    static const char* const name = registerReadAheadVfs();
    return name;
}

void keepAliveWhileReadingAhead(sqlite3* db, KeepAlive& keepAlive) noexcept {
    sqlite3_file_control(db, "main", kKeepAliveControl, &keepAlive);
}

}  // namespace engine::sqlite
