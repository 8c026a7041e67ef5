#include "engine/sqlite/SchemaCheck.h"

#include <set>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/NameFold.h"
#include "engine/sqlite/NameIndex.h"
#include "engine/sqlite/PasswordHash.h"

namespace engine::sqlite {

namespace {

constexpr std::int32_t kMaxTextSize = 65535;

[[noreturn]] void invalid(const std::string& problem) {
    throw Error(codes::InvalidArgument, "Ungültiges Datenbankschema: " + problem);
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

FieldDef fieldFrom(const FieldSpec& spec, int position) {
    FieldDef field{spec.name, spec.type, 0, position};
    switch (spec.type) {
        case FieldType::Text:
            if (spec.size < 1 || spec.size > kMaxTextSize) {
                invalid("Feld " + messages::quoted(spec.name) + " hat die ungültige Länge " +
                        std::to_string(spec.size) + ".");
            }
            field.size = spec.size;
            return field;
        case FieldType::Int16:
        case FieldType::Int32:
        case FieldType::Bool:
            return field;
    }
    invalid("Feld " + messages::quoted(spec.name) + " hat einen unbekannten Typ.");
}

IndexDef indexFrom(const IndexSpec& spec, const NameIndex& fields, std::int64_t id) {
    IndexDef index{id, spec.name, spec.displayName, {}, spec.unique, false};
    if (spec.fields.empty()) invalid("Index " + messages::quoted(spec.name) + " ohne Felder.");
    for (const std::string& name : spec.fields) {
        auto position = fields.find(name);
        if (!position) {
            invalid("Index " + messages::quoted(spec.name) + " nennt das unbekannte Feld " +
                    messages::quoted(name) + ".");
        }
        index.fields.push_back(*position);
    }
    return index;
}

TableDef tableFrom(const TableSpec& spec, std::int64_t id, std::int64_t& nextIndexId) {
    TableDef table{id, spec.name, spec.displayName, {}, {}};
    if (spec.fields.empty()) invalid("Tabelle " + messages::quoted(spec.name) + " ohne Felder.");
    UniqueNames fieldNames("Feld");
    NameIndex positions;
    for (const FieldSpec& field : spec.fields) {
        fieldNames.add(field.name);
        const int position = static_cast<int>(table.fields.size());
        positions.add(field.name, position);
        table.fields.push_back(fieldFrom(field, position));
    }
    UniqueNames indexNames("Index");
    for (const IndexSpec& index : spec.indexes) {
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
    for (const TableSpec& spec : schema.tables) {
        tableNames.add(spec.name);
        data.tables.push_back(
            tableFrom(spec, static_cast<std::int64_t>(data.tables.size()) + 1, nextIndexId));
    }
    UniqueNames userNames("Benutzer");
    for (const UserSpec& user : schema.users) {
        userNames.add(user.name);
        data.users.push_back({user.name, hashPassword(user.password)});
    }
    return data;
}

}  // namespace engine::sqlite
