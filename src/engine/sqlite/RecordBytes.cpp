#include "engine/sqlite/RecordBytes.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace engine::sqlite {

void ByteBuffer::grow(std::size_t needed) {
    const std::size_t capacity = std::max(needed, 2 * m_capacity);
    auto data = std::make_unique_for_overwrite<char[]>(capacity);
    if (m_size > 0) std::memcpy(data.get(), m_data.get(), m_size);
    m_data = std::move(data);
    m_capacity = capacity;
}

namespace record_bytes {

namespace {

enum class Kind : char { Null, Number, Text };

template <typename T>
char* put(char* next, const T& value) {
    std::memcpy(next, &value, sizeof value);
    return next + sizeof value;
}

template <typename T>
T take(const char*& next) {
    T value;
    std::memcpy(&value, next, sizeof value);
    next += sizeof value;
    return value;
}

}  // namespace

void append(ByteBuffer& bytes, int position, const StoredView& value) {
    const auto* number = std::get_if<std::int64_t>(&value);
    const auto* text = std::get_if<std::string_view>(&value);
    std::size_t size = sizeof(std::uint32_t) + sizeof(Kind);
    if (number) size += sizeof(std::int64_t);
    if (text) size += sizeof(std::uint32_t) + text->size();
    char* next = put(bytes.extend(size), static_cast<std::uint32_t>(position));
    if (number) {
        put(put(next, Kind::Number), *number);
    } else if (text) {
        next = put(put(next, Kind::Text), static_cast<std::uint32_t>(text->size()));
        if (!text->empty()) std::memcpy(next, text->data(), text->size());
    } else {
        put(next, Kind::Null);
    }
}

void read(std::span<const char> bytes, std::span<StoredView> values) {
    const char* next = bytes.data();
    const char* const end = next + bytes.size();
    while (next < end) {
        StoredView& value = values[take<std::uint32_t>(next)];
        switch (take<Kind>(next)) {
            case Kind::Number:
                value = take<std::int64_t>(next);
                break;
            case Kind::Text: {
                const auto size = take<std::uint32_t>(next);
                value = std::string_view(next, size);
                next += size;
                break;
            }
            case Kind::Null:
                value = std::monostate{};
                break;
        }
    }
}

void appendRecord(ByteBuffer& records, std::span<const char> record) {
    const auto size = static_cast<std::uint32_t>(record.size());
    char* next = put(records.extend(sizeof size + size), size);
    if (size > 0) std::memcpy(next, record.data(), size);  // a record of no value
}

std::span<const char> takeRecord(const char*& next) {
    const auto size = take<std::uint32_t>(next);
    const std::span<const char> record(next, size);
    next += size;
    return record;
}

}  // namespace record_bytes
}  // namespace engine::sqlite
