#pragma once

#include <string>

#include "engine/Variant.h"
#include "engine/sqlite/SqliteEngine.h"
#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

// Why a field refuses a value on a write.
enum class Refusal {
    None,         // the field takes the value
    WrongType,    // a kind of value the field's type cannot hold, or text that is no integer
    InvalidText,  // text that is not valid UTF-8
    TooLong,      // text longer than the field's size in code points
    OutOfRange,   // an integer outside the field's 16- or 32-bit range
};

// Tries values on one field exactly as Field::SetValue converts them on a write (storeInto),
// but stores nothing anywhere: a prediction of a copy and the copy itself can never disagree
// on which value a field refuses.
class ValueProbe {
public:
    explicit ValueProbe(const FieldSpec& field);

    // Converts value for the field. Returns Refusal::None when the field takes it, otherwise
    // why it refuses it. Throws only what is no refusal (out of memory).
    Refusal tryValue(const Variant& value);

    // Appends to key the value that the last tryValue converted, in a form that two values
    // share exactly when the field stores them as equal (as a unique index compares them).
    // Returns false and appends nothing when the field stores no value (NULL), which a unique
    // index never counts as a duplicate, or when the last tryValue refused its value.
    bool appendStoredKey(std::string& key) const;

    // True when value, as a read of the field returns a stored value (nothing for NULL, an
    // integer or Boolean for a number, text for text), is the one the last tryValue converted.
    // Only meaningful after a tryValue that returned Refusal::None.
    bool holdsStored(const Variant& value) const;

private:
    Refusal reasonFor(const Variant& value) const;

    FieldDef m_def;
    StoredValue m_slot;  // the last converted value; its text buffer is reused
};

}  // namespace engine::sqlite
