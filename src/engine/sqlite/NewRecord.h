#pragma once

#include <span>

#include "engine/sqlite/RecordBytes.h"
#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

// The record begun with AddNew and not yet stored, its values packed as they are set (see
// RecordBytes.h): a field set twice keeps the later value, a field never set stores NULL. The
// bytes are kept from one record to the next, so that setting a value allocates nothing once
// the first records are done.
class NewRecord {
public:
    // Begins a record, discarding one begun before.
    void begin() noexcept;

    // Sets one field from value, converted for field; throws NoNewRecord when no record is
    // begun, or what storedView throws; a refused value leaves the record as it was.
    void set(const FieldDef& field, const Variant& value);

    // The values of the record begun, packed, for storing; throws NoNewRecord when no record
    // is begun.
    std::span<const char> finish() const;

    void discard() noexcept { m_active = false; }

    // Throws NoNewRecord when no record is begun.
    void requireActive() const;

private:
    bool m_active = false;
    ByteBuffer m_bytes;
    StoredValue m_scratch;  // a value converted for its field, unless a text taken as it is
};

}  // namespace engine::sqlite
