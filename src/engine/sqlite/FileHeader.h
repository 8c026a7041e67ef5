#pragma once

#include <string>

namespace engine::sqlite {

// Checks, before SQLite sees the file, that path names a regular file whose first bytes
// are the header of one of our database files (SQLite format 3, rollback journal, our
// application id and format version). A file left in write-ahead mode by a bulk load that
// did not end passes only for a writable open, which finishes it. Throws engine::Error:
// FileNotFound when there is no file (or a folder, or an empty path), for such a file opened
// read-only FileLocked while a live process holds it open (a bulk load in progress) and
// NeedsRecovery otherwise, NotADatabase for anything else.
void checkFileHeader(const std::string& path, bool readOnly);

}  // namespace engine::sqlite
