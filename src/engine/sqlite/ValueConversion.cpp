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

// UTF-8 checked by a small automaton, without a branch per byte: every byte falls into a class,
// and the class moves the state. Lead bytes C0, C1 and F5 to FF are never valid.
enum ByteClass : std::uint8_t { Ascii, Continuation, Invalid, Lead2, Lead3, Lead4 };
enum Utf8State : std::uint8_t { Start, Need1, Need2, Need3, Broken };

constexpr std::array<std::uint8_t, 256> kByteClasses = [] {
    std::array<std::uint8_t, 256> classes{};
    for (int byte = 0; byte < 256; ++byte) {
        classes[byte] = byte < 0x80   ? Ascii
                        : byte < 0xC0 ? Continuation
                        : byte < 0xC2 ? Invalid
                        : byte < 0xE0 ? Lead2
                        : byte < 0xF0 ? Lead3
                        : byte < 0xF5 ? Lead4
                                      : Invalid;
    }
    return classes;
}();

// kNextState[state][class]
constexpr std::uint8_t kNextState[5][6] = {
    {Start, Broken, Broken, Need1, Need2, Need3},     // Start
    {Broken, Start, Broken, Broken, Broken, Broken},  // Need1
    {Broken, Need1, Broken, Broken, Broken, Broken},  // Need2
    {Broken, Need2, Broken, Broken, Broken, Broken},  // Need3
    {Broken, Broken, Broken, Broken, Broken, Broken},  // Broken
};

}  // namespace

std::int64_t codePointCount(std::string_view text) {
    std::uint8_t state = Start;
    std::int64_t count = 0;
    for (const char c : text) {
        const std::uint8_t byteClass = kByteClasses[static_cast<unsigned char>(c)];
        state = kNextState[state][byteClass];
        count += byteClass != Continuation;
    }
    return state == Start ? count : -1;
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
