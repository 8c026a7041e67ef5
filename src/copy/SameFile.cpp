#include "copy/SameFile.h"

#include <filesystem>
#include <system_error>

#include "engine/Utf8Path.h"

namespace dbcopy {

bool isSameFile(const std::string& first, const std::string& second) noexcept {
    try {
        std::error_code error;
        return std::filesystem::equivalent(engine::pathFromUtf8(first),
                                           engine::pathFromUtf8(second), error) &&
               !error;
    } catch (...) {
        return false;  // a path that cannot even be built names no file
    }
}

}  // namespace dbcopy
