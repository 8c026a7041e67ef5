#pragma once

#include <cstdint>
#include <limits>

#include "copy/RunErrorCodes.h"
#include "engine/Error.h"

namespace dbcopy {

// The number of records a table copy has stored: a signed 32-bit count that refuses to wrap.
class RecordCounter {
public:
    explicit RecordCounter(std::int32_t start = 0) : m_value(start) {}

    std::int32_t value() const noexcept { return m_value; }

    // Adds one. Throws engine::Error (codes::Overflow, "Überlauf") instead of passing the
    // largest signed 32-bit value; the count then stays unchanged.
    void increment() {
        if (m_value == std::numeric_limits<std::int32_t>::max()) {
            throw engine::Error(codes::Overflow, "Überlauf");
        }
        ++m_value;
    }

private:
    std::int32_t m_value;
};

}  // namespace dbcopy
