#include "engine/sqlite/NewRecord.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"

namespace engine::sqlite {

void NewRecord::begin(std::size_t fieldCount) {
    m_values.assign(fieldCount, std::monostate{});
    m_active = true;
}

void NewRecord::set(int position, StoredValue value) {
    requireActive();
    m_values[static_cast<std::size_t>(position)] = std::move(value);
}

const std::vector<StoredValue>& NewRecord::values() const {
    requireActive();
    return m_values;
}

void NewRecord::requireActive() const {
    if (!m_active) {
        throw Error(codes::NoNewRecord, "Es wurde kein neuer Datensatz mit AddNew begonnen.");
    }
}

}  // namespace engine::sqlite
