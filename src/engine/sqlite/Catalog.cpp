#include "engine/sqlite/Catalog.h"

#include <array>
#include <map>
#include <utility>
#include <vector>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/Statement.h"

namespace engine::sqlite {

namespace {

using Columns = std::vector<std::pair<std::string, std::string>>;  // name, declared type

struct CatalogTable {
    const char* name;
    Columns columns;
    const char* constraints;
};

const std::vector<CatalogTable>& catalogTables() {
    static const std::vector<CatalogTable> tables = {
        {"vdb_tables",
         {{"id", "INTEGER"}, {"name", "TEXT"}, {"display_name", "TEXT"}, {"position", "INTEGER"}},
         ", PRIMARY KEY(id)"},
        {"vdb_fields",
         {{"table_id", "INTEGER"},
          {"position", "INTEGER"},
          {"name", "TEXT"},
          {"type", "TEXT"},
          {"size", "INTEGER"}},
         ", PRIMARY KEY(table_id, position)"},
        {"vdb_indexes",
         {{"id", "INTEGER"},
          {"table_id", "INTEGER"},
          {"position", "INTEGER"},
          {"name", "TEXT"},
          {"display_name", "TEXT"},
          {"is_unique", "INTEGER"},
          {"pending", "INTEGER"}},
         ", PRIMARY KEY(id)"},
        {"vdb_index_fields",
         {{"index_id", "INTEGER"}, {"seq", "INTEGER"}, {"field_position", "INTEGER"}},
         ", PRIMARY KEY(index_id, seq)"},
        {"vdb_users", {{"name", "TEXT"}, {"password_hash", "TEXT"}}, ""},
    };
    return tables;
}

constexpr std::array<std::pair<FieldType, const char*>, 4> kTypeNames = {{
    {FieldType::Text, "text"},
    {FieldType::Int16, "int16"},
    {FieldType::Int32, "int32"},
    {FieldType::Bool, "bool"},
}};

const char* typeName(FieldType type) {
    for (const auto& [known, name] : kTypeNames) {
        if (known == type) return name;
    }
    return "";
}

const char* sqlType(FieldType type) {
    return type == FieldType::Text ? "TEXT" : "INTEGER";
}

// Catalog columns are NOT NULL; data columns hold NULL for a field without a value.
std::string createTableSql(const std::string& name, const Columns& columns,
                           const std::string& constraints, bool notNull) {
    std::string sql = "CREATE TABLE " + name + "(";
    for (std::size_t i = 0; i < columns.size(); ++i) {
        sql += (i ? ", " : "") + columns[i].first + " " + columns[i].second;
        if (notNull) sql += " NOT NULL";
    }
    return sql + constraints + ") STRICT";
}

Columns dataColumns(const TableDef& table) {
    Columns columns;
    for (const FieldDef& field : table.fields) {
        columns.emplace_back(columnName(field.position), sqlType(field.type));
    }
    return columns;
}

// Thrown at the first mismatch; load() turns it into the NotADatabase error.
struct Mismatch {};

void expect(bool condition) {
    if (!condition) throw Mismatch{};
}

void expectColumns(Connection& connection, const std::string& table, const Columns& expected) {
    Statement strict(connection,
                     "SELECT strict FROM pragma_table_list WHERE schema = 'main' AND name = ?");
    strict.bindText(1, table);
    expect(strict.step() && strict.columnInt(0) == 1);
    Statement info(connection, "SELECT name, type FROM pragma_table_info(?) ORDER BY cid");
    info.bindText(1, table);
    Columns actual;
    while (info.step()) actual.emplace_back(info.columnText(0), info.columnText(1));
    expect(actual == expected);
}

std::int64_t pragmaValue(Connection& connection, const std::string& pragma) {
    Statement statement(connection, "PRAGMA " + pragma);
    expect(statement.step() && statement.columnType(0) == Statement::ColumnType::Integer);
    return statement.columnInt(0);
}

void checkFileFrame(Connection& connection) {
    expect(pragmaValue(connection, "application_id") == Catalog::kApplicationId);
    expect(pragmaValue(connection, "user_version") == Catalog::kFormatVersion);
    Statement foreign(connection,
                      "SELECT count(*) FROM sqlite_schema WHERE type IN ('trigger', 'view')");
    expect(foreign.step() && foreign.columnInt(0) == 0);
    for (const CatalogTable& table : catalogTables()) {
        expectColumns(connection, table.name, table.columns);
    }
}

FieldType parseType(const std::string& name) {
    for (const auto& [type, known] : kTypeNames) {
        if (name == known) return type;
    }
    throw Mismatch{};
}

std::vector<TableDef> loadTables(Connection& connection) {
    std::vector<TableDef> tables;
    Statement rows(connection, "SELECT id, name, display_name FROM vdb_tables ORDER BY position");
    while (rows.step()) {
        TableDef table;
        table.id = rows.columnInt(0);
        table.name = rows.columnText(1);
        table.displayName = rows.columnText(2);
        expect(table.id > 0 && !table.name.empty());  // ids name the data tables: data_<id>
        tables.push_back(std::move(table));
    }
    return tables;
}

void loadFields(Connection& connection, std::map<std::int64_t, TableDef*>& byId) {
    Statement rows(connection,
                   "SELECT table_id, position, name, type, size FROM vdb_fields "
                   "ORDER BY table_id, position");
    while (rows.step()) {
        auto found = byId.find(rows.columnInt(0));
        expect(found != byId.end());
        TableDef& table = *found->second;
        FieldDef field;
        field.position = static_cast<int>(table.fields.size());
        expect(rows.columnInt(1) == field.position);
        field.name = rows.columnText(2);
        field.type = parseType(rows.columnText(3));
        const std::int64_t size = rows.columnInt(4);
        expect(!field.name.empty());
        expect(field.type != FieldType::Text || (size >= 1 && size <= Catalog::kMaxTextSize));
        field.size = static_cast<std::int32_t>(field.type == FieldType::Text ? size : 0);
        table.fields.push_back(std::move(field));
    }
}

void loadIndexes(Connection& connection, std::map<std::int64_t, TableDef*>& byId) {
    Statement rows(connection,
                   "SELECT id, table_id, name, display_name, is_unique, pending FROM vdb_indexes "
                   "ORDER BY table_id, position");
    Statement parts(connection,
                    "SELECT field_position FROM vdb_index_fields WHERE index_id = ? ORDER BY seq");
    while (rows.step()) {
        auto found = byId.find(rows.columnInt(1));
        expect(found != byId.end());
        TableDef& table = *found->second;
        IndexDef index;
        index.id = rows.columnInt(0);
        index.name = rows.columnText(2);
        index.displayName = rows.columnText(3);
        index.unique = rows.columnInt(4) != 0;
        index.pending = rows.columnInt(5) != 0;
        parts.bindInt(1, index.id);
        while (parts.step()) {
            const std::int64_t position = parts.columnInt(0);
            expect(position >= 0 && position < static_cast<std::int64_t>(table.fields.size()));
            index.fields.push_back(static_cast<int>(position));
        }
        parts.reset();
        expect(index.id > 0 && !index.name.empty() && !index.fields.empty());
        table.indexes.push_back(std::move(index));
    }
}

std::vector<UserRecord> loadUsers(Connection& connection) {
    std::vector<UserRecord> users;
    Statement rows(connection, "SELECT name, password_hash FROM vdb_users ORDER BY rowid");
    while (rows.step()) users.push_back({rows.columnText(0), rows.columnText(1)});
    return users;
}

void writeTable(Connection& connection, const TableDef& table, std::int64_t position) {
    Statement row(connection,
                  "INSERT INTO vdb_tables(id, name, display_name, position) VALUES (?, ?, ?, ?)");
    row.bindInt(1, table.id);
    row.bindText(2, table.name);
    row.bindText(3, table.displayName);
    row.bindInt(4, position);
    row.run();
    Statement field(connection,
                    "INSERT INTO vdb_fields(table_id, position, name, type, size) "
                    "VALUES (?, ?, ?, ?, ?)");
    for (const FieldDef& def : table.fields) {
        field.bindInt(1, table.id);
        field.bindInt(2, def.position);
        field.bindText(3, def.name);
        field.bindText(4, typeName(def.type));
        field.bindInt(5, def.size);
        field.run();
    }
    connection.exec(createTableSql(dataTableName(table.id), dataColumns(table), "", false));
}

void writeIndex(Connection& connection, const TableDef& table, const IndexDef& index,
                std::int64_t position) {
    Statement row(connection,
                  "INSERT INTO vdb_indexes(id, table_id, position, name, display_name, is_unique, "
                  "pending) VALUES (?, ?, ?, ?, ?, ?, 0)");
    row.bindInt(1, index.id);
    row.bindInt(2, table.id);
    row.bindInt(3, position);
    row.bindText(4, index.name);
    row.bindText(5, index.displayName);
    row.bindInt(6, index.unique ? 1 : 0);
    row.run();
    Statement part(connection,
                   "INSERT INTO vdb_index_fields(index_id, seq, field_position) VALUES (?, ?, ?)");
    for (std::size_t seq = 0; seq < index.fields.size(); ++seq) {
        part.bindInt(1, index.id);
        part.bindInt(2, static_cast<std::int64_t>(seq));
        part.bindInt(3, index.fields[seq]);
        part.run();
    }
    connection.exec(Catalog::createIndexSql(table, index));
}

}  // namespace

void Catalog::write(Connection& connection, const CatalogData& data) {
    connection.exec("PRAGMA application_id = " + std::to_string(kApplicationId) +
                    "; PRAGMA user_version = " + std::to_string(kFormatVersion) + ";");
    for (const CatalogTable& table : catalogTables()) {
        connection.exec(createTableSql(table.name, table.columns, table.constraints, true));
    }
    for (std::size_t t = 0; t < data.tables.size(); ++t) {
        const TableDef& table = data.tables[t];
        writeTable(connection, table, static_cast<std::int64_t>(t));
        for (std::size_t i = 0; i < table.indexes.size(); ++i) {
            writeIndex(connection, table, table.indexes[i], static_cast<std::int64_t>(i));
        }
    }
    Statement user(connection, "INSERT INTO vdb_users(name, password_hash) VALUES (?, ?)");
    for (const UserRecord& record : data.users) {
        user.bindText(1, record.name);
        user.bindText(2, record.passwordHash);
        user.run();
    }
}

CatalogData Catalog::load(Connection& connection, const std::string& path) {
    try {
        checkFileFrame(connection);
        CatalogData data;
        data.tables = loadTables(connection);
        std::map<std::int64_t, TableDef*> byId;
        for (TableDef& table : data.tables) byId[table.id] = &table;
        expect(byId.size() == data.tables.size());
        loadFields(connection, byId);
        loadIndexes(connection, byId);
        for (const TableDef& table : data.tables) {
            expect(!table.fields.empty());
            expectColumns(connection, dataTableName(table.id), dataColumns(table));
        }
        data.users = loadUsers(connection);
        return data;
    } catch (const Mismatch&) {
        throw Error(codes::NotADatabase, messages::notADatabase(path));
    } catch (const Error& error) {
        if (error.code() == codes::FileLocked || error.code() == codes::NeedsRecovery) throw;
        throw Error(codes::NotADatabase, messages::notADatabase(path));
    }
}

void Catalog::setPending(Connection& connection, std::int64_t indexId, bool pending) {
    Statement update(connection, "UPDATE vdb_indexes SET pending = ? WHERE id = ?");
    update.bindInt(1, pending ? 1 : 0);
    update.bindInt(2, indexId);
    update.run();
}

std::string Catalog::createIndexSql(const TableDef& table, const IndexDef& index) {
    std::string sql = std::string(index.unique ? "CREATE UNIQUE INDEX " : "CREATE INDEX ") +
                      indexSqlName(index.id) + " ON " + dataTableName(table.id) + "(";
    return sql + columnList(index.fields) + ")";
}

}  // namespace engine::sqlite
