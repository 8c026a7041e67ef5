#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/Variant.h"

// Threads
//
// The caller uses the engine from one thread: every call on a server and on every object
// reached through it comes from that thread. The engine runs four kinds of work on threads of
// its own; none touches an object of the caller's nor calls back into the caller.
//
//  - The writer of a bulk load. In a database opened for writing with KeyStorageAccess(true),
//    Table::Update of a table that no live unique index checks only queues the record, and
//    the writer stores it (with the pending indexes it keeps, engine/sqlite/KeptIndexes.h)
//    and commits the batches. From the first queued record until the database is settled (every
//    queued record stored, the writer waiting), the writer owns the database's connection. Every
//    call that uses the file settles it first: on that database Database::Tables, KeyStorageAccess
//    and PrepareKeyStorage, Table::RecordCount, MoveFirst, Move, Eof before the cursor's first
//    move, Field::Value, an Update that stores at once, DeleteAllRecords, Indexes::Activate,
//    Index::Rebuild, and releasing the database; on every database of the server, a Move that
//    reaches the end of any table.
//  - Work run aside: a single long step that SQLite cannot interrupt (checking a password,
//    emptying a table, counting, building or dropping indexes, a commit that folds the log
//    back) runs on a thread of its own, using only the connection of the database the call is
//    about, while the caller's thread waits and calls the keep-alive hook.
//  - The log folder of a bulk load: a thread of its own folds the write-ahead log back into
//    the file through a connection of its own. A commit on the writer or on work run aside
//    that leaves a long log (engine/sqlite/LogFolder.h) waits for one fold, so that the log
//    starts from its beginning again instead of growing with the load; the caller's thread
//    never waits for it.
//  - The read-ahead of a database opened read-only: a thread of its own reads the file's next
//    megabytes into the system's file cache ahead of the connection's reads, through a handle
//    of its own; it uses no connection and never writes. A connection's read of a block the
//    read-ahead is still reading waits for that read.
//
// The keep-alive hook the server was created with runs on the caller's thread only, never
// from inside itself, at most about every 10 ms: during a long statement, while the caller
// waits for work run aside, while it waits for the writer (settling, or a queue that is
// full), and while its read waits for the read-ahead. The writer and any work run aside go on
// meanwhile. While the hook runs, every call on the server or on an object reached through it
// raises InvalidArgument and changes nothing:
// the hook does the caller's own work (repaint a window, take a cancel request) and makes no
// engine call. An exception it throws is ignored.
//
// A record that fails on the writer (a full disk, an I/O error) ends the storing: the records
// queued after it are dropped, and the failure is raised once, by a later Update, by the read
// that reaches the end of a source table (Move), or by any other use of the target listed
// above, whichever comes first; the calls that may raise it say so. Releasing the database
// drops a failure that no call raised; the records stored before it are committed unless
// SQLite rolled their batch back with the failure.

namespace engine {

class Database;

// Flag bits of OpenDatabase.
namespace open_flags {
constexpr std::int32_t ReadOnly = 0x20;  // open write-protected; the file stays byte-identical
// The flags the copy opens its target with; the other bits are accepted and have no effect.
constexpr std::int32_t Target = 0x30010;
// The flags the copy opens its source with: the target's plus write protection.
constexpr std::int32_t Source = Target | ReadOnly;
}  // namespace open_flags

// The engine's entry object; every database is opened through it.
class DbServer : public Object {
public:
    // Opens the database file at path as user. Throws engine::Error: FileNotFound,
    // NotADatabase, AccessDenied (wrong user or password alike), FileLocked.
    virtual std::shared_ptr<Database> OpenDatabase(const std::string& path, const std::string& user,
                                                   const std::string& password,
                                                   std::int32_t flags) = 0;
};

}  // namespace engine
