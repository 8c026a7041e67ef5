#pragma once

#include <string>

#include "engine/Variant.h"

namespace vdb {

// The CSV the dump writes and the import reads back unchanged: CR LF after every record,
// texts always in quotes (so "" is the empty text), an empty value as an unquoted empty cell,
// numbers in plain decimal, Booleans as true and false.
namespace csv_out {

inline constexpr const char* kLineEnd = "\r\n";

// Appends value as one cell. Throws CommandError for a value no field can hold (an object
// or an array).
void appendCell(std::string& line, const engine::Variant& value);

// Appends a header cell: the name, quoted only when it holds a comma, quote, CR or LF.
void appendName(std::string& line, const std::string& name);

}  // namespace csv_out

}  // namespace vdb
