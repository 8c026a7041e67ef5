#pragma once

#include <cstddef>
#include <vector>

#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

// The record begun with AddNew and not yet stored: one value per field, NULL until set. The
// slots outlive each record, so that text buffers are reused from one record to the next.
class NewRecord {
public:
    // Begins a record of fieldCount fields, discarding one begun before.
    void begin(std::size_t fieldCount);

    // Sets one field from value, converted for field; throws NoNewRecord when no record is
    // begun, or what storeInto throws.
    void set(const FieldDef& field, const Variant& value);

    // The values of the record begun, NULL for each field not set, for storing; throws
    // NoNewRecord when no record is begun.
    const std::vector<StoredValue>& finish();

    void discard() noexcept { m_active = false; }

    // Throws NoNewRecord when no record is begun.
    void requireActive() const;

private:
    bool m_active = false;
    std::vector<StoredValue> m_values;
    std::vector<char> m_isSet;  // whether the slot holds this record's value
};

}  // namespace engine::sqlite
