#pragma once

#include <memory>
#include <string>

#include "engine/Variant.h"

namespace engine {

class Tables;

// An open database file. Releasing the last reference commits pending bulk work and closes
// the file; objects reached through it then raise an error when used. Which thread does what
// during a bulk load: see the head of DbServer.h.
//
// Bulk loading ("key storage"), both raising ReadOnly on a write-protected database:
//  - PrepareKeyStorage(false) on a writable database sets every index of every table aside as
//    pending, so that the reopened database loads records without index maintenance.
//    PrepareKeyStorage(true) keeps every index live and changes nothing. Cursor order is
//    unaffected either way.
//  - KeyStorageAccess(true) groups stored records into transactions that are committed every
//    5000 records or 250 ms, before an index rebuild, at Tables() and when the database is
//    released; a killed process thus loses at most the open batch. Meanwhile the file writes
//    ahead into a log, so that a commit needs no disk sync; the log is folded back when bulk
//    mode ends, at release, or at the next writable open after a killed load. While the load
//    runs another read-only open of the file raises FileLocked, and so does a writable one
//    while a batch is open; a read-only open of a file left by a killed load raises
//    NeedsRecovery. KeyStorageAccess(false) commits the open batch and returns to one
//    transaction per record.
//  - Index::Rebuild makes a pending index live again and checks unique indexes then.
class Database : public Object {
public:
    // May raise an earlier record's failure.
    virtual std::shared_ptr<engine::Tables> Tables() = 0;

    // Writes a new database at path with this database's tables, fields, indexes and users
    // and no records; the new file gets this database file's permission bits, so that it is no
    // easier to read. Refuses an existing file (FileExists) and leaves no half-written file.
    // The returned object needs no further use.
    virtual ObjectRef CreateDatabase(const std::string& path, const Variant& version,
                                     const Variant& options, const Variant& reserved) = 0;

    // Bulk-load mode on a database opened for writing (see above). Each may raise an earlier
    // record's failure.
    virtual void KeyStorageAccess(bool enable) = 0;
    virtual void PrepareKeyStorage(bool keepIndexes) = 0;
};

}  // namespace engine
