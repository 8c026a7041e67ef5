#pragma once

namespace engine::sqlite {

// The name of the file system layer that connections opened read-only use: SQLite's own, with
// each database file read ahead by a ReadAhead; its logs and journals are left as they are.
// Registered with SQLite at the first call; nullptr (SQLite's default) where SQLite has no
// layer of its own for the system.
const char* readAheadVfs();

}  // namespace engine::sqlite
