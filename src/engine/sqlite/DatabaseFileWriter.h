#pragma once

#include <string>

#include "engine/sqlite/CatalogModel.h"

namespace engine::sqlite {

// Writes a new database file holding data's catalog and empty tables. The file is built
// under a temporary name in the same folder and then linked to path without replacing
// anything, so path either does not appear or appears complete. Throws engine::Error:
// FileExists when something is at path, CannotCreate for every other failure (also a
// missing folder); the temporary file is removed in every case. With a model file the new
// file gets the model's permission bits before it appears at path; without one, the default.
void writeDatabaseFile(const std::string& path, const CatalogData& data,
                       const std::string& model = {});

}  // namespace engine::sqlite
