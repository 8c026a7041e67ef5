#pragma once

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "copy/FileProbe.h"

namespace testsupport {

// The existence test on the real file system (a regular file counts, a folder does not),
// recording each path asked about; it can be told to answer or to fail instead.
class FakeFileProbe : public dbcopy::FileProbe {
public:
    bool fileExists(const std::string& path) override {
        asked.push_back(path);
        if (throws) throw std::runtime_error("file system unavailable");
        if (answer) return *answer;
        std::error_code ignored;
        return std::filesystem::is_regular_file(path, ignored);
    }

    bool throws = false;
    std::optional<bool> answer;  // when set, given instead of looking at the disk
    std::vector<std::string> asked;
};

}  // namespace testsupport
