#pragma once

#include <string>

// The user every seed file and every regression file is opened as.
namespace vdbfuzz {

inline const std::string kUser = "ADMIN";
inline const std::string kPassword = "fuzz";

}  // namespace vdbfuzz
