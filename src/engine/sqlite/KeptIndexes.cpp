#include "engine/sqlite/KeptIndexes.h"

#include <algorithm>

#include "engine/sqlite/Catalog.h"
#include "engine/sqlite/Connection.h"
#include "engine/sqlite/Statement.h"

namespace engine::sqlite {

namespace {

// SQLite's order of stored values: NULL, then integers by value, then texts byte by byte
// (the BINARY collation every index of ours uses).
int compareStored(const StoredView& left, const StoredView& right) {
    if (left.index() != right.index()) return left.index() < right.index() ? -1 : 1;
    if (const auto* number = std::get_if<std::int64_t>(&left)) {
        const std::int64_t other = std::get<std::int64_t>(right);
        return *number < other ? -1 : (*number > other ? 1 : 0);
    }
    if (const auto* text = std::get_if<std::string_view>(&left)) {
        const int order = text->compare(std::get<std::string_view>(right));
        return order < 0 ? -1 : (order > 0 ? 1 : 0);
    }
    return 0;
}

// Copies value into slot, reusing the text buffer the slot holds.
void keepCopy(StoredValue& slot, const StoredView& value) {
    if (const auto* number = std::get_if<std::int64_t>(&value)) {
        slot = *number;
    } else if (const auto* text = std::get_if<std::string_view>(&value)) {
        if (auto* buffer = std::get_if<std::string>(&slot)) {
            buffer->assign(*text);
        } else {
            slot = std::string(*text);
        }
    } else {
        slot = std::monostate{};
    }
}

bool isEmpty(Connection& connection, const TableDef& table) {
    Statement any(connection, "SELECT 1 FROM " + dataTableName(table.id) + " LIMIT 1");
    return !any.step();
}

}  // namespace

KeptIndexes::KeptIndexes(const TableDef& table) : m_table(table), m_indexes(table.indexes.size()) {
    for (std::size_t i = 0; i < m_indexes.size(); ++i) {
        if (!table.indexes[i].pending) m_indexes[i].state = State::Built;
        m_reviewDue = m_reviewDue || table.indexes[i].pending;
    }
}

void KeptIndexes::beforeStore(Connection& connection, std::span<const StoredView> records) {
    if (m_reviewDue) review(connection);
    if (!m_anyKept) return;
    const std::size_t fieldCount = m_table.fields.size();
    for (std::size_t first = 0; first + fieldCount <= records.size(); first += fieldCount) {
        const auto record = records.subspan(first, fieldCount);
        for (std::size_t i = 0; i < m_indexes.size(); ++i) {
            if (m_indexes[i].state == State::Kept && !append(i, record)) drop(connection, i);
        }
    }
}

bool KeptIndexes::isKept(Connection& connection, std::size_t position) const {
    if (m_indexes[position].state != State::Kept) return false;
    Statement present(connection, "SELECT 1 FROM sqlite_schema WHERE type = 'index' AND name = ?");
    present.bindText(1, indexSqlName(m_table.indexes[position].id));
    return present.step();
}

void KeptIndexes::markBuilt(std::size_t position) noexcept {
    m_indexes[position] = {State::Built, {}};
    m_anyKept = anyIn(State::Kept);
}

void KeptIndexes::stopKeeping(Connection& connection) {
    for (std::size_t i = 0; i < m_indexes.size(); ++i) {
        if (m_indexes[i].state == State::Kept) drop(connection, i);
    }
}

void KeptIndexes::tableEmptied() noexcept {
    for (Watched& index : m_indexes) index.lastKey.clear();
}

void KeptIndexes::distrust() noexcept {
    for (Watched& index : m_indexes) {
        if (index.state == State::Kept || index.state == State::Dropped) {
            index = {State::Doubtful, {}};
            m_reviewDue = true;
        }
    }
    m_anyKept = false;
}

void KeptIndexes::restart() noexcept {
    for (Watched& index : m_indexes) index = {State::Undecided, {}};
    m_reviewDue = !m_indexes.empty();
    m_anyKept = false;
}

void KeptIndexes::review(Connection& connection) {
    const bool keep =
        anyIn(State::Undecided) && !connection.anyStatementBusy() && isEmpty(connection, m_table);
    for (std::size_t i = 0; i < m_indexes.size(); ++i) {
        const State state = m_indexes[i].state;
        if (state != State::Undecided && state != State::Doubtful) continue;
        // An index of a load that was cut off may still be in the file.
        drop(connection, i);
        if (keep && state == State::Undecided) {
            connection.exec(Catalog::createIndexSql(m_table, m_table.indexes[i]));
            m_indexes[i].state = State::Kept;
            m_anyKept = true;
        }
    }
    m_reviewDue = false;
}

bool KeptIndexes::append(std::size_t position, std::span<const StoredView> record) {
    const IndexDef& index = m_table.indexes[position];
    std::vector<StoredValue>& lastKey = m_indexes[position].lastKey;
    if (!lastKey.empty()) {
        int order = 0;
        bool partlyNull = false;
        for (std::size_t k = 0; k < index.fields.size(); ++k) {
            const StoredView& value = record[static_cast<std::size_t>(index.fields[k])];
            partlyNull = partlyNull || std::holds_alternative<std::monostate>(value);
            if (order == 0) order = compareStored(value, viewOf(lastKey[k]));
        }
        if (order < 0 || (order == 0 && index.unique && !partlyNull)) return false;
    }
    lastKey.resize(index.fields.size());
    for (std::size_t k = 0; k < index.fields.size(); ++k) {
        keepCopy(lastKey[k], record[static_cast<std::size_t>(index.fields[k])]);
    }
    return true;
}

void KeptIndexes::drop(Connection& connection, std::size_t position) {
    connection.exec("DROP INDEX IF EXISTS " + indexSqlName(m_table.indexes[position].id));
    m_indexes[position] = {State::Dropped, {}};
    m_anyKept = anyIn(State::Kept);
}

bool KeptIndexes::anyIn(State state) const noexcept {
    return std::any_of(m_indexes.begin(), m_indexes.end(),
                       [state](const Watched& index) { return index.state == state; });
}

}  // namespace engine::sqlite
