#include "verify/ShownValue.h"

#include "engine/Error.h"

namespace dbcopy {

namespace {

bool startsCharacter(char byte) {
    return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

std::string shortened(const std::string& text) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!startsCharacter(text[i])) continue;
        if (++characters == kShownValueLength) {
            std::size_t end = i + 1;
            while (end < text.size() && !startsCharacter(text[end])) ++end;
            if (end == text.size()) return text;
            return text.substr(0, i) + "…";
        }
    }
    return text;
}

}  // namespace

std::string shownValue(const engine::Variant& value, bool quoteText) {
    switch (value.type()) {
        case engine::Variant::Type::Text:
            return quoteText ? engine::quoted(shortened(value.text())) : shortened(value.text());
        case engine::Variant::Type::Int16:
            return std::to_string(value.int16());
        case engine::Variant::Type::Int32:
            return std::to_string(value.int32());
        case engine::Variant::Type::Boolean:
            return value.boolean() ? "true" : "false";
        case engine::Variant::Type::Empty:
        case engine::Variant::Type::Missing:
            return "(leer)";
        default:
            return "(Objekt)";
    }
}

}  // namespace dbcopy
