#pragma once

#include <cstdint>
#include <memory>

#include "engine/Variant.h"

namespace engine {

class Index;

// A table's indexes, enumerable as ItemAt(0) .. ItemAt(Count() - 1).
class Indexes : public Object {
public:
    virtual std::int32_t Count() = 0;
    virtual std::shared_ptr<Index> ItemAt(std::int32_t position) = 0;

    // Makes an index the table's active one: key is a name (case-insensitive) or a
    // zero-based position as a 16- or 32-bit integer. NoSuchIndex when none matches. May
    // raise an earlier record's failure (see the head of DbServer.h).
    virtual void Activate(const Variant& key) = 0;
};

}  // namespace engine
