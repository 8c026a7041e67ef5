#include "engine/sqlite/SqliteIndexes.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/DatabaseState.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/RecordCursor.h"
#include "engine/sqlite/SqliteIndex.h"
#include "engine/sqlite/TableState.h"

namespace engine::sqlite {

SqliteIndexes::SqliteIndexes(std::shared_ptr<DatabaseState> database, TableState& table,
                             std::vector<std::shared_ptr<SqliteIndex>> indexes,
                             std::shared_ptr<RecordCursor> cursor)
    : m_database(std::move(database)),
      m_table(table),
      m_indexes(std::move(indexes)),
      m_cursor(std::move(cursor)) {
    const auto& defs = m_table.def().indexes;
    for (std::size_t i = 0; i < defs.size(); ++i) m_names.add(defs[i].name, static_cast<int>(i));
}

std::int32_t SqliteIndexes::Count() {
    m_database->requireOpen();
    return static_cast<std::int32_t>(m_indexes.size());
}

std::shared_ptr<Index> SqliteIndexes::ItemAt(std::int32_t position) {
    if (position < 0 || position >= Count()) {
        throw Error(codes::InvalidArgument, messages::invalidIndexNumber(position));
    }
    return m_indexes[static_cast<std::size_t>(position)];
}

void SqliteIndexes::Activate(const Variant& key) {
    m_database->requireOpen();
    const int position = positionOf(key);
    m_cursor->setOrder(&m_table.def().indexes[static_cast<std::size_t>(position)]);
}

int SqliteIndexes::positionOf(const Variant& key) {
    std::int32_t position = -1;
    switch (key.type()) {
        case Variant::Type::Int16:
            position = key.int16();
            break;
        case Variant::Type::Int32:
            position = key.int32();
            break;
        case Variant::Type::Text:
            if (auto found = m_names.find(key.text())) return *found;
            throw Error(codes::NoSuchIndex, messages::noSuchIndex(m_table.def().name, key.text()));
        default:
            throw Error(codes::TypeMismatch, messages::indexKeyType());
    }
    if (position < 0 || position >= Count()) {
        throw Error(codes::NoSuchIndex,
                    messages::noSuchIndex(m_table.def().name, std::to_string(position)));
    }
    return position;
}

}  // namespace engine::sqlite
