#pragma once

#include <cstddef>
#include <vector>

#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

// The record begun with AddNew and not yet stored: one value per field, NULL until set.
class NewRecord {
public:
    // Begins a record of fieldCount fields, discarding one begun before.
    void begin(std::size_t fieldCount);
    bool active() const noexcept { return m_active; }
    // Sets one field; throws NoNewRecord when no record is begun.
    void set(int position, StoredValue value);
    // The values of the record begun; throws NoNewRecord when none is.
    const std::vector<StoredValue>& values() const;
    void discard() noexcept { m_active = false; }

private:
    void requireActive() const;

    bool m_active = false;
    std::vector<StoredValue> m_values;
};

}  // namespace engine::sqlite
