#pragma once

#include <string>

#include "engine/sqlite/SqliteEngine.h"

namespace vdb {

// The schema file of `vdb create`, JSON:
//   {"users":  [{"name": "ADMIN", "password": "geheim"}],
//    "tables": [{"name": "Kunden", "displayName": "Kunden",
//                "fields":  [{"name": "ID", "type": "int32"},
//                            {"name": "Name", "type": "text", "size": 50}],
//                "indexes": [{"name": "ID", "displayName": "ID", "fields": ["ID"],
//                             "unique": true}]}]}
// Field types are text, int16, int32 and bool; displayName defaults to the name, size (text
// only) to 255, unique to false, indexes to none. Unknown keys are refused so that a misspelt
// key does not pass unnoticed.

// Parses schema text. Throws CommandError naming the place and the fault, e.g.
// "tables[0].fields[2].type: unbekannter Feldtyp „int64“ …".
engine::sqlite::Schema parseSchema(const std::string& json);

// Reads and parses a schema file. Throws CommandError also when the file cannot be read.
engine::sqlite::Schema readSchemaFile(const std::string& file);

// The name of a field type as the schema file spells it: text, int16, int32, bool.
std::string typeName(engine::sqlite::FieldType type);

}  // namespace vdb
