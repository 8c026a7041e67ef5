#pragma once

#include <string>

namespace vdb {

// Who besides its owner may read a file, as the system's permissions say: on POSIX the group
// and other permission bits, on Windows the file's access list (the owner, the user running the
// program, the system account and the administrators do not count as others).
enum class FileAccess {
    Unknown,       // the file is missing or its permissions cannot be read
    OwnerOnly,     // nobody else may read it
    OpenToOthers,  // another user may read it
};

FileAccess fileAccessOf(const std::string& path);

// How the owner makes a file private on this system, for the refusal message.
extern const char* const kOwnerOnlyHint;

}  // namespace vdb
