#pragma once

#include <string>

#include "engine/Variant.h"

namespace engine {

// One field of a table. It follows the table's cursor: Value() reads the current record.
class Field : public Object {
public:
    virtual std::string Name() = 0;

    // The field's value in the current record; NoCurrentRecord at EOF.
    virtual Variant Value() = 0;

    // Sets the field of the record begun with AddNew, converted to the field's type.
    // Throws ValueRefused for a value that does not fit; an empty Variant stores no value.
    virtual void SetValue(const Variant& value) = 0;
};

}  // namespace engine
