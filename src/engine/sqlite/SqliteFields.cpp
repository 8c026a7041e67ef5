#include "engine/sqlite/SqliteFields.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/CatalogModel.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/SqliteField.h"

namespace engine::sqlite {

SqliteFields::SqliteFields(std::shared_ptr<DatabaseState> database, const TableDef& table,
                           std::vector<std::shared_ptr<SqliteField>> fields)
    : m_database(std::move(database)), m_tableName(table.name), m_fields(std::move(fields)) {
    for (std::size_t i = 0; i < table.fields.size(); ++i) {
        m_fieldNames.push_back(table.fields[i].name);
        m_names.add(m_fieldNames.back(), static_cast<int>(i));
    }
}

std::int32_t SqliteFields::Count() {
    m_database->requireOpen();
    return static_cast<std::int32_t>(m_fields.size());
}

std::shared_ptr<Field> SqliteFields::ItemAt(std::int32_t position) {
    if (position < 0 || position >= Count()) {
        throw Error(codes::InvalidArgument, messages::invalidFieldNumber(position));
    }
    return m_fields[static_cast<std::size_t>(position)];
}

std::shared_ptr<Field> SqliteFields::Item(const Variant& key) {
    m_database->requireOpen();
    const std::string& name = key.text();
    // A copy asks for the fields record after record in the same order, mostly field order:
    // trying the field after the last one found spares hashing the name.
    std::size_t position = m_nextGuess < m_fields.size() ? m_nextGuess : 0;
    if (m_fields.empty() || m_fieldNames[position] != name) {
        const auto found = m_names.find(name);
        if (!found) throw Error(codes::NoSuchField, messages::noSuchField(m_tableName, name));
        position = static_cast<std::size_t>(*found);
    }
    m_nextGuess = position + 1;
    return m_fields[position];
}

}  // namespace engine::sqlite
