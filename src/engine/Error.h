#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>

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

}  // namespace engine
