#pragma once

#include <string>

namespace dbcopy {

// Tells whether a file exists at a path; a folder or an empty path is no file.
class FileProbe {
public:
    virtual ~FileProbe() = default;
    virtual bool fileExists(const std::string& path) = 0;  // never throws
};

}  // namespace dbcopy
