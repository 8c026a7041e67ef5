#pragma once

#include <string>
#include <string_view>

namespace engine::sqlite {

// The case-insensitive form of a UTF-8 name: ASCII letters and the upper-case letters of
// Latin-1 (À..Þ, among them Ä Ö Ü) become lower case; everything else stays as it is.
// Two names match case-insensitively when their folded forms are equal.
std::string foldName(std::string_view name);

}  // namespace engine::sqlite
