#pragma once

#include <cstdint>
#include <string_view>

namespace engine::sqlite {

// The number of Unicode code points in valid UTF-8 text; -1 when text is not valid UTF-8.
std::int64_t codePointCount(std::string_view text);

}  // namespace engine::sqlite
