#include "engine/Error.h"

#include <cstdio>
#include <utility>

namespace engine {

Error::Error(std::int32_t code, std::string description)
    : std::runtime_error(description), m_code(code), m_description(std::move(description)) {}

std::string hexCode(std::int32_t code) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "0x%08X", static_cast<std::uint32_t>(code));
    return digits;
}

std::string errorLabel(std::int32_t code) {
    return "Fehler " + hexCode(code);
}

std::string errorText(std::int32_t code, std::string_view description) {
    return errorLabel(code) + ": " + std::string(description);
}

std::string errorText(const Error& error) {
    return errorText(error.code(), error.description());
}

std::string quoted(std::string_view name) {
    return "„" + std::string(name) + "“";
}

}  // namespace engine
