#pragma once

#include <string>

namespace engine::sqlite {

// Tells whether a live process holds a lock on the database file at path or on the shared
// memory file beside it. Every connection to a file in write-ahead mode keeps such a lock for as
// long as it is open, and the system drops it when the process ends; so a file in write-ahead
// mode without one was left by a process that died. Returns false when the system's lock table
// cannot be read. Never throws.
bool isOpenByLiveProcess(const std::string& path) noexcept;

}  // namespace engine::sqlite
