#include "engine/sqlite/ValueProbe.h"

#include <cstdint>
#include <cstring>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Utf8Text.h"

namespace engine::sqlite {

namespace {

bool isIntegerSyntax(const std::string& text) {
    const std::size_t start = (!text.empty() && text[0] == '-') ? 1 : 0;
    if (start == text.size()) return false;
    for (std::size_t i = start; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
    }
    return true;
}

// The text a text field would be given for value, or nothing for a kind it does not take.
bool textForm(const Variant& value, std::string& text) {
    switch (value.type()) {
        case Variant::Type::Text:
            text = value.text();
            return true;
        case Variant::Type::Int16:
            text = std::to_string(value.int16());
            return true;
        case Variant::Type::Int32:
            text = std::to_string(value.int32());
            return true;
        case Variant::Type::Boolean:
            text = value.boolean() ? "true" : "false";
            return true;
        default:
            return false;
    }
}

}  // namespace

ValueProbe::ValueProbe(const FieldSpec& field) : m_def{field.name, field.type, field.size, 0} {}

Refusal ValueProbe::tryValue(const Variant& value) {
    try {
        storeInto(m_slot, m_def, value);
        return Refusal::None;
    } catch (const Error& error) {
        if (error.code() != codes::ValueRefused) throw;
    }
    m_slot = std::monostate{};
    return reasonFor(value);
}

// Only called for a value the conversion has refused: names the rule it broke.
Refusal ValueProbe::reasonFor(const Variant& value) const {
    switch (m_def.type) {
        case FieldType::Text: {
            std::string text;
            if (!textForm(value, text)) return Refusal::WrongType;
            return codePointCount(text) < 0 ? Refusal::InvalidText : Refusal::TooLong;
        }
        case FieldType::Int16:
        case FieldType::Int32:
            switch (value.type()) {
                case Variant::Type::Int16:
                case Variant::Type::Int32:
                case Variant::Type::Boolean:
                    return Refusal::OutOfRange;
                case Variant::Type::Text:
                    return isIntegerSyntax(value.text()) ? Refusal::OutOfRange : Refusal::WrongType;
                default:
                    return Refusal::WrongType;
            }
        case FieldType::Bool:
            break;
    }
    return Refusal::WrongType;
}

bool ValueProbe::holdsStored(const Variant& value) const {
    const auto* number = std::get_if<std::int64_t>(&m_slot);
    switch (value.type()) {
        case Variant::Type::Empty:
            return std::holds_alternative<std::monostate>(m_slot);
        case Variant::Type::Text: {
            const auto* text = std::get_if<std::string>(&m_slot);
            return text && *text == value.text();
        }
        case Variant::Type::Int16:
            return number && *number == value.int16();
        case Variant::Type::Int32:
            return number && *number == value.int32();
        case Variant::Type::Boolean:
            return number && *number == (value.boolean() ? 1 : 0);
        default:
            return false;
    }
}

bool ValueProbe::appendStoredKey(std::string& key) const {
    if (const auto* number = std::get_if<std::int64_t>(&m_slot)) {
        char bytes[sizeof *number];
        std::memcpy(bytes, number, sizeof bytes);
        key.append(bytes, sizeof bytes);
        return true;
    }
    if (const auto* text = std::get_if<std::string>(&m_slot)) {
        // The length first, so that no two different sequences of texts give one key.
        const auto length = static_cast<std::uint64_t>(text->size());
        char bytes[sizeof length];
        std::memcpy(bytes, &length, sizeof bytes);
        key.append(bytes, sizeof bytes);
        key.append(*text);
        return true;
    }
    return false;
}

}  // namespace engine::sqlite
