#include "vdb/ErrorText.h"

#include <cstdio>

namespace vdb {

std::string hexCode(std::int32_t code) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "0x%08X", static_cast<std::uint32_t>(code));
    return digits;
}

std::string errorText(const engine::Error& error) {
    return "Fehler " + hexCode(error.code()) + ": " + error.description();
}

std::string quoteName(const std::string& name) {
    return "\u201E" + name + "\u201C";
}

}  // namespace vdb
