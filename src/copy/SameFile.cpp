#include "copy/SameFile.h"

#include <filesystem>
#include <system_error>

namespace dbcopy {

bool isSameFile(const std::string& first, const std::string& second) noexcept {
    try {
        std::error_code error;
        return std::filesystem::equivalent(first, second, error) && !error;
    } catch (...) {
        return false;  // a path that cannot even be built names no file
    }
}

}  // namespace dbcopy
