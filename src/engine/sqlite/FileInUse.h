#pragma once

#include <string>

namespace engine::sqlite {

// Tells whether a live process holds the database file at path open. Every connection to a file
// in write-ahead mode keeps a hold on it for as long as it is open (on Linux a lock on the file
// or on the shared memory file beside it, on Windows a handle on the file), and the system drops
// it when the process ends; so a file in write-ahead mode without one was left by a process that
// died. Returns false when the system cannot tell. Never throws.
bool isOpenByLiveProcess(const std::string& path) noexcept;

}  // namespace engine::sqlite
