#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "engine/sqlite/CatalogModel.h"
#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

class Connection;

// The pending indexes of one table, kept up to date while the table is loaded in their key
// order, as a copy through the source's ID index loads it. Built after the load, such an index
// would be sorted from records that came sorted; kept, it costs one append per record on the
// thread that stores them.
//
// A table that is empty when its first record is stored gets its pending indexes at once, while
// they cost nothing to build, unless a cursor of the database is reading: SQLite drops no index
// while another statement of the connection is under way, so none is kept then, and a cursor
// that starts reading ends the keeping first (stopKeeping). Each is kept as long as every record
// appends to it: its key is not below the last one, and for a unique index not equal to it unless
// part of it is NULL, so that a kept index never refuses a record. The first record that would not
// append drops the index; its rebuild then builds it and reports duplicate keys as if it had never
// been kept. The rebuild of a kept index only marks it built. An index stays pending in the catalog
// while it is kept, so a file left by a killed load has it built anew.
//
// Used by the thread that stores the table's records, and by the caller's thread only while the
// database is settled (see engine/DbServer.h).
class KeptIndexes {
public:
    explicit KeptIndexes(const TableDef& table);

    // Before records are stored, fieldCount values each. Throws engine::Error when an index
    // cannot be created or dropped.
    void beforeStore(Connection& connection, std::span<const StoredView> records);

    // Whether the index at position of the table's definition is kept and in the file.
    bool isKept(Connection& connection, std::size_t position) const;
    // The index at position is built and no longer pending.
    void markBuilt(std::size_t position) noexcept;

    // Drops every index kept, to be built by its rebuild. Throws engine::Error.
    void stopKeeping(Connection& connection);
    bool keepsAny() const noexcept { return m_anyKept; }

    // The table was emptied, and with it every kept index.
    void tableEmptied() noexcept;
    // Changes may have been rolled back: an index believed kept or dropped may be neither, so
    // each is dropped before the next record and built by its rebuild.
    void distrust() noexcept;
    // The table's indexes were dropped and made pending: the next record decides anew.
    void restart() noexcept;

private:
    enum class State {
        Undecided,  // pending; the table's next record decides
        Kept,       // in the file, holding every record, keys in order up to lastKey
        Dropped,    // pending and not in the file
        Doubtful,   // pending; to be dropped, as it may be in the file
        Built,      // not pending: no longer watched
    };
    struct Watched {
        State state = State::Undecided;
        std::vector<StoredValue> lastKey;  // empty until the kept index holds a record
    };

    // Decides the undecided indexes (created when the table is empty, dropped otherwise) and
    // drops the doubtful ones.
    void review(Connection& connection);
    // Whether the record's key appends to the kept index, which then remembers it.
    bool append(std::size_t position, std::span<const StoredView> record);
    void drop(Connection& connection, std::size_t position);
    bool anyIn(State state) const noexcept;

    const TableDef& m_table;
    std::vector<Watched> m_indexes;  // one per index of the table, in its order
    bool m_reviewDue = false;        // an index is undecided or doubtful
    bool m_anyKept = false;          // spares the per-record checks while none is kept
};

}  // namespace engine::sqlite
