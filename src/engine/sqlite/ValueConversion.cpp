#include "engine/sqlite/ValueConversion.h"

#include <array>

#include <charconv>
#include <limits>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/NameFold.h"

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

// UTF-8 checked by a small automaton. Each state is stored as a bit offset (6 bits a state),
// and each byte's row holds, at every state's offset, the offset of the state that follows, so
// a step costs one shift that does not wait on a table lookup of the state. Lead bytes C0, C1
// and F5 to FF are never valid.
enum Utf8State : std::uint8_t { Start, Need1, Need2, Need3, Broken };

constexpr Utf8State nextState(Utf8State state, unsigned byte) {
    const bool continuation = byte >= 0x80 && byte < 0xC0;
    if (state == Broken) return Broken;
    if (state != Start) return continuation ? static_cast<Utf8State>(state - 1) : Broken;
    if (byte < 0x80) return Start;
    if (continuation || byte < 0xC2 || byte >= 0xF5) return Broken;
    return byte < 0xE0 ? Need1 : byte < 0xF0 ? Need2 : Need3;
}

constexpr std::array<std::uint64_t, 256> kTransitions = [] {
    std::array<std::uint64_t, 256> rows{};
    for (unsigned byte = 0; byte < 256; ++byte) {
        for (int state = Start; state <= Broken; ++state) {
            const auto next = nextState(static_cast<Utf8State>(state), byte);
            rows[byte] |= std::uint64_t{6u * next} << (6 * state);
        }
    }
    return rows;
}();

}  // namespace

std::int64_t codePointCount(std::string_view text) {
    std::uint64_t offset = 6 * Start;
    std::int64_t count = 0;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        offset = (kTransitions[byte] >> offset) & 63;
        count += (byte & 0xC0) != 0x80;  // every byte but a continuation starts a character
    }
    return offset == 6 * Start ? count : -1;
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
