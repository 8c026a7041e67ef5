#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <vector>

#include "engine/sqlite/CatalogModel.h"
#include "engine/sqlite/KeptIndexes.h"
#include "engine/sqlite/NewRecord.h"
#include "engine/sqlite/Statement.h"
#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

class DatabaseState;

// One table of an open database: its definition, its cached record count, its prepared insert
// and the pending indexes it keeps while loaded in their order. Owned by the DatabaseState and
// shared by every object of the table.
class TableState {
public:
    TableState(DatabaseState& database, TableDef def);

    const TableDef& def() const noexcept { return m_def; }
    TableDef& def() noexcept { return m_def; }

    // The number of records; counted once, then kept up to date.
    std::int64_t recordCount();
    void forgetRecordCount() noexcept { m_recordCount.reset(); }

    KeptIndexes& keptIndexes() noexcept { return m_keptIndexes; }

    // Stores the record begun (one value per field). In a bulk load the record may only be
    // queued; a failure to store it then comes out later (see the head of engine/DbServer.h).
    // Throws
    // DuplicateKey naming the unique index that already holds the key, or the mapped SQLite
    // error; nothing is stored then.
    void insert(NewRecord& record);

    // Stores values as one record at once, in the transaction that is open. Throws like insert.
    void store(std::span<const StoredView> values);

    // How many records storeTogether takes.
    static constexpr std::size_t kStoredTogether = 16;
    // Stores values as kStoredTogether records, one after the other, in one statement where
    // SQLite allows that many parameters: the statement's start and end then cost once for all
    // of them. Throws like store; the records before the one that failed are stored then,
    // unless SQLite rolled the open transaction back.
    void storeTogether(std::span<const StoredView> values);

    // Whether a unique index of the table is live, so that a record may be refused for its key.
    bool checksUniqueKeys() const noexcept;

    // Removes every record.
    void deleteAll();

    // Drops the prepared statements (before the table's storage changes).
    void dropStatements() noexcept {
        m_insert.reset();
        m_insertTogether.reset();
    }

private:
    [[noreturn]] void throwDuplicate(std::span<const StoredView> values);
    bool canStoreTogether();

    DatabaseState& m_database;
    TableDef m_def;
    // The count is written for every record by the caller's thread, the insert is used by the
    // bulk load's writer thread: each lies on a cache line of its own, so that the line does
    // not travel between the processor's cores for every record.
    alignas(64) std::optional<std::int64_t> m_recordCount;
    alignas(64) std::unique_ptr<Statement> m_insert;
    std::unique_ptr<Statement> m_insertTogether;
    KeptIndexes m_keptIndexes;
    std::vector<StoredView> m_views;  // a record stored at once, as views for binding
};

// Binds a stored value to a statement parameter without copying it: the text must stay
// unchanged until the statement has run.
void bindStored(Statement& statement, int parameter, const StoredView& value);

}  // namespace engine::sqlite
