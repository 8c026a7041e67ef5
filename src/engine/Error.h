#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace engine {

// An engine failure: a signed 32-bit code and a German description for the log.
class Error : public std::runtime_error {
public:
    Error(std::int32_t code, std::string description);

    std::int32_t code() const noexcept { return m_code; }
    const std::string& description() const noexcept { return m_description; }

private:
    std::int32_t m_code;
    std::string m_description;
};

// "0x" + code as eight upper-case hexadecimal digits, e.g. "0x80041040": how every message
// shows an engine error code.
std::string hexCode(std::int32_t code);

// "Fehler " + hexCode(code): how a message names an error code.
std::string errorLabel(std::int32_t code);

// errorLabel(code) + ": " + description: an error in one line.
std::string errorText(std::int32_t code, std::string_view description);
std::string errorText(const Error& error);

// A name as messages spell it: „name“.
std::string quoted(std::string_view name);

}  // namespace engine
