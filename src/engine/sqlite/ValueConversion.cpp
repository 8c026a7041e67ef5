#include "engine/sqlite/ValueConversion.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/NameFold.h"

#include <array>
#include <charconv>
#include <cstring>
#include <limits>

namespace engine::sqlite {

namespace {

std::string describe(const Variant& value) {
    switch (value.type()) {
        case Variant::Type::Text:
            return messages::quoted(value.text());
        case Variant::Type::Int16:
            return std::to_string(value.int16());
        case Variant::Type::Int32:
            return std::to_string(value.int32());
        case Variant::Type::Boolean:
            return value.boolean() ? "true" : "false";
        case Variant::Type::Object:
            return "(Objekt)";
        case Variant::Type::Array:
            return "(Datenfeld)";
        default:
            return "(leer)";
    }
}

[[noreturn]] void refuse(const FieldDef& field, const Variant& value, const std::string& why) {
    throw Error(codes::ValueRefused, "Der Wert " + describe(value) + " passt nicht in das Feld " +
                                         messages::quoted(field.name) + ": " + why);
}

// Refuses text that is not valid UTF-8 or longer than the field's size in code points.
void checkText(const FieldDef& field, const Variant& value, std::string_view text) {
    const std::int64_t length = codePointCount(text);
    if (length < 0) refuse(field, value, "kein gültiger Unicode-Text.");
    if (length > field.size) {
        refuse(field, value, "länger als " + std::to_string(field.size) + " Zeichen.");
    }
}

StoredValue toText(const FieldDef& field, const Variant& value) {
    std::string text;
    switch (value.type()) {
        case Variant::Type::Text:
            text = value.text();
            break;
        case Variant::Type::Int16:
            text = std::to_string(value.int16());
            break;
        case Variant::Type::Int32:
            text = std::to_string(value.int32());
            break;
        case Variant::Type::Boolean:
            text = value.boolean() ? "true" : "false";
            break;
        default:
            refuse(field, value, "kein Text.");
    }
    checkText(field, value, text);
    return text;
}

std::int64_t parseInteger(const FieldDef& field, const Variant& value) {
    const std::string& text = value.text();
    std::size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (start == text.size()) refuse(field, value, "keine ganze Zahl.");
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') refuse(field, value, "keine ganze Zahl.");
    }
    std::int64_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (error != std::errc() || end != text.data() + text.size()) {
        refuse(field, value, "außerhalb des Wertebereichs.");
    }
    return number;
}

StoredValue toInteger(const FieldDef& field, const Variant& value) {
    std::int64_t number = 0;
    switch (value.type()) {
        case Variant::Type::Int16:
            number = value.int16();
            break;
        case Variant::Type::Int32:
            number = value.int32();
            break;
        case Variant::Type::Boolean:
            number = value.boolean() ? 1 : 0;
            break;
        case Variant::Type::Text:
            number = parseInteger(field, value);
            break;
        default:
            refuse(field, value, "keine ganze Zahl.");
    }
    const bool small = field.type == FieldType::Int16;
    const std::int64_t low =
        small ? std::numeric_limits<std::int16_t>::min() : std::numeric_limits<std::int32_t>::min();
    const std::int64_t high =
        small ? std::numeric_limits<std::int16_t>::max() : std::numeric_limits<std::int32_t>::max();
    if (number < low || number > high) refuse(field, value, "außerhalb des Wertebereichs.");
    return number;
}

StoredValue toBool(const FieldDef& field, const Variant& value) {
    switch (value.type()) {
        case Variant::Type::Boolean:
            return std::int64_t{value.boolean() ? 1 : 0};
        case Variant::Type::Int16:
            return std::int64_t{value.int16() != 0 ? 1 : 0};
        case Variant::Type::Int32:
            return std::int64_t{value.int32() != 0 ? 1 : 0};
        case Variant::Type::Text: {
            const std::string folded = foldName(value.text());
            if (folded == "true") return std::int64_t{1};
            if (folded == "false") return std::int64_t{0};
            break;
        }
        default:
            break;
    }
    refuse(field, value, "kein Wahrheitswert.");
}

}  // namespace

