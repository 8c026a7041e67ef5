#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/sqlite/SqliteEngine.h"

namespace engine::sqlite {

// The catalog of a database file as held in memory. Ids are the catalog rows' ids; the
// records of table t live in the SQLite table data_<t.id>, field f in column f<f.position>.
struct FieldDef {
    std::string name;
    FieldType type = FieldType::Text;
    std::int32_t size = 0;  // maximum characters of a text field
    int position = 0;
};

struct IndexDef {
    std::int64_t id = 0;
    std::string name;
    std::string displayName;  // empty: the name
    std::vector<int> fields;  // field positions, most significant first
    bool unique = false;
    bool pending = false;  // the SQLite index is dropped until the next rebuild
};

struct TableDef {
    std::int64_t id = 0;
    std::string name;
    std::string displayName;  // empty: the name
    std::vector<FieldDef> fields;
    std::vector<IndexDef> indexes;
};

struct UserRecord {
    std::string name;
    std::string passwordHash;  // crypto_pwhash_str form
};

struct CatalogData {
    std::vector<TableDef> tables;
    std::vector<UserRecord> users;
};

// SQL names of a table's storage; never derived from names found in a file.
std::string dataTableName(std::int64_t tableId);
std::string indexSqlName(std::int64_t indexId);
std::string columnName(int position);
// The columns of these field positions, joined by separator: "f0, f2".
std::string columnList(const std::vector<int>& positions, const std::string& separator = ", ");
// The columns of every field, in field order.
std::string columnList(const std::vector<FieldDef>& fields);

}  // namespace engine::sqlite
