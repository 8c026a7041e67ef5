#include "engine/sqlite/SchemaCheck.h"

#include <set>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Catalog.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/NameFold.h"
#include "engine/sqlite/NameIndex.h"
#include "engine/sqlite/PasswordHash.h"

namespace engine::sqlite {

namespace {

[[noreturn]] void invalid(const std::string& problem) {
    throw Error(codes::InvalidArgument, messages::invalidSchema(problem));
}

// Refuses empty names and names that repeat case-insensitively within one set.
class UniqueNames {
public:
    explicit UniqueNames(const char* kind) : m_kind(kind) {}
    void add(const std::string& name) {
        if (name.empty()) invalid(std::string(m_kind) + " ohne Namen.");
        if (!m_seen.insert(foldName(name)).second) {
            invalid(std::string(m_kind) + " " + messages::quoted(name) + " ist doppelt.");
        }
    }

private:
    const char* m_kind;
    std::set<std::string> m_seen;
};

FieldDef fieldFrom(const FieldSpec& described, int position) {
    FieldDef field{described.name, described.type, 0, position};
    switch (described.type) {
        case FieldType::Text:
            if (described.size < 1 || described.size > Catalog::kMaxTextSize) {
                invalid("Feld " + messages::quoted(described.name) + " hat die ungültige Länge " +
                        std::to_string(described.size) + ".");
            }
            field.size = described.size;
            return field;
        case FieldType::Int16:
        case FieldType::Int32:
        case FieldType::Bool:
            return field;
    }
    invalid("Feld " + messages::quoted(described.name) + " hat einen unbekannten Typ.");
}

IndexDef indexFrom(const IndexSpec& described, const NameIndex& fields, std::int64_t id) {
    IndexDef index{id, described.name, described.displayName, {}, described.unique, false};
    if (described.fields.empty())
        invalid("Index " + messages::quoted(described.name) + " ohne Felder.");
    for (const std::string& name : described.fields) {
        auto position = fields.find(name);
        if (!position) {
            invalid("Index " + messages::quoted(described.name) + " nennt das unbekannte Feld " +
                    messages::quoted(name) + ".");
        }
        index.fields.push_back(*position);
    }
    return index;
}

TableDef tableFrom(const TableSpec& described, std::int64_t id, std::int64_t& nextIndexId) {
    TableDef table{id, described.name, described.displayName, {}, {}};
    if (described.fields.empty())
        invalid("Tabelle " + messages::quoted(described.name) + " ohne Felder.");
    UniqueNames fieldNames("Feld");
    NameIndex positions;
    for (const FieldSpec& field : described.fields) {
        fieldNames.add(field.name);
        const int position = static_cast<int>(table.fields.size());
        positions.add(field.name, position);
        table.fields.push_back(fieldFrom(field, position));
    }
    UniqueNames indexNames("Index");
    for (const IndexSpec& index : described.indexes) {
        indexNames.add(index.name);
        table.indexes.push_back(indexFrom(index, positions, nextIndexId++));
    }
    return table;
}

}  // namespace

CatalogData catalogFromSchema(const Schema& schema) {
    CatalogData data;
    if (schema.users.empty()) invalid("kein Benutzer angegeben.");
    UniqueNames tableNames("Tabelle");
    std::int64_t nextIndexId = 1;
    for (const TableSpec& described : schema.tables) {
        tableNames.add(described.name);
        data.tables.push_back(
            tableFrom(described, static_cast<std::int64_t>(data.tables.size()) + 1, nextIndexId));
    }
    UniqueNames userNames("Benutzer");
    for (const UserSpec& user : schema.users) {
        userNames.add(user.name);
        data.users.push_back({user.name, hashPassword(user.password)});
    }
    return data;
}

}  // namespace engine::sqlite
