#pragma once

#include <filesystem>

namespace engine::sqlite {

// Gives file the permission bits of model, so that a file made from another is no easier to
// read than its original; its owner may always read and write it. Throws engine::Error CannotCreate
// when they cannot be read or set.
void copyPermissions(const std::filesystem::path& model, const std::filesystem::path& file);

}  // namespace engine::sqlite
