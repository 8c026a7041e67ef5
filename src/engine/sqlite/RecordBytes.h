#pragma once

#include <cstddef>
#include <memory>
#include <span>

#include "engine/sqlite/ValueConversion.h"

namespace engine::sqlite {

// Bytes appended to one after the other, without the zeroing of a vector that grows: records
// are packed value by value, and each value would be written twice.
class ByteBuffer {
public:
    // Room for bytes more at the end, to be written by the caller.
    char* extend(std::size_t bytes) {
        if (m_size + bytes > m_capacity) grow(m_size + bytes);
        char* end = m_data.get() + m_size;
        m_size += bytes;
        return end;
    }
    void clear() noexcept { m_size = 0; }
    std::span<const char> bytes() const noexcept { return {m_data.get(), m_size}; }

private:
    void grow(std::size_t needed);

    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
    std::size_t m_capacity = 0;
};

// One record's values as bytes, the form in which a record is built and handed to the bulk load's
// writer: per value set, its field position, its kind and the number or the text's length and
// bytes, in the order the values were set. A record so packed is copied with one copy and lies
// on a few neighbouring cache lines, which is what passes between the processor's cores.
namespace record_bytes {

// Appends value as the value of the field at position.
void append(ByteBuffer& bytes, int position, const StoredView& value);

// Sets values[position] for each value in bytes, a later one over an earlier one of the same
// field; the texts point into bytes. values holds one value per field, NULL where none is set.
void read(std::span<const char> bytes, std::span<StoredView> values);

// Appends one packed record to records, after its length, so that records hold one record after
// the other.
void appendRecord(ByteBuffer& records, std::span<const char> record);

// The packed record at next in records made by appendRecord; moves next past it.
std::span<const char> takeRecord(const char*& next);

}  // namespace record_bytes
}  // namespace engine::sqlite
