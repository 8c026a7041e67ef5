#include "engine/sqlite/NewRecord.h"

#include <algorithm>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"

namespace engine::sqlite {

void NewRecord::begin(std::size_t fieldCount) {
    m_values.resize(fieldCount);
    m_isSet.assign(fieldCount, 0);
    m_active = true;
}

void NewRecord::set(const FieldDef& field, const Variant& value) {
    requireActive();
    const auto position = static_cast<std::size_t>(field.position);
    storeInto(m_values[position], field, value);
    m_isSet[position] = 1;
}

const std::vector<StoredValue>& NewRecord::finish() {
    requireActive();
    for (std::size_t i = 0; i < m_values.size(); ++i) {
        if (!m_isSet[i]) m_values[i] = std::monostate{};
    }
    return m_values;
}

void NewRecord::requireActive() const {
    if (!m_active) {
        throw Error(codes::NoNewRecord, messages::noNewRecord());
    }
}

}  // namespace engine::sqlite
