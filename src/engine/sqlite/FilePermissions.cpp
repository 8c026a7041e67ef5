#include "engine/sqlite/FilePermissions.h"

#ifndef _WIN32
#include <sys/stat.h>

#include <cerrno>
#include <cstring>

#include "engine/Error.h"
#include "engine/ErrorCodes.h"
#include "engine/sqlite/Messages.h"
#endif

namespace engine::sqlite {

#ifdef _WIN32

// A new file inherits the access rules (ACL) of its folder; there are no bits to copy.
void copyPermissions(const std::filesystem::path&, const std::filesystem::path&) {}

#else

void copyPermissions(const std::filesystem::path& model, const std::filesystem::path& file) {
    struct stat status {};
    constexpr mode_t kPermissionBits = S_IRWXU | S_IRWXG | S_IRWXO;
    // The owner keeps reading and writing the new file, which a copy into it needs.
    constexpr mode_t kOwnerBits = S_IRUSR | S_IWUSR;
    if (::stat(model.c_str(), &status) != 0 ||
        ::chmod(file.c_str(), (status.st_mode & kPermissionBits) | kOwnerBits) != 0) {
        throw Error(codes::CannotCreate,
                    messages::cannotCreate(file.string(), std::strerror(errno)));
    }
}

#endif

}  // namespace engine::sqlite
