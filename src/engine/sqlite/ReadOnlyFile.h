#pragma once

#include <cstdint>
#include <vector>

struct sqlite3_file;
struct sqlite3_vfs;

namespace engine::sqlite {

// A database file opened for reading through one of SQLite's file system layers, closed with
// this object. Going through the layer matters on POSIX: closing a descriptor the layer did not
// open would drop every lock this process holds on the file through an open connection.
class ReadOnlyFile {
public:
    // name as the layer's xOpen takes it (sqlite3_create_filename's kind). Whether it opened:
    // isOpen.
    ReadOnlyFile(sqlite3_vfs& vfs, const char* name);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile&) = delete;
    ReadOnlyFile& operator=(const ReadOnlyFile&) = delete;

    bool isOpen() const noexcept { return m_open; }
    // The file's size, 0 when the layer cannot say.
    std::int64_t size() const noexcept;
    // Whether all bytes came; false when the file is shorter or the read failed.
    bool read(void* buffer, int bytes, std::int64_t offset) const noexcept;

private:
    sqlite3_file* file() const noexcept;

    std::vector<char> m_memory;  // the layer's own file object
    bool m_open = false;
};

}  // namespace engine::sqlite
