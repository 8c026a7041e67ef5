#include "verify/FindTable.h"

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/Variant.h"

namespace dbcopy {

std::shared_ptr<engine::Table> findTable(engine::Tables& tables, const std::string& name) {
    try {
        return tables.Item(engine::Variant(name));
    } catch (const engine::Error& error) {
        if (error.code() != engine::codes::NoSuchTable) throw;
        return nullptr;
    }
}

}  // namespace dbcopy
