#include "engine/sqlite/FileInUse.h"

#include <windows.h>

#include "engine/Utf8Path.h"

namespace engine::sqlite {

// Every connection keeps a handle on the database file for as long as it is open, and the system
// closes the handles of a process that ends. An open that shares nothing fails while any handle
// is left, this process's own included, and is closed again at once.
bool isOpenByLiveProcess(const std::string& path) noexcept {
    try {
        const HANDLE file = ::CreateFileW(pathFromUtf8(path).c_str(), GENERIC_READ, 0, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            ::CloseHandle(file);
            return false;
        }
        return ::GetLastError() == ERROR_SHARING_VIOLATION;
    } catch (...) {
        return false;
    }
}

}  // namespace engine::sqlite
