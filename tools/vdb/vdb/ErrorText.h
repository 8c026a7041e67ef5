#pragma once

#include <cstdint>
#include <string>

#include "engine/Error.h"

namespace vdb {

// "0x" + the code as eight upper-case hexadecimal digits, e.g. "0x80041040".
std::string hexCode(std::int32_t code);

// "Fehler 0x80041040: " + the engine's description.
std::string errorText(const engine::Error& error);

// The user's spelling of a name in messages: „name“.
std::string quoteName(const std::string& name);

}  // namespace vdb
