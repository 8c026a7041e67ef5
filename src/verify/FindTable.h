#pragma once

#include <memory>
#include <string>

#include "engine/Table.h"
#include "engine/Tables.h"

namespace dbcopy {

// The table of that name, or null when the collection has none; throws any other engine error.
std::shared_ptr<engine::Table> findTable(engine::Tables& tables, const std::string& name);

}  // namespace dbcopy
