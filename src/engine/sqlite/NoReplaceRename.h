#pragma once

#include <filesystem>
#include <system_error>

namespace engine::sqlite {

// Makes the finished file at from reachable under the name to, in one step, and never replaces
// what already has that name: then the result is std::errc::file_exists. Other failures come as
// std::generic_category() codes. The name from may remain afterwards; removing it is the caller's.
std::error_code renameWithoutReplacing(const std::filesystem::path& from,
                                       const std::filesystem::path& to) noexcept;

}  // namespace engine::sqlite
