#include "vdb/CreateCommand.h"

#include "engine/Error.h"
#include "engine/sqlite/SqliteEngine.h"
#include "vdb/SchemaFile.h"

namespace vdb {

void createCommand(const std::string& file, const std::string& schemaFile, std::ostream& out) {
    const engine::sqlite::Schema schema = readSchemaFile(schemaFile);
    engine::sqlite::createDatabase(file, schema);
    out << "Datenbank " << engine::quoted(file) << " angelegt: " << schema.tables.size()
        << " Tabelle(n), " << schema.users.size() << " Benutzer.\n";
}

}  // namespace vdb
