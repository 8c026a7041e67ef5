#pragma once

#include <cstdint>
#include <memory>

#include "engine/Variant.h"

namespace engine {

class Table;

// A database's tables, enumerable as ItemAt(0) .. ItemAt(Count() - 1).
class Tables : public Object {
public:
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<Table> ItemAt(std::int32_t position) = 0;

    // The table of that name, matched case-insensitively; NoSuchTable when there is none.
    virtual std::shared_ptr<Table> Item(const Variant& key) = 0;
};

}  // namespace engine
