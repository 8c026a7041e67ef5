#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <variant>

#include "engine/Variant.h"
#include "engine/sqlite/CatalogModel.h"

namespace engine::sqlite {

// A value as it is stored in a data column: NULL, an integer (also bools as 0/1) or text.
using StoredValue = std::variant<std::monostate, std::int64_t, std::string>;

// A stored value whose text lies elsewhere, for binding to a statement.
using StoredView = std::variant<std::monostate, std::int64_t, std::string_view>;
StoredView viewOf(const StoredValue& value) noexcept;

// Converts value to what field stores. Empty and Missing give NULL. Throws engine::Error
// (ValueRefused, naming field and value) for a value that does not fit:
//  text:        Text up to size code points, Int16/Int32 as decimal, Boolean as "true"/"false";
//  int16/int32: Int16, Int32, Boolean (1/0), Text of an optional '-' and digits; in range;
//  bool:        Boolean, integers (0 false, else true), Text "true"/"false" in any case.
// Objects and arrays are refused for every field.
StoredValue toStored(const FieldDef& field, const Variant& value);

// As toStored, but into slot, reusing the text buffer the slot already holds; on a refusal the
// slot keeps its old value.
void storeInto(StoredValue& slot, const FieldDef& field, const Variant& value);

// As toStored, but as a view: a text the field takes as it is stays where value holds it, any
// other stored value is converted into scratch. Valid while both are unchanged.
StoredView storedView(const FieldDef& field, const Variant& value, StoredValue& scratch);

}  // namespace engine::sqlite
