#include "engine/sqlite/NoReplaceRename.h"

#include <windows.h>

namespace engine::sqlite {

namespace {

// The system's own message texts come in the user's code page; the generic ones are kept instead.
std::errc genericError(DWORD error) {
    switch (error) {
        case ERROR_ALREADY_EXISTS:
        case ERROR_FILE_EXISTS:
            return std::errc::file_exists;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return std::errc::permission_denied;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return std::errc::no_space_on_device;
        case ERROR_PATH_NOT_FOUND:
        case ERROR_FILE_NOT_FOUND:
            return std::errc::no_such_file_or_directory;
        case ERROR_NOT_SAME_DEVICE:
            return std::errc::cross_device_link;
        default:
            return std::errc::io_error;
    }
}

}  // namespace

// Without MOVEFILE_REPLACE_EXISTING the move fails when the name exists.
std::error_code renameWithoutReplacing(const std::filesystem::path& from,
                                       const std::filesystem::path& to) noexcept {
    if (::MoveFileExW(from.c_str(), to.c_str(), MOVEFILE_WRITE_THROUGH)) return {};
    return std::make_error_code(genericError(::GetLastError()));
}

}  // namespace engine::sqlite
