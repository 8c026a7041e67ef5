#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

#include "engine/sqlite/CatalogModel.h"
#include "engine/sqlite/NewRecord.h"
#include "engine/sqlite/Statement.h"
#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

class DatabaseState;

// One table of an open database: its definition, its cached record count and its
// prepared insert. Owned by the DatabaseState and shared by every object of the table.
class TableState {
public:
    TableState(DatabaseState& database, TableDef def);

    const TableDef& def() const noexcept { return m_def; }
    TableDef& def() noexcept { return m_def; }
    DatabaseState& database() noexcept { return m_database; }

    // The number of records; counted once, then kept up to date.
    std::int64_t recordCount();
    void forgetRecordCount() noexcept { m_recordCount.reset(); }

    // Stores the record begun (one value per field). In a bulk load the record may only be
    // queued; a failure to store it is then thrown by a later call (see WriteAhead). Throws
    // DuplicateKey naming the unique index that already holds the key, or the mapped SQLite
    // error; nothing is stored then.
    void insert(NewRecord& record);

    // Stores values as one record at once, in the transaction that is open. Throws like insert.
    void store(const std::vector<StoredValue>& values);

    // Whether a unique index of the table is live, so that a record may be refused for its key.
    bool checksUniqueKeys() const noexcept;

    // Removes every record.
    void deleteAll();

    // Drops the prepared statements (before the table's storage changes).
    void dropStatements() noexcept { m_insert.reset(); }

private:
    [[noreturn]] void throwDuplicate(const std::vector<StoredValue>& values);

    DatabaseState& m_database;
    TableDef m_def;
    std::optional<std::int64_t> m_recordCount;
    std::unique_ptr<Statement> m_insert;
};

// Binds a stored value to a statement parameter without copying it: the value must stay
// unchanged until the statement has run.
void bindStored(Statement& statement, int parameter, const StoredValue& value);

}  // namespace engine::sqlite
