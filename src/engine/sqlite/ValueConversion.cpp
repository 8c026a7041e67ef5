#include "engine/sqlite/ValueConversion.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"
#include "engine/sqlite/NameFold.h"
#include "engine/sqlite/Utf8Text.h"

#include <charconv>
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

StoredView storedView(const FieldDef& field, const Variant& value, StoredValue& scratch) {
    if (field.type != FieldType::Text || value.type() != Variant::Type::Text) {
        scratch = toStored(field, value);
        return viewOf(scratch);
    }
    checkText(field, value, value.text());
    return std::string_view(value.text());
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
