#pragma once

#include "engine/sqlite/CatalogModel.h"
#include "engine/sqlite/SqliteEngine.h"

namespace engine::sqlite {

// Checks schema and turns it into a catalog with fresh ids and hashed passwords.
// Throws engine::Error InvalidArgument, naming the problem, for: no user, no table
// fields, an empty name, names that repeat (case-insensitively) among users, tables,
// a table's fields or a table's indexes, a text size outside 1..65535, an index without
// fields or with a field its table lacks.
CatalogData catalogFromSchema(const Schema& schema);

}  // namespace engine::sqlite
