#pragma once

#include <cstdint>
#include <memory>

#include "engine/Variant.h"

namespace engine {

class Field;

// A table's fields in their defined order, enumerable as ItemAt(0) .. ItemAt(Count() - 1).
class Fields : public Object {
public:
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<Field> ItemAt(std::int32_t position) = 0;

    // The field of that name, matched case-insensitively; NoSuchField when there is none.
    virtual std::shared_ptr<Field> Item(const Variant& key) = 0;
};

}  // namespace engine
