#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "engine/Index.h"

namespace engine::sqlite {

class Connection;
class DatabaseState;
class TableState;
struct IndexDef;

class SqliteIndex : public Index {
public:
    SqliteIndex(std::shared_ptr<DatabaseState> database, TableState& table, std::size_t position);

    std::string Name() override;
    std::string DisplayName(std::int32_t reserved) override;  // the name when none is set

    // Makes the index live and current. A pending index (see PrepareKeyStorage) is created
    // anew, unless the load kept it up to date; a live one is rebuilt in place. Any open bulk batch
    // is committed first. Throws ReadOnly on a write-protected database and DuplicateKey, naming
    // the index and some duplicate keys, when a unique index's records hold a key twice: the index
    // then stays pending and nothing else changes.
    void Rebuild() override;

private:
    IndexDef& def();
    // Makes a pending index live; a unique index over duplicate keys raises DuplicateKey with
    // the first keys found, and the index stays pending.
    void createPending(IndexDef& index);
    // Creates the SQLite index and marks it live in the catalog, all or nothing.
    void buildPending(const IndexDef& index);
    // Marks an index that the load kept (see KeptIndexes) live in the catalog.
    void markKeptLive(Connection& connection, const IndexDef& index);
    [[noreturn]] void throwDuplicates(const IndexDef& index);

    std::shared_ptr<DatabaseState> m_database;
    TableState& m_table;
    std::size_t m_position;
};

}  // namespace engine::sqlite
