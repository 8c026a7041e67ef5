#include "engine/sqlite/NewRecord.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"

namespace engine::sqlite {

void NewRecord::begin() noexcept {
    m_bytes.clear();
    m_active = true;
}

void NewRecord::set(const FieldDef& field, const Variant& value) {
    requireActive();
    record_bytes::append(m_bytes, field.position, storedView(field, value, m_scratch));
}

std::span<const char> NewRecord::finish() const {
    requireActive();
    return m_bytes.bytes();
}

void NewRecord::requireActive() const {
    if (!m_active) {
        throw Error(codes::NoNewRecord, messages::noNewRecord());
    }
}

}  // namespace engine::sqlite
