#include "engine/sqlite/ErrorMapping.h"

#include <sqlite3.h>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"

namespace engine::sqlite {

void throwSqlite(int rc, sqlite3* db, const std::string& path) {
    const std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
    if (rc == SQLITE_CONSTRAINT_UNIQUE || rc == SQLITE_CONSTRAINT_PRIMARYKEY) {
        throw Error(codes::DuplicateKey, messages::duplicateValue(detail));
    }
    if (rc == SQLITE_READONLY_ROLLBACK) {
        throw Error(codes::NeedsRecovery, messages::needsRecovery(path));
    }
    switch (rc & 0xff) {
        case SQLITE_CORRUPT:
        case SQLITE_NOTADB:
            throw Error(codes::NotADatabase, messages::notADatabase(path));
        case SQLITE_BUSY:
        case SQLITE_LOCKED:
            throw Error(codes::FileLocked, messages::fileLocked(path));
        case SQLITE_READONLY:
            throw Error(codes::ReadOnly, messages::readOnly());
        case SQLITE_CANTOPEN:
            throw Error(codes::FileNotFound, messages::fileNotFound(path));
        case SQLITE_FULL:
            throw Error(codes::IoError, messages::diskFull());
        case SQLITE_IOERR:
            throw Error(codes::IoError, messages::ioError("Der Datenträger meldet einen Fehler."));
        default:
            throw Error(codes::IoError, messages::ioError(detail));
    }
}

}  // namespace engine::sqlite
