#pragma once

struct sqlite3;

namespace engine::sqlite {

class KeepAlive;

// The name of the file system layer that connections opened read-only use: SQLite's own, with
// each database file read ahead by a ReadAhead; its logs and journals are left as they are.
// Registered with SQLite at the first call; nullptr (SQLite's default) where SQLite has no
// layer of its own for the system.
const char* readAheadVfs();

// Lets the read-ahead of db's file keep the caller alive with keepAlive while a read waits for
// a block it reads (see ReadAhead::beforeRead). keepAlive must outlive db's file.
void keepAliveWhileReadingAhead(sqlite3* db, KeepAlive& keepAlive) noexcept;

}  // namespace engine::sqlite
