#pragma once

#include <cstdint>
#include <string>

#include "engine/Error.h"

namespace vdb {

// "Fehler 0x80041040: " + the engine's description.
std::string errorText(const engine::Error& error);

}  // namespace vdb
