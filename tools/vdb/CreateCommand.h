#pragma once

#include <ostream>
#include <string>

namespace vdb {

// `vdb create FILE --schema SCHEMA.json`: writes a new, empty database with the tables,
// indexes and users of the schema file and reports it on out. Throws CommandError for an
// unreadable or malformed schema file, engine::Error for an existing file (FileExists) or a
// schema the engine refuses.
void createCommand(const std::string& file, const std::string& schemaFile, std::ostream& out);

}  // namespace vdb