namespace {

// What a lead byte of a well-formed UTF-8 sequence allows, after the Unicode standard's table of
// well-formed byte sequences: the sequence's length and the range of its second byte. Every
// further byte lies in 80..BF. The narrow second-byte ranges rule out overlong forms (after E0,
// F0), surrogates (after ED) and code points above U+10FFFF (after F4).
struct LeadByte {
    std::size_t length = 0;  // 0: the byte never starts a sequence (80..C1, F5..FF)
    unsigned char secondLow = 0;
    unsigned char secondHigh = 0;
};

constexpr LeadByte leadByte(unsigned byte) {
    if (byte >= 0xC2 && byte <= 0xDF) return {2, 0x80, 0xBF};
    if (byte == 0xE0) return {3, 0xA0, 0xBF};
    if (byte == 0xED) return {3, 0x80, 0x9F};
    if (byte >= 0xE1 && byte <= 0xEF) return {3, 0x80, 0xBF};
    if (byte == 0xF0) return {4, 0x90, 0xBF};
    if (byte >= 0xF1 && byte <= 0xF3) return {4, 0x80, 0xBF};
    if (byte == 0xF4) return {4, 0x80, 0x8F};
    return {};
}

constexpr std::array<LeadByte, 256> kLeadBytes = [] {
    std::array<LeadByte, 256> table{};
    for (unsigned byte = 0; byte < 256; ++byte) table[byte] = leadByte(byte);
    return table;
}();

constexpr bool within(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// The length of the well-formed multi-byte sequence at the start of bytes[0, size), or 0.
std::size_t sequenceLength(const unsigned char* bytes, std::size_t size) {
    const LeadByte lead = kLeadBytes[bytes[0]];
    if (lead.length == 0 || size < lead.length) return 0;
    if (!within(bytes[1], lead.secondLow, lead.secondHigh)) return 0;
    for (std::size_t i = 2; i < lead.length; ++i) {
        if (!within(bytes[i], 0x80, 0xBF)) return 0;
    }
    return lead.length;
}

// The number of leading bytes of bytes[0, size) below 0x80, counted eight at a time while it
// can, up to the first byte of a multi-byte sequence.
std::size_t asciiPrefix(const unsigned char* bytes, std::size_t size) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    std::size_t i = 0;
    for (std::uint64_t word = 0; i + sizeof word <= size; i += sizeof word) {
        std::memcpy(&word, bytes + i, sizeof word);
        if (word & kHighBits) break;
    }
    while (i < size && bytes[i] < 0x80) ++i;
    return i;
}

}  // namespace

std::int64_t codePointCount(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t size = text.size();
    std::int64_t count = 0;
    std::size_t i = 0;
    while (i < size) {
        const std::size_t ascii = asciiPrefix(bytes + i, size - i);
        i += ascii;
        count += static_cast<std::int64_t>(ascii);
        if (i == size) break;
        const std::size_t length = sequenceLength(bytes + i, size - i);
        if (length == 0) return -1;
        i += length;
        ++count;
    }
    return count;
}

StoredValue toStored(const FieldDef& field, const Variant& value) {
    if (value.isEmpty() || value.isMissing()) return std::monostate{};
    switch (field.type) {
        case FieldType::Text:
            return toText(field, value);
        case FieldType::Int16:
        case FieldType::Int32:
            return toInteger(field, value);
        case FieldType::Bool:
            return toBool(field, value);
    }
    refuse(field, value, "unbekannter Feldtyp.");
}

void storeInto(StoredValue& slot, const FieldDef& field, const Variant& value) {
    auto* buffer = std::get_if<std::string>(&slot);
    if (!buffer || field.type != FieldType::Text || value.type() != Variant::Type::Text) {
        slot = toStored(field, value);
        return;
    }
    checkText(field, value, value.text());
    buffer->assign(value.text());
}

}  // namespace engine::sqlite
