#pragma once

#include <string>

namespace dbcopy {

// True when both paths name one existing file (relative paths, links and hard links resolved).
// A path that names nothing, or that cannot be examined, is never the same file. Never throws.
bool isSameFile(const std::string& first, const std::string& second) noexcept;

}  // namespace dbcopy
