#pragma once

#include <string>

#include "engine/Variant.h"

namespace dbcopy {

// The longest value, in characters, that a comparison's message shows; longer ones are cut.
constexpr std::size_t kShownValueLength = 60;

// A field value as a comparison's message shows it: text in „“ (without them when quoteText is
// false), cut to kShownValueLength characters with "…" as the last one; numbers in decimal,
// Booleans as true/false, no value as "(leer)".
std::string shownValue(const engine::Variant& value, bool quoteText = true);

}  // namespace dbcopy
