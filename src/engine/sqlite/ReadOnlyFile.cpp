#include "engine/sqlite/ReadOnlyFile.h"

#include <sqlite3.h>

namespace engine::sqlite {

ReadOnlyFile::ReadOnlyFile(sqlite3_vfs& vfs, const char* name)
    : m_memory(static_cast<std::size_t>(vfs.szOsFile)) {
    int openedFlags = 0;
    const int rc =
        vfs.xOpen(&vfs, name, file(), SQLITE_OPEN_READONLY | SQLITE_OPEN_MAIN_DB, &openedFlags);
    m_open = rc == SQLITE_OK;
    if (!m_open && file()->pMethods) file()->pMethods->xClose(file());
}

ReadOnlyFile::~ReadOnlyFile() {
    if (m_open) file()->pMethods->xClose(file());
}

std::int64_t ReadOnlyFile::size() const noexcept {
    sqlite3_int64 size = 0;
    if (!m_open || file()->pMethods->xFileSize(file(), &size) != SQLITE_OK) return 0;
    return size;
}

bool ReadOnlyFile::read(void* buffer, int bytes, std::int64_t offset) const noexcept {
    return m_open && file()->pMethods->xRead(file(), buffer, bytes, offset) == SQLITE_OK;
}

sqlite3_file* ReadOnlyFile::file() const noexcept {
    return reinterpret_cast<sqlite3_file*>(const_cast<char*>(m_memory.data()));
}

}  // namespace engine::sqlite
