#pragma once

#include "copy/FileProbe.h"

namespace dbcopy {

// The file-existence test of the import run, through the platform's file information.
class QtFileProbe : public FileProbe {
public:
    // True only for an existing file (a link to one counts); false for a folder, an empty path, a
    // missing file and any failure of the lookup. Never throws.
    bool fileExists(const std::string& path) override;
};

}  // namespace dbcopy
