#pragma once

#include <string>

struct sqlite3;

namespace engine::sqlite {

// Throws the engine::Error for an SQLite result code rc (primary or extended):
// CORRUPT/NOTADB => NotADatabase, FULL/IOERR => IoError, BUSY/LOCKED => FileLocked,
// READONLY => ReadOnly, a unique constraint => DuplicateKey, CANTOPEN => FileNotFound,
// anything else => IoError. path names the file in the description when it is not empty;
// db (may be null) supplies SQLite's own message for the generic cases.
[[noreturn]] void throwSqlite(int rc, sqlite3* db, const std::string& path);

}  // namespace engine::sqlite
