#include "vdb/PrivateFile.h"

#include <sys/stat.h>

namespace vdb {

const char* const kOwnerOnlyHint = "chmod 600";

FileAccess fileAccessOf(const std::string& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return FileAccess::Unknown;
    return (status.st_mode & (S_IRWXG | S_IRWXO)) != 0 ? FileAccess::OpenToOthers
                                                       : FileAccess::OwnerOnly;
}

}  // namespace vdb
