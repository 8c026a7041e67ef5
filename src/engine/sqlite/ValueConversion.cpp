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
    throw Error(codes::ValueRefused, messages::valueRefused(describe(value), field.name, why));
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

// Well-formed UTF-8 after the Unicode standard's table of well-formed byte sequences, read as
// a state machine with one step per byte. The states after a lead byte say how many bytes of
// the sequence are still to come and which range the next one must lie in; the narrow ranges
// after E0, ED, F0 and F4 rule out overlong forms, surrogates and code points above U+10FFFF.
// Stepping through a table keeps the loop free of branches that text with scattered umlauts
// would make the processor guess wrong.
enum Utf8State : std::uint8_t {
    Complete,   // between sequences
    Invalid,    // no well-formed text can follow
    Last1,      // one more byte, 80..BF
    Last2,      // two more bytes, the next 80..BF
    Last3,      // three more bytes, the next 80..BF
    AfterE0,    // two more, the next A0..BF
    AfterED,    // two more, the next 80..9F
    AfterF0,    // three more, the next 90..BF
    AfterF4,    // three more, the next 80..8F
    kUtf8States
};

constexpr bool within(unsigned byte, unsigned low, unsigned high) {
    return byte >= low && byte <= high;
}

constexpr Utf8State afterLeadByte(unsigned byte) {
    if (byte < 0x80) return Complete;
    if (within(byte, 0xC2, 0xDF)) return Last1;
    if (byte == 0xE0) return AfterE0;
    if (byte == 0xED) return AfterED;
    if (within(byte, 0xE1, 0xEF)) return Last2;
    if (byte == 0xF0) return AfterF0;
    if (within(byte, 0xF1, 0xF3)) return Last3;
    if (byte == 0xF4) return AfterF4;
    return Invalid;  // 80..C1 never start a sequence, F5..FF never occur
}

constexpr Utf8State nextState(Utf8State state, unsigned byte) {
    switch (state) {
        case Complete:
            return afterLeadByte(byte);
        case Last1:
            return within(byte, 0x80, 0xBF) ? Complete : Invalid;
        case Last2:
            return within(byte, 0x80, 0xBF) ? Last1 : Invalid;
        case Last3:
            return within(byte, 0x80, 0xBF) ? Last2 : Invalid;
        case AfterE0:
            return within(byte, 0xA0, 0xBF) ? Last1 : Invalid;
        case AfterED:
            return within(byte, 0x80, 0x9F) ? Last1 : Invalid;
        case AfterF0:
            return within(byte, 0x90, 0xBF) ? Last2 : Invalid;
        case AfterF4:
            return within(byte, 0x80, 0x8F) ? Last2 : Invalid;
        default:
            return Invalid;
    }
}

// The table is indexed by the byte alone: each entry holds the next state for every state, six
// bits apiece, and a state is kept as the shift that picks its own six bits. A step is then a
// load that does not wait for the state before it and one shift, instead of a load whose
// address depends on the previous step.
constexpr unsigned kStateBits = 6;
static_assert(kUtf8States * kStateBits <= 64);

constexpr std::uint64_t shiftOf(Utf8State state) {
    return static_cast<std::uint64_t>(state) * kStateBits;
}

using Utf8Table = std::array<std::uint64_t, 256>;

constexpr Utf8Table kUtf8Next = [] {
    Utf8Table table{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        for (unsigned state = 0; state < kUtf8States; ++state) {
            const Utf8State next = nextState(static_cast<Utf8State>(state), byte);
            table[byte] |= shiftOf(next) << shiftOf(static_cast<Utf8State>(state));
        }
    }
    return table;
}();

// The number of leading bytes of bytes[0, size) below 0x80, counted eight at a time.
std::size_t asciiPrefix(const unsigned char* bytes, std::size_t size) {
    constexpr std::uint64_t kHighBits = 0x8080808080808080;
    std::size_t i = 0;
    for (std::uint64_t word = 0; i + sizeof word <= size; i += sizeof word) {
        std::memcpy(&word, bytes + i, sizeof word);
        if (word & kHighBits) break;
    }
    return i;
}

}  // namespace

std::int64_t codePointCount(std::string_view text) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text.data());
    const std::size_t ascii = asciiPrefix(bytes, text.size());
    auto count = static_cast<std::int64_t>(ascii);
    constexpr std::uint64_t kStateMask = (std::uint64_t{1} << kStateBits) - 1;
    std::uint64_t state = shiftOf(Complete);
    for (std::size_t i = ascii; i < text.size(); ++i) {
        state = (kUtf8Next[bytes[i]] >> state) & kStateMask;
        count += state == shiftOf(Complete);
    }
    return state == shiftOf(Complete) ? count : -1;
}

StoredView viewOf(const StoredValue& value) noexcept {
    if (const auto* number = std::get_if<std::int64_t>(&value)) return *number;
    if (const auto* text = std::get_if<std::string>(&value)) return std::string_view(*text);
    return std::monostate{};
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
