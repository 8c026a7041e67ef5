#include "engine/sqlite/NoReplaceRename.h"

#include <unistd.h>

#include <cerrno>

namespace engine::sqlite {

// A hard link fails when the name exists, where rename() would replace it.
std::error_code renameWithoutReplacing(const std::filesystem::path& from,
                                       const std::filesystem::path& to) noexcept {
    if (::link(from.c_str(), to.c_str()) == 0) return {};
    return {errno, std::generic_category()};
}

}  // namespace engine::sqlite
